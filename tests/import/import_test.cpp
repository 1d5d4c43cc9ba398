// Imported lines placed in a home give the report lines of their source on each entry's day.
#include "cli/recording_pane.h"
#include "import/import.h"
#include "report/main_state.h"
#include "support/temp_home.h"
#include "tables/event_line.h"
#include "tables/jikukai.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <random>
#include <set>

#ifdef TIRA_HAVE_LIBICAL
#include <libical/ical.h>
#endif

namespace tira {
namespace {

const ImportOptions kOptions{{2026, 12, 1}, false};

std::string sample(const std::string& name)
{
    std::ifstream in(std::string(TIRA_SOURCE_DIR) + "/tests/import/data/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A home whose tables hold the imported lines, one table per kind, and a report of it.
class ImportedHome
{
  public:
    explicit ImportedHome(const Imported& imported) : state(home.path(), pane, pane, clock)
    {
        const std::pair<TableKind, Kind> kinds[] = {{TableKind::Birthdays, Kind::Birthday},
                                                    {TableKind::Schedules, Kind::Schedule},
                                                    {TableKind::Events, Kind::Event},
                                                    {TableKind::Weekly, Kind::Week}};
        state.settings.Holiday.clear();
        for (const auto& [from, to] : kinds) {
            std::string table;
            for (const ImportedLine& line : imported.lines)
                if (line.kind == from) table += line.line + "\r\n";
            const std::string name = std::to_string(static_cast<int>(to)) + ".TBL";
            home.writeBytes(name, table);
            state.settings.filesOf(to) = {home.file(name)};
        }
    }

    std::vector<std::string> report(Date date)
    {
        clock.set({date.year, date.month, date.day, 9, 5});
        state.Tirawa(1);
        std::vector<std::string> lines;
        for (std::size_t i = 2; i < pane.lines.size(); ++i) // after the date and time lines
            if (!pane.lines[i].text.empty() && !pane.lines[i].text.starts_with("-=-=-=-"))
                lines.push_back(pane.lines[i].text);
        return lines;
    }

    test::TempHome home;
    RecordingPane pane;
    FixedClock clock{ClockReading{}};
    MainState state;
};

Imported importOf(const std::string& bytes, const ImportOptions& options = kOptions)
{
    Imported imported;
    std::string problem;
    EXPECT_TRUE(importBytes(bytes, options, imported, problem)) << problem;
    return imported;
}

// Names with what a table line cannot carry as it is, and the name the report then shows:
// "#" and "_" in full width anywhere, "," in an event line; control characters dropped.
struct Name
{
    std::string written, shown, shownInEvent;
};
const Name kNames[] = {
    {"山田 太郎", "山田 太郎", "山田 太郎"},
    {"Two  blanks", "Two  blanks", "Two  blanks"},
    {"#1 fan", "＃1 fan", "＃1 fan"},
    {"Smith, John", "Smith, John", "Smith， John"},
    {"\"Quoted\" Name", "\"Quoted\" Name", "\"Quoted\" Name"},
    {"say \"hi\"", "say \"hi\"", "say \"hi\""},
    {"ＡＢＣ　全角", "ＡＢＣ　全角", "ＡＢＣ　全角"},
    {"😀 Emoji 🎂", "😀 Emoji 🎂", "😀 Emoji 🎂"},
    {"snake_case", "snake＿case", "snake＿case"},
    {"R&D *star* +1", "R&D *star* +1", "R&D *star* +1"},
    {"tab\there", "tabhere", "tabhere"},
};

std::string vcardText(std::string_view text)
{
    std::string out;
    for (const char c : text)
        out += c == ',' || c == ';' || c == '\\' ? std::string{'\\', c} : std::string(1, c);
    return out;
}

TEST(Import, NamesOfContactsReadBackInTheReport)
{
    for (const Name& name : kNames) {
        const std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + vcardText(name.written) +
                                 "\r\nBDAY:1990-05-12\r\nX-ANNIVERSARY:2015-06-20\r\n"
                                 "END:VCARD\r\n";
        ImportedHome home(importOf(card));
        EXPECT_EQ(
            home.report({2024, 5, 12}),
            std::vector<std::string>{"今日は " + name.shown + " さんの 34 回目の誕生日です。"})
            << name.written;
        EXPECT_EQ(home.report({2024, 6, 20}),
                  std::vector<std::string>{name.shownInEvent + " の記念日です。"})
            << name.written;
        EXPECT_TRUE(home.report({2024, 5, 13}).empty()) << name.written;
    }
}

#ifdef TIRA_HAVE_LIBICAL
TEST(Import, SummariesOfEventsReadBackInTheReport)
{
    for (const Name& name : kNames) {
        const std::string calendar =
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\n"
            "BEGIN:VEVENT\r\nUID:1\r\nDTSTART;VALUE=DATE:20270305\r\nSUMMARY:" +
            vcardText(name.written) +
            "\r\nEND:VEVENT\r\n"
            "BEGIN:VEVENT\r\nUID:2\r\nDTSTART;VALUE=DATE:20200810\r\n"
            "DTEND;VALUE=DATE:20200812\r\nRRULE:FREQ=YEARLY\r\nSUMMARY:" +
            vcardText(name.written) + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
        ImportedHome home(importOf(calendar));
        EXPECT_EQ(home.report({2027, 3, 5}), std::vector<std::string>{name.shown + " です。"})
            << name.written;
        EXPECT_EQ(home.report({2027, 8, 11}), std::vector<std::string>{name.shown + "です。"})
            << name.written;
    }
}
#endif

// Random texts of the characters a table line treats apart, through each kind's writer and
// parser: what reads back is the text without its end blanks and control characters, with
// "#" and "_" (and in an event ",") in full width.
TEST(Import, RandomTextsReadBackThroughTheParsers)
{
    const std::vector<std::string> alphabet = {" ", "\"", ",", "#",  "_",  "&", "*",
                                               "+", "\t", "a", "ダ", "　", "😀", "."};
    std::mt19937 random(24);
    FieldList fields;
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (auto n = random() % 10; n > 0; --n)
            text += alphabet[random() % alphabet.size()];
        const auto expected = [&](bool event) {
            std::string out;
            for (const char c : text) {
                if (c == '\t') continue;
                out += c == '#'            ? std::string("＃")
                       : c == '_'          ? std::string("＿")
                       : c == ',' && event ? std::string("，")
                                           : std::string(1, c);
            }
            const auto first = out.find_first_not_of(' ');
            return first == std::string::npos
                       ? std::string()
                       : out.substr(first, out.find_last_not_of(' ') - first + 1);
        };
        if (expected(false).empty()) continue; // no line is written for it
        TextChanges changes;
        // the fields are views into the line: each line is kept while it is read
        const std::string birthdayText = birthdayLine({1990, 5, 12}, text, changes);
        fields.start(birthdayText); // as the report reads a line
        const BirthdayLine birthday = TanLine(fields, LineEncoding::Text);
        ASSERT_TRUE(birthday.verdict.kept()) << text;
        FieldList tailFields;
        EXPECT_EQ(shownText(birthdayTail(birthday, tailFields).name, LineEncoding::Text),
                  expected(false))
            << text;
        const std::string scheduleText = scheduleLine({2027, 3, 5}, "", text, changes);
        fields.start(scheduleText);
        const ScheduleLine schedule = SkeLine(fields, LineEncoding::Text);
        ASSERT_TRUE(schedule.verdict.kept()) << text;
        EXPECT_EQ(shownText(schedule.text, LineEncoding::Text), expected(false)) << text;
        EXPECT_TRUE(schedule.comment.empty()) << text;
        const std::string weeklyText = weeklyLine(8, 10, 8, 11, text, changes);
        fields.start(weeklyText);
        const WeeklyLine weekly = WekLine(fields, LineEncoding::Text);
        ASSERT_TRUE(weekly.verdict.kept()) << text;
        EXPECT_EQ(shownText(weeklyTail(weekly, tailFields).text, LineEncoding::Text),
                  expected(false))
            << text;
        const std::string event = eventLine("12", 0, 0, 5, text, changes);
        ASSERT_EQ(event.find(','), std::string::npos) << event; // no comma list
        fields.start(event); // as the event reader splits: lazily, up to the text
        const EventLine rule = EveLine(fields, LineEncoding::Text);
        ASSERT_TRUE(rule.verdict.kept()) << text;
        const EventTail tail = eventTail(rule, tailFields);
        EXPECT_EQ(tail.colour, 'A') << text;
        EXPECT_EQ(eventText(tail.text, LineEncoding::Text), expected(true)) << text;
    }
}

// Each sample export: the report lines on the days its entries name.
TEST(Import, SampleContactExportsGiveTheirReportLines)
{
    struct Case
    {
        const char* file;
        Date day;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"google.vcf", {2024, 5, 12}, {"今日は 山田 太郎 さんの 34 回目の誕生日です。"}},
        {"google.vcf", {2024, 8, 3}, {"Jane Doe の誕生日です。"}},
        {"apple.vcf", {2024, 11, 3}, {"Hanako Suzuki の誕生日です。"}}, // the year omitted
        {"apple.vcf", {2025, 2, 28}, {"今日は 佐藤 花子 さんの 40 回目の誕生日です。"}},
        {"apple.vcf", {2025, 6, 20}, {"佐藤 花子 の記念日です。"}},
        {"phone21.vcf", {2025, 4, 30}, {"今日は 田中 一郎 さんの 50 回目の誕生日です。"}},
        {"phone21.vcf", {2025, 12, 24}, {"ソニー表 の誕生日です。"}},
        {"v4.vcf", {2025, 4, 2}, {"Émile Zola 🎂 の誕生日です。"}},
        {"v4.vcf", {2025, 1, 15}, {"Émile Zola 🎂 の記念日です。"}},
    };
    for (const Case& c : cases) {
        ImportedHome home(importOf(sample(c.file)));
        EXPECT_EQ(home.report(c.day), c.lines) << c.file << " " << c.day.month << "/" << c.day.day;
    }
    // a contact without a date is passed over; a date that is no date is named
    const Imported google = importOf(sample("google.vcf"));
    EXPECT_EQ(google.lines.size(), 2u);
    const Imported v4 = importOf(sample("v4.vcf"));
    ASSERT_EQ(v4.skipped.size(), 1u);
    EXPECT_EQ(v4.skipped[0].source, "Circa Someone");
    EXPECT_TRUE(v4.skipped[0].untranslated);
}

#ifdef TIRA_HAVE_LIBICAL
// Every day of 2091 on which the report shows an entry of the sample calendar, against the
// days its source event falls on (libical's own expansion of the rule).
TEST(Import, SampleCalendarGivesTheDaysOfItsSourceAllYear)
{
    constexpr int kYear = 2091;
    const std::string calendar = sample("calendar.ics");
    const Imported imported = importOf(calendar);
    // what the report shows of each translated event, by its summary
    const std::map<std::string, std::string> shown = {
        {"歯医者", "歯医者 です。"},
        {"Team meeting #42", "Team meeting ＃42(10:00) です。"},
        {"七夕の準備", "七夕の準備です。"},
        {"伊藤 誠の誕生日", "今日は 伊藤 誠 さんの 111 回目の誕生日です。"},
        {"家賃の振込", "家賃の振込です。"},
        {"月末の締め", "月末の締めです。"},
        {"定例会 (第2火曜)", "定例会 (第2火曜)です。"},
        {"Last Friday drinks", "Last Friday drinksです。"},
        {"燃えるごみ", "燃えるごみです。"},
        {"年末年始休暇", "年末年始休暇です。"},
    };
    std::set<std::string> translated;
    for (const ImportedLine& line : imported.lines)
        translated.insert(line.source);
    std::set<std::string> expectedTranslated;
    for (const auto& [summary, text] : shown)
        expectedTranslated.insert(summary);
    EXPECT_EQ(translated, expectedTranslated);

    // the source: each event's days in the year
    std::map<std::string, std::set<std::int32_t>> sourceDays;
    icalcomponent* root = icalparser_parse_string(calendar.c_str());
    ASSERT_NE(root, nullptr);
    for (icalcomponent* e = icalcomponent_get_first_component(root, ICAL_VEVENT_COMPONENT);
         e != nullptr; e = icalcomponent_get_next_component(root, ICAL_VEVENT_COMPONENT)) {
        const std::string summary = icalcomponent_get_summary(e);
        if (!shown.contains(summary)) continue;
        const icaltimetype start = icalcomponent_get_dtstart(e);
        const icaltimetype end = icalcomponent_get_dtend(e);
        const int length = icaltime_is_null_time(end) || !start.is_date
                               ? 1
                               : DayCount(end.year, end.month, end.day) -
                                     DayCount(start.year, start.month, start.day);
        auto& days = sourceDays[summary];
        const auto addFrom = [&](icaltimetype t) {
            for (int i = 0; i < std::max(length, 1); ++i)
                if (const std::int32_t s = DayCount(t.year, t.month, t.day) + i;
                    s >= DayCount(kYear, 1, 1) && s < DayCount(kYear + 1, 1, 1))
                    days.insert(s);
        };
        icalproperty* rrule = icalcomponent_get_first_property(e, ICAL_RRULE_PROPERTY);
        if (rrule == nullptr) {
            addFrom(start);
            continue;
        }
        icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(rrule), start);
        for (icaltimetype t = icalrecur_iterator_next(it);
             !icaltime_is_null_time(t) && t.year <= kYear; t = icalrecur_iterator_next(it))
            addFrom(t);
        icalrecur_iterator_free(it);
    }
    icalcomponent_free(root);

    std::map<std::string, std::set<std::int32_t>> reportDays;
    ImportedHome home(imported);
    for (std::int32_t s = DayCount(kYear, 1, 1); s < DayCount(kYear + 1, 1, 1); ++s) {
        const int month = [&] {
            int m = 12;
            while (DayCount(kYear, m, 1) > s)
                --m;
            return m;
        }();
        const Date date{kYear, static_cast<std::uint16_t>(month),
                        static_cast<std::uint16_t>(s - DayCount(kYear, month, 1) + 1)};
        for (const std::string& line : home.report(date)) {
            bool known = false;
            for (const auto& [summary, text] : shown)
                if (line == text) {
                    reportDays[summary].insert(s);
                    known = true;
                }
            EXPECT_TRUE(known) << line << " on " << month << "/" << date.day;
        }
    }
    for (const auto& [summary, text] : shown) {
        EXPECT_FALSE(sourceDays[summary].empty()) << summary;
        EXPECT_EQ(reportDays[summary], sourceDays[summary]) << summary;
    }
}
#endif

} // namespace
} // namespace tira
