// Writes a benchmark home: TIRA.ini with one kind's section switched on, one table file of
// that kind with a given number of entries (Shift-JIS, CR LF) and a holiday file.
//
//   tira_bench_gen KIND COUNT DIR     KIND: birthday schedule weekly history event
//
// The entries are spread evenly over the year, so a report on any day shows a small,
// steady share of them, as a real table would.
#include "text/cp932.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

// Several of these hold a character whose second Shift-JIS byte is 0x5C (十, 能, 表, 予,
// ソ, 申), the byte that other tools mistake for a backslash.
constexpr std::array<std::string_view, 10> kFamily{"山田", "佐藤", "能登", "鈴木", "高橋",
                                                   "田中", "十河", "渡辺", "中村", "申"};
constexpr std::array<std::string_view, 8> kGiven{"太郎", "花子", "十郎", "美咲",
                                                 "一郎", "ソラ", "予子", "健"};
constexpr std::array<std::string_view, 8> kTexts{"会議",     "表彰式",     "定期検診", "予算締切",
                                                 "ゴミ出し", "ソフト更新", "申請期限", "歯医者"};
constexpr std::array<int, 12> kMonthDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

struct MonthDay
{
    int month;
    int day;
};

// Day k (0..364) of a common year.
MonthDay monthDayOf(std::size_t k)
{
    int rest = static_cast<int>(k % 365);
    int month = 0;
    while (rest >= kMonthDays[static_cast<std::size_t>(month)]) {
        rest -= kMonthDays[static_cast<std::size_t>(month)];
        ++month;
    }
    return {month + 1, rest + 1};
}

class LineWriter
{
  public:
    explicit LineWriter(const std::filesystem::path& path) : m_file(std::fopen(path.c_str(), "wb"))
    {
        if (m_file == nullptr) {
            std::perror(path.c_str());
            std::exit(1);
        }
        m_buffer.reserve(1 << 20);
    }
    ~LineWriter()
    {
        flush();
        std::fclose(m_file);
    }
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    LineWriter& operator<<(std::string_view utf8)
    {
        m_buffer += tira::utf8ToCp932(utf8);
        return *this;
    }
    LineWriter& operator<<(long number)
    {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
        m_buffer.append(digits, end);
        return *this;
    }
    void endLine()
    {
        m_buffer += "\r\n";
        if (m_buffer.size() > (1u << 20) - 256) flush();
    }

  private:
    void flush()
    {
        std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file);
        m_buffer.clear();
    }

    std::FILE* m_file;
    std::string m_buffer;
};

std::string_view pick(const auto& pool, std::size_t i)
{
    return pool[i % pool.size()];
}

long asLong(std::size_t value)
{
    return static_cast<long>(value);
}

void birthdays(LineWriter& out, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const MonthDay md = monthDayOf(i * 7919); // a prime stride mixes the dates
        out << "+7 " << asLong(1940 + i % 70) << "/" << md.month << "/" << md.day << " x "
            << pick(kFamily, i) << "_" << pick(kGiven, i / 10) << asLong(i % 1000);
        if (i % 10 == 0) out << " 友人 " << (i % 20 == 0 ? "S" : "N") << " red";
        out.endLine();
    }
}

void schedules(LineWriter& out, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const MonthDay md = monthDayOf(i * 7919);
        if (i % 4 == 0) out << "+3 ";
        out << asLong(2020 + i % 10) << "/" << md.month << "/" << md.day;
        if (i % 3 == 0) out << " *本社";
        out << " " << pick(kTexts, i);
        if (i % 4 == 0)
            out << " S";
        else if (i % 1000 == 1)
            out << " A";
        else if (i % 1000 == 2)
            out << " B";
        out.endLine();
    }
}

void weekly(LineWriter& out, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const MonthDay start = monthDayOf(i * 7919);
        const MonthDay end = monthDayOf(i * 7919 + 6);
        out << start.month << "/" << start.day << " " << end.month << "/" << end.day << " "
            << pick(kTexts, i) << "週間";
        if (i % 5 == 0) out << " g";
        out.endLine();
    }
}

void history(LineWriter& out, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const MonthDay md = monthDayOf(i * 7919);
        out << asLong(1600 + i % 400) << "/" << md.month << "/" << md.day;
        switch (i % 4) {
        case 0:
        case 1: out << " E " << pick(kTexts, i) << "の日"; break;
        case 2:
            out << " B " << asLong(1680 + i % 300) << "/" << monthDayOf(i * 31).month << "/"
                << monthDayOf(i * 31).day << " " << pick(kFamily, i) << "_" << pick(kGiven, i);
            break;
        default: out << " D ? " << pick(kFamily, i) << "_" << pick(kGiven, i) << " b"; break;
        }
        out.endLine();
    }
}

// The 15th (any day), the n-th weekday, a day counted from the month's end, and a day
// moved to the working day before it when it falls on a weekend or a holiday.
void events(LineWriter& out, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const auto day = static_cast<long>(1 + (i / 4) % 28);
        switch (i % 4) {
        case 0: out << day << " 0 0 0 " << pick(kTexts, i); break;
        case 1:
            out << "0 " << asLong(1 + (i / 4) % 7) << " " << asLong(1 + (i / 28) % 4) << " 0 "
                << pick(kTexts, i);
            break;
        case 2:
            out << "-" << asLong(1 + (i / 4) % 3) << " 0 0 0 &red 月末の" << pick(kTexts, i);
            break;
        default: out << "<<" << day << " 0 0 0 " << pick(kTexts, i) << "日"; break;
        }
        out.endLine();
    }
}

void holidays(LineWriter& out)
{
    constexpr std::array<MonthDay, 16> kDays{{{1, 1},
                                              {1, 8},
                                              {2, 11},
                                              {2, 23},
                                              {3, 20},
                                              {4, 29},
                                              {5, 3},
                                              {5, 4},
                                              {5, 5},
                                              {7, 15},
                                              {8, 11},
                                              {9, 16},
                                              {9, 22},
                                              {10, 14},
                                              {11, 3},
                                              {11, 23}}};
    for (const MonthDay& md : kDays) {
        out << md.month << " " << md.day << " 祝日";
        out.endLine();
    }
}

struct KindInfo
{
    std::string_view name;    // command-line name
    std::string_view section; // TIRA.ini section and switch
    std::string_view file;
    void (*write)(LineWriter&, std::size_t);
};

constexpr std::array<KindInfo, 5> kKinds{{{"birthday", "Birthday", "BIRTH.TBL", birthdays},
                                          {"schedule", "Schedule", "SCHEDULE.TBL", schedules},
                                          {"weekly", "Week", "WEEK.TBL", weekly},
                                          {"history", "History", "HISTORY.TBL", history},
                                          {"event", "Event", "EVENT.TBL", events}}};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fputs("usage: tira_bench_gen KIND COUNT DIR\n", stderr);
        return 2;
    }
    const std::string_view kindName = argv[1];
    const KindInfo* kind = nullptr;
    for (const KindInfo& k : kKinds)
        if (k.name == kindName) kind = &k;
    std::size_t count = 0;
    const std::string_view countText = argv[2];
    const auto parsed =
        std::from_chars(countText.data(), countText.data() + countText.size(), count);
    if (kind == nullptr || parsed.ec != std::errc() ||
        parsed.ptr != countText.data() + countText.size()) {
        std::fputs("tira_bench_gen: unknown kind or bad count\n", stderr);
        return 2;
    }
    const std::filesystem::path dir = argv[3];
    std::filesystem::create_directories(dir);
    {
        LineWriter ini(dir / "TIRA.ini");
        ini << "[Common]";
        ini.endLine();
        for (const KindInfo& k : kKinds) {
            ini << k.section << "=" << (&k == kind ? "1" : "0");
            ini.endLine();
        }
        ini << "Holiday=.\\TIRAHOLI.TBL";
        ini.endLine();
        ini << "[" << kind->section << "]";
        ini.endLine();
        ini << "Count=1";
        ini.endLine();
        ini << "File0=.\\" << kind->file;
        ini.endLine();
    }
    {
        LineWriter holidayFile(dir / "TIRAHOLI.TBL");
        holidays(holidayFile);
    }
    LineWriter table(dir / std::string(kind->file));
    kind->write(table, count);
    return 0;
}
