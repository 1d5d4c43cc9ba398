#include "cli/recording_pane.h"
#include "report/agenda.h"
#include "report/main_state.h"
#include "support/temp_home.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <vector>

namespace tira {
namespace {

using test::TempHome;

struct Shown
{
    std::string text;
    WinColour colour;
    friend bool operator==(const Shown&, const Shown&) = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& shown)
{
    return out << shown.text << " [" << shown.colour << "]";
}

// The lines of the report of `date` that fall on that day: the header's holiday lines and
// the section lines but headings, blank lines, announcements ahead and counts.
std::vector<Shown> onTheDayLines(const std::string& home, const Settings& settings, Date date)
{
    static const std::regex kAheadOrCount(".*(あと [0-9]+ 日です。|から [0-9]+ 日経過しました。)");
    RecordingPane pane;
    const FixedClock clock({date.year, date.month, date.day, 9, 0});
    MainState state(home, pane, pane, clock);
    state.settings = settings;
    state.Tirawa(1);
    std::vector<Shown> out;
    for (std::size_t i = 1; i < pane.lines.size(); ++i) {
        const auto& line = pane.lines[i];
        if (line.text.empty() || line.text.starts_with("ただいまの時刻は") ||
            line.text.starts_with("-=-=-=- ") || std::regex_match(line.text, kAheadOrCount))
            continue;
        out.push_back({line.text, line.colour});
    }
    return out;
}

// Over every day of the range, the agenda lists exactly the on-the-day lines of that day's
// report, in its order and colours.
void expectAgendaMatchesReports(const std::string& home, Date first, int days)
{
    const Settings settings = loadSettings(home + "/TIRA.ini", home);
    const auto agenda = buildAgenda(home, settings, first, days);
    auto entry = agenda.begin();
    Date date = first;
    std::size_t total = 0;
    for (int i = 0; i < days; ++i, date = nextDay(date)) {
        std::vector<Shown> listed;
        for (; entry != agenda.end() && entry->date == date; ++entry)
            listed.push_back({entry->text, entry->colour});
        const auto expected = onTheDayLines(home, settings, date);
        ASSERT_EQ(listed, expected) << date.year << "-" << date.month << "-" << date.day;
        total += listed.size();
    }
    EXPECT_EQ(entry, agenda.end());
    EXPECT_GE(total, std::size_t(days) / 2); // the homes fill most days
}

TEST(Agenda, EveryDayMatchesTheReportOverTheSampleHome)
{
    expectAgendaMatchesReports(std::string(TIRA_SOURCE_DIR) + "/examples/home", {2025, 12, 1}, 430);
}

// Edges of every kind: the year end, substitute holidays, 29 February, weekly periods across
// the year end, stop entries, monthly files, comma lists, a file listed twice and the
// sections in another order.
TEST(Agenda, EveryDayMatchesTheReportOverAnEdgeHome)
{
    TempHome home;
    home.writeTable("TIRA.ini",
                    "[Common]\nHoliday=.\\HOLI.TBL\nJyun1=5\nJyun2=3\nJyun3=1\nJyun4=4\nJyun5=2\n"
                    "IncME=1\nYsenE=0\nIncMH=1\nEveMFile=.\\EV%m.TBL\nHisMFile=.\\HI%m.TBL\n"
                    "Yuusen=1\nKoumoku=1\nHistMeiTan=1\nAge=1\nComment=1\n"
                    "[Color]\nBaseF=1052688\nStopF=2105376\nZengoF=3158064\nBFC=4210752\n"
                    "[Birthday]\nCount=2\nFile0=.\\B.TBL\nFile1=.\\B.TBL\n"
                    "[Schedule]\nCount=1\nFile0=.\\S.TBL\n[Event]\nCount=1\nFile0=.\\E.TBL\n"
                    "[History]\nCount=1\nFile0=.\\H.TBL\n[Week]\nCount=1\nFile0=.\\W.TBL\n");
    home.writeTable("HOLI.TBL", "1,1,元日\n5,3,憲法記念日\n5,4,みどりの日\n12,31,大晦日\n"
                                "2,29,閏日\n11,3,文化の日\n3,1,三月\n");
    home.writeTable("B.TBL", "+5 2000/2/29 x 閏_年 S\n+14 1980/1/2 x 一月 友 STOP\n"
                             "1990/12/31 x 年末 x N red\n+3 1970/3/1 x 三月一日\n");
    home.writeTable("S.TBL", "+3 2026/12/31 *c 年越し S\n2026/2/29 無い日\n2027/1/1 元旦 B\n"
                             "2026/3/1 経過 A\n+9 2026/5/4 連休 STOP blue\n");
    home.writeTable("E.TBL", "+3 <<1 0 0 1 正月前\n>>31 0 0 12 年明け\n+2 -1 0 0 0 月末\n"
                             "0 2 0 0 月曜\n0 3 2 0 第2火\n10,20 0 0 0 十日二十日\n"
                             "29 0 0 2 二月二十九日\n<3 0 0 0 三日\n1-3 0 0 1 三が日\n"
                             "0 0 !1 0 年初\n0 5 !10 0 十週木\n13 6 0 0 金曜\n");
    home.writeTable("EV12.TBL", "+2 25 0 0 0 聖夜\n0 1 0 0 日曜\n");
    home.writeTable("EV01.TBL", "<<1 0 0 0 一月一日前\n");
    home.writeTable("H.TBL", "2000/2/29 E 閏日\n1900/1/1 B 1950/12/31 人\n"
                             "1800/12/31 D ? 誰か\n1700/3/1 X 不明\n");
    home.writeTable("HI12.TBL", "1941/12/8 E 十二月\n");
    home.writeTable("W.TBL", "12/25 1/7 年末年始\n2/28 3/1 閏の週\n5/1 5/5 連休 red\n"
                             "11/25 2/5 冬.\n");
    expectAgendaMatchesReports(home.path(), {2025, 12, 1}, 430);
    expectAgendaMatchesReports(home.path(), {2028, 2, 20}, 20);
}

} // namespace
} // namespace tira
