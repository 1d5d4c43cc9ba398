#include "report/agenda.h"

#include "report/events.h"
#include "report/main_state.h"
#include "report/table_files.h"
#include "report/table_sections.h"
#include "tables/event_line.h"
#include "tables/fields.h"
#include "tables/history_line.h"
#include "tables/jikukai.h"
#include "text/paths.h"
#include "text/table_reader.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <span>
#include <tuple>
#include <type_traits>
#include <utility>

namespace tira {

namespace {

constexpr std::array<std::string_view, 7> kWeekdayTexts{"(日)", "(月)", "(火)", "(水)",
                                                        "(木)", "(金)", "(土)"};

constexpr std::array<std::string_view, kAgendaKindCount> kKindWords{
    "holiday", "birthday", "schedule", "weekly", "event", "history"};

AgendaKind agendaKindOf(Kind kind) noexcept
{
    switch (kind) {
    case Kind::Birthday: return AgendaKind::Birthday;
    case Kind::Schedule: return AgendaKind::Schedule;
    case Kind::Event: return AgendaKind::Event;
    case Kind::History: return AgendaKind::History;
    case Kind::Week: return AgendaKind::Weekly;
    }
    return AgendaKind::Holiday;
}

// One table file a kind reads over the range, and where: the days whose report reads it,
// with its place in that report's file list.
struct PlannedFile
{
    std::shared_ptr<const std::string> path;
    std::uint16_t forcedMonth = 0;
    struct Use
    {
        std::uint32_t day;      // index into the range
        std::uint32_t position; // place in the day's file list
    };
    std::vector<Use> uses;           // by day
    std::vector<std::uint32_t> from; // for each day and one more: its first use

    // The uses on the day `serial` (none outside the range).
    std::span<const Use> usesOn(std::int32_t serial, std::int32_t firstSerial) const noexcept
    {
        const std::int64_t day = std::int64_t{serial} - firstSerial;
        if (day < 0 || day + 1 >= static_cast<std::int64_t>(from.size())) return {};
        const auto d = static_cast<std::size_t>(day);
        return std::span<const Use>(uses).subspan(from[d], from[d + 1] - from[d]);
    }
};

// An entry found, with what orders it within its day.
struct Found
{
    Kind kind;
    std::uint32_t position;
    std::uint32_t line;
    std::uint32_t item; // place in the line's comma list
    AgendaEntry entry;

    auto key() const noexcept { return std::tie(kind, position, line, item); }
};

class AgendaBuilder
{
  public:
    AgendaBuilder(const std::string& home, Settings settings, Date first, int days)
        : m_home(home), m_settings(std::move(settings))
    {
        Date date = first;
        for (int i = 0; i < days; ++i) {
            m_days.push_back(computeCalendarFacts(date));
            const Date next = nextDay(date);
            if (next.year < date.year) break; // the last day a date can hold
            date = next;
        }
        m_byDay.resize(m_days.size());
        m_firstSerial = m_days.front().today;
        m_firstYear = m_days.front().date.year;
        m_lastYear = m_days.back().date.year + 1;
        for (std::size_t k = 0; k < kKindCount; ++k)
            for (std::string& path : m_settings.files[k])
                completeProgramPath(path, m_home);
        loadHolidays();
    }

    void collect(Kind kind)
    {
        for (PlannedFile& file : plan(kind)) {
            switch (kind) {
            case Kind::Birthday:
                collectParsed<TanLine>(
                    kind, file,
                    [this](const BirthdayLine& line, auto&& onSerial) {
                        // on its day in the year of the date or, from December, the next one
                        for (std::int32_t year = m_firstYear; year <= m_lastYear; ++year)
                            onSerial(DayCount(year, low16(line.date.value[1]),
                                              low16(line.date.value[2])));
                    },
                    [this](const BirthdayLine& line, const CalendarFacts& facts) {
                        return birthdayEntry(line, facts, m_settings);
                    });
                break;
            case Kind::Schedule:
                collectParsed<SkeLine>(
                    kind, file,
                    [](const ScheduleLine& line, auto&& onSerial) {
                        onSerial(DayCount(low16(line.date.value[0]), low16(line.date.value[1]),
                                          low16(line.date.value[2])));
                    },
                    [this](const ScheduleLine& line, const CalendarFacts& facts) {
                        return scheduleEntry(line, facts, m_settings);
                    });
                break;
            case Kind::History:
                collectParsed<HisLine>(
                    kind, file,
                    [this](const HistoryLine& line, auto&& onSerial) {
                        // the days whose month and day are one of the entry's dates
                        const auto onMonthDay = [&](std::int32_t month, std::int32_t day) {
                            if (month < 1 || month > 12 || day < 1 || day > 31) return;
                            for (std::int32_t year = m_firstYear; year <= m_lastYear; ++year)
                                onSerial(DayCount(year, month, day));
                        };
                        onMonthDay(line.month, line.day);
                        onMonthDay(line.month2, line.day2);
                    },
                    [this](const HistoryLine& line, const CalendarFacts& facts) {
                        return historyEntry(line, facts, m_settings);
                    });
                break;
            case Kind::Week:
                collectParsed<WekLine>(kind, file, nullptr,
                                       [this](const WeeklyLine& line, const CalendarFacts& facts) {
                                           return weeklyEntry(line, facts, m_settings);
                                       });
                break;
            case Kind::Event: collectEvents(file); break;
            }
        }
    }

    std::vector<AgendaEntry> finish(const std::vector<Kind>& sections, bool withHolidays)
    {
        std::vector<AgendaEntry> entries;
        const auto byKey = [](const Found& a, const Found& b) { return a.key() < b.key(); };
        for (std::uint32_t day = 0; day < m_days.size(); ++day) {
            if (withHolidays) addHolidayLines(day, entries);
            std::vector<Found>& found = m_byDay[day];
            // files are read in the order first met, which a monthly file may overtake
            if (!std::ranges::is_sorted(found, byKey)) std::ranges::stable_sort(found, byKey);
            for (auto section = sections.begin(); section != sections.end(); ++section) {
                // a section listed twice in the display order shows twice, as in the report
                const bool again =
                    std::find(section + 1, sections.end(), *section) != sections.end();
                for (Found& f : found) {
                    if (f.kind != *section) continue;
                    if (again)
                        entries.push_back(f.entry);
                    else
                        entries.push_back(std::move(f.entry));
                }
            }
            std::vector<Found>().swap(found);
        }
        return entries;
    }

  private:
    // The files of `kind` the reports of the range read, each once, in the order first met.
    std::vector<PlannedFile> plan(Kind kind)
    {
        std::vector<PlannedFile> files;
        std::map<std::pair<std::string, std::uint16_t>, std::size_t> index;
        std::array<std::vector<KindFile>, 13> byMonth;
        for (std::uint32_t day = 0; day < m_days.size(); ++day) {
            const std::uint16_t month = m_days[day].date.month;
            auto& list = byMonth[month];
            if (list.empty()) {
                list = kindFiles(m_settings, kind, month);
                for (KindFile& file : list)
                    completeProgramPath(file.path, m_home);
            }
            for (std::uint32_t position = 0; position < list.size(); ++position) {
                const KindFile& file = list[position];
                const auto [it, added] =
                    index.try_emplace({file.path, file.forcedMonth}, files.size());
                if (added)
                    files.push_back(
                        {std::make_shared<const std::string>(file.path), file.forcedMonth, {}, {}});
                PlannedFile& planned = files[it->second];
                planned.from.resize(day + 1, static_cast<std::uint32_t>(planned.uses.size()));
                planned.uses.push_back({day, position});
            }
        }
        for (PlannedFile& planned : files)
            planned.from.resize(m_days.size() + 1, static_cast<std::uint32_t>(planned.uses.size()));
        return files;
    }

    void keep(Kind kind, const PlannedFile& file, PlannedFile::Use use, std::uint32_t line,
              std::uint32_t item, EntryLine&& shown)
    {
        m_byDay[use.day].push_back(
            {kind, use.position, line, item,
             AgendaEntry{m_days[use.day].date, agendaKindOf(kind), std::move(shown.text),
                         shown.colour, shown.stopEntry, file.path, line}});
    }

    // Every line of `file` parsed once and decided for the days that read it; only the
    // on-the-day form (no days to go) is kept. `candidates(line, onSerial)`, when given,
    // names every day the line can be on in that form (more does no harm), so that no other
    // day needs a decision.
    template <auto Parse, class Candidates, class Decide>
    void collectParsed(Kind kind, const PlannedFile& file, Candidates candidates, Decide decide)
    {
        FieldList fields;
        forEachTableLine(
            *file.path, [&](std::string_view bytes, LineEncoding encoding, std::uint32_t number) {
                fields.start(bytes);
                const auto line = Parse(fields, encoding);
                if (!line.verdict.kept()) return;
                const auto decideOn = [&](PlannedFile::Use use) {
                    if (auto shown = decide(line, m_days[use.day]); shown && shown->daysToGo == 0)
                        keep(kind, file, use, number, 0, std::move(*shown));
                };
                if constexpr (std::is_same_v<Candidates, std::nullptr_t>) {
                    for (const PlannedFile::Use use : file.uses)
                        decideOn(use);
                } else {
                    // candidates come in day order per date; a day named twice is decided once
                    // (at most two dates in each of the range's years, and one more year)
                    std::array<std::int32_t, 16> met{};
                    std::size_t metCount = 0;
                    candidates(line, [&](std::int32_t serial) {
                        const std::span<const std::int32_t> seen(met.data(), metCount);
                        if (std::ranges::find(seen, serial) != seen.end()) return;
                        if (metCount < met.size()) met[metCount++] = serial;
                        for (const PlannedFile::Use use : file.usesOn(serial, m_firstSerial))
                            decideOn(use);
                    });
                }
            });
    }

    void collectEvents(const PlannedFile& file)
    {
        FieldList fields;
        forEachTableLine(*file.path, [&](std::string_view bytes, LineEncoding encoding,
                                         std::uint32_t number) {
            std::uint32_t item = 0;
            expandCommaList(bytes, [&](std::string_view one) {
                fields.start(one);
                const EventLine rule = EveLine(fields, encoding);
                ++item;
                if (!rule.verdict.kept() ||
                    eventRuleProblem(rule, file.forcedMonth) != LineProblem::None)
                    return;
                std::vector<std::int8_t>& due = dueDaysOf(rule, file.forcedMonth);
                std::optional<EntryLine> shown;
                for (const PlannedFile::Use use : file.uses) {
                    const CalendarFacts& facts = m_days[use.day];
                    std::int8_t& isDue = due[use.day];
                    if (isDue < 0)
                        isDue = Judge(eventDueDays(rule, file.forcedMonth, facts, m_holidays),
                                      facts.today, rule.advance)
                                            .result == 1
                                    ? 1
                                    : 0;
                    if (isDue == 0) continue;
                    // on each of its days a rule shows the same line: it is made on
                    // the first and copied for the others
                    if (!shown) {
                        shown = eventEntry(rule, file.forcedMonth, facts, m_holidays, m_settings);
                        if (!shown) return;
                    }
                    keep(Kind::Event, file, use, number, item, EntryLine(*shown));
                }
            });
        });
    }

    // Which days of the range a rule is due on (1), is not (0) or was not asked about
    // (-1). Tables repeat rules (a weekday's collection, a payday, a month's last day), and
    // whether a rule is due on a day depends on its values alone, not on its text: rules with
    // the same values share their days.
    std::vector<std::int8_t>& dueDaysOf(const EventLine& rule, std::uint16_t forcedMonth)
    {
        const RuleValues values{
            rule.dayForm,
            rule.weekForm,
            rule.dayValue,
            rule.weekdayValue,
            rule.weekValue,
            forcedMonth != 0 ? std::int32_t{forcedMonth} : rule.monthValue,
            rule.advance,
            rule.dayForm == DayForm::Range ? parseNumber(rule.rangeEnd).value_or(0) : 0};
        constexpr std::size_t kMaxRulesKept = 4096; // memory: rules x days bytes at most
        if (m_dueDays.size() >= kMaxRulesKept && !m_dueDays.contains(values)) {
            m_unshared.assign(m_days.size(), -1);
            return m_unshared;
        }
        auto [it, added] = m_dueDays.try_emplace(values);
        if (added) it->second.assign(m_days.size(), -1);
        return it->second;
    }

    // The holiday table as the report loads it (the first 30 valid lines), with the line
    // each holiday came from.
    void loadHolidays()
    {
        std::string path = m_settings.Holiday;
        completeProgramPath(path, m_home);
        m_holidayPath = std::make_shared<const std::string>(path);
        if (!path.empty()) m_holidays = readHolidayTable(path, &m_holidayLines);
    }

    void addHolidayLines(std::uint32_t day, std::vector<AgendaEntry>& entries) const
    {
        // the header's lines, holiday by holiday in table order
        for (std::size_t i = 0; i < m_holidays.size(); ++i)
            for (std::string& text : holidayLines({m_holidays[i]}, m_days[day]))
                entries.push_back({m_days[day].date, AgendaKind::Holiday, std::move(text),
                                   m_settings.BaseF, false, m_holidayPath, m_holidayLines[i]});
    }

    const std::string& m_home;
    Settings m_settings;
    std::vector<CalendarFacts> m_days;
    std::int32_t m_firstSerial = 0;
    std::int32_t m_firstYear = 0; // the years candidates are looked for in
    std::int32_t m_lastYear = 0;
    std::shared_ptr<const std::string> m_holidayPath;
    std::vector<HolidayEntry> m_holidays;
    std::vector<std::uint32_t> m_holidayLines;
    std::vector<std::vector<Found>> m_byDay;
    using RuleValues = std::tuple<DayForm, WeekForm, std::int32_t, std::int32_t, std::int32_t,
                                  std::int32_t, std::int32_t, std::int64_t>;
    std::map<RuleValues, std::vector<std::int8_t>> m_dueDays;
    std::vector<std::int8_t> m_unshared;
};

} // namespace

std::string_view agendaKindWord(AgendaKind kind) noexcept
{
    return kKindWords[static_cast<std::size_t>(kind)];
}

std::optional<AgendaKind> agendaKindOfWord(std::string_view word) noexcept
{
    for (std::size_t i = 0; i < kKindWords.size(); ++i)
        if (kKindWords[i] == word) return static_cast<AgendaKind>(i);
    return std::nullopt;
}

void forEachAgendaTextLine(const std::vector<AgendaEntry>& entries, WinColour headingColour,
                           const std::function<void(std::string_view, WinColour)>& onLine)
{
    std::string line;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const AgendaEntry& entry = entries[i];
        if (i == 0 || !(entries[i - 1].date == entry.date)) {
            if (i != 0) onLine("", headingColour);
            const Date d = entry.date;
            const auto weekday =
                static_cast<std::size_t>(weekdayOf(DayCount(d.year, d.month, d.day)));
            onLine(std::to_string(d.year) + "年" + std::to_string(d.month) + "月" +
                       std::to_string(d.day) + "日" + std::string(kWeekdayTexts[weekday - 1]),
                   headingColour);
        }
        line.assign("  ");
        line += entry.text;
        onLine(line, entry.colour);
    }
}

Date nextDay(Date date) noexcept
{
    if (date.day < daysInMonth(date.year, date.month)) {
        ++date.day;
    } else if (date.month < 12) {
        ++date.month;
        date.day = 1;
    } else {
        ++date.year; // wraps to 0 after 65535: the caller stops there
        date.month = 1;
        date.day = 1;
    }
    return date;
}

std::vector<AgendaEntry> buildAgenda(const std::string& home, Settings settings, Date first,
                                     int days, const AgendaKinds& kinds)
{
    if (days < 1) return {};
    // the sections the report shows, in its display order
    std::vector<Kind> sections;
    for (const std::uint8_t section : settings.Jyun) {
        if (section < 1 || section > kKindCount) continue;
        const KindDescription& kind = kKinds[section - 1u];
        if (settings.*kind.shown != 0 && kinds[static_cast<std::size_t>(agendaKindOf(kind.kind))])
            sections.push_back(kind.kind);
    }
    AgendaBuilder builder(home, std::move(settings), first, days);
    for (const KindDescription& kind : kKinds)
        if (std::ranges::find(sections, kind.kind) != sections.end()) builder.collect(kind.kind);
    return builder.finish(sections, kinds[static_cast<std::size_t>(AgendaKind::Holiday)]);
}

} // namespace tira
