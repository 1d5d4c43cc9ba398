#include "report/events.h"

#include "report/table_sections.h"
#include "tables/fields.h"

namespace tira {

namespace {

// Table values a date can hold; anything beyond never matches (it would lie centuries away).
constexpr std::int64_t kMaxTableValue = 65535;
// Days handed to DayCount stay within this, so serial days never leave 32 bits.
constexpr std::int64_t kMaxDayOffset = 1'000'000;

std::optional<std::int32_t> serialOf(std::int64_t year, std::int64_t month,
                                     std::int64_t day) noexcept
{
    if (year < 0 || year > kMaxTableValue + 1 || month < 1 || month > kMaxTableValue + 1 ||
        day < -kMaxDayOffset || day > kMaxDayOffset)
        return std::nullopt;
    return DayCount(static_cast<std::int32_t>(year), static_cast<std::int32_t>(month),
                    static_cast<std::int32_t>(day));
}

int weekdayAt(std::int64_t year, std::int64_t month, std::int64_t day) noexcept
{
    const auto serial = serialOf(year, month, day);
    return serial ? weekdayOf(*serial) : 0;
}

std::int64_t monthLength(std::int64_t year, std::int64_t month) noexcept
{
    const auto first = serialOf(year, month, 1);
    const auto next = serialOf(year, month + 1, 1);
    return first && next ? *next - *first : 0;
}

std::int64_t mod7(std::int64_t x) noexcept
{
    return ((x % 7) + 7) % 7;
}

// The first day of row `row` of the year sheet whose rows begin on Sunday.
std::int64_t yearRowStart(const CalendarFacts& facts, std::int64_t row) noexcept
{
    return static_cast<std::int64_t>(facts.january1) - facts.january1Weekday + (row - 1) * 7;
}

// A serial day of the report year, read as a day of January so that it keeps the bounds
// every date of a rule keeps.
std::optional<std::int32_t> serialInReportYear(const CalendarFacts& facts,
                                               std::int64_t serial) noexcept
{
    return serialOf(facts.date.year, 1, serial - facts.january1 + 1);
}

// A rule's values on the report date: the day shifted for the month it is read in, the
// forced month in place of the rule's, and what the shapes below look at.
class RuleOnDate
{
  public:
    RuleOnDate(const EventLine& rule, std::uint16_t forcedMonth, const CalendarFacts& facts,
               const std::vector<HolidayEntry>& holidays) noexcept
        : m_rule(rule), m_facts(facts), m_holidays(holidays), m_weekday(rule.weekdayValue),
          m_week(rule.weekValue), m_month(forcedMonth != 0 ? forcedMonth : rule.monthValue),
          m_dayGiven(rule.dayValue != 0)
    {
        if (rule.dayForm == DayForm::Range) m_rangeEnd = parseNumber(rule.rangeEnd).value_or(0);
    }

    // The rule's day read in `month` of `year` (0: the report month), after the shift.
    std::int64_t shiftedDay(std::int64_t year, std::int64_t month) const noexcept
    {
        std::int64_t day = m_rule.dayValue;
        SpanD(m_rule.dayForm, year, month, m_rangeEnd, day, m_facts, m_holidays);
        return day;
    }

    // True when the report date stands in the rule's week (of the month or of the year);
    // weeks counted from the end never match.
    bool inWeek() const noexcept
    {
        switch (m_rule.weekForm) {
        case WeekForm::OfMonth: return m_facts.weekOfMonth == m_week;
        case WeekForm::OfYear: return m_facts.weekOfYear == m_week;
        default: return false;
        }
    }

    // --- one function per rule shape, each giving the days the rule is due ---

    // A day of every month ("15 0 0 0"): this month's, or the next month's once it has
    // passed (or was carried back into the month before).
    DueDays dayOfEveryMonth() const noexcept
    {
        DueDays due;
        const std::int64_t day = shiftedDay(year(), 0);
        if (day >= m_facts.date.day)
            due.add(serialOf(year(), reportMonth(), day));
        else
            due.add(serialOf(year(), reportMonth() + 1, shiftedDay(year(), reportMonth() + 1)));
        return due;
    }

    // A day of every month on a weekday ("13 6 0 0"): this month's, then the next month's.
    DueDays dayOnWeekday() const noexcept
    {
        DueDays due;
        for (const std::int64_t month : {reportMonth(), reportMonth() + 1}) {
            const std::int64_t day = shiftedDay(year(), month == reportMonth() ? 0 : month);
            if (weekdayAt(year(), month, day) == m_weekday) due.add(serialOf(year(), month, day));
        }
        return due;
    }

    // Every weekday w ("0 2 0 0"): today, or the next day of that weekday.
    DueDays everyWeekday() const noexcept
    {
        DueDays due;
        if (m_weekday > 7) return due;
        if (m_facts.weekday == m_weekday) {
            due.add(m_facts.today);
            return due;
        }
        std::int64_t day = m_facts.date.day + m_weekday - m_facts.weekday;
        if (m_weekday < m_facts.weekday) day += 7;
        const std::int64_t length = m_facts.daysInMonth;
        due.add(day > length ? serialOf(year(), reportMonth() + 1, day - length)
                             : serialOf(year(), reportMonth(), day));
        return due;
    }

    // A day, or the first day, of a week ("10 0 2 0", "0 0 2 0", "0 0 !10 0"), in the weeks
    // that hold the report date.
    DueDays dayOfWeek() const noexcept
    {
        DueDays due;
        if (!inWeek()) return due;
        if (m_dayGiven) {
            due.add(serialOf(year(), reportMonth(), shiftedDay(year(), 0)));
        } else if (m_rule.weekForm == WeekForm::OfYear) {
            // 1 January for the first week
            due.add(serialInReportYear(m_facts, m_week <= 1 ? m_facts.january1
                                                            : yearRowStart(m_facts, m_week)));
        } else {
            const std::int64_t rowStart =
                m_week <= 1 ? 1 : (m_week - 1) * 7 - m_facts.firstWeekday + 1;
            due.add(serialOf(year(), reportMonth(), rowStart));
        }
        return due;
    }

    // A day on a weekday in a week ("13 6 2 0").
    DueDays dayOnWeekdayOfWeek() const noexcept
    {
        DueDays due;
        const std::int64_t day = shiftedDay(year(), 0);
        if (inWeek() && weekdayAt(year(), reportMonth(), day) == m_weekday)
            due.add(serialOf(year(), reportMonth(), day));
        return due;
    }

    // The n-th weekday w of the report month ("0 3 2 0"), or weekday w of week n of the
    // year ("0 2 !10 0") when that day belongs to the year.
    DueDays nthWeekday() const noexcept
    {
        DueDays due;
        if (m_rule.weekForm == WeekForm::OfYear) {
            if (m_weekday > 7) return due;
            const std::int64_t serial = yearRowStart(m_facts, m_week) + (m_weekday - 1);
            const auto lastOfYear = serialOf(year(), 12, 31);
            if (serial >= m_facts.january1 && lastOfYear && serial <= *lastOfYear)
                due.add(serialInReportYear(m_facts, serial));
            return due;
        }
        if (m_rule.weekForm != WeekForm::OfMonth) return due;
        const int firstWeekday = weekdayAt(year(), reportMonth(), 1);
        const std::int64_t day = (m_week - 1) * 7 + mod7(m_weekday - firstWeekday) + 1;
        if (weekdayAt(year(), reportMonth(), day) == m_weekday)
            due.add(serialOf(year(), reportMonth(), day));
        return due;
    }

    // A rule with a month: its day (every day without one) of that month in the report year,
    // on its weekday and in its week when it names them. A shifted day that crosses the year
    // end counts in the report year: December's of the year before, January's of the next.
    DueDays dayOfNamedMonth() const noexcept
    {
        DueDays due;
        due.add(namedMonthDay(year()));
        const bool shifting =
            m_rule.dayForm == DayForm::Earlier || m_rule.dayForm == DayForm::EarlierWorkingDay ||
            m_rule.dayForm == DayForm::Later || m_rule.dayForm == DayForm::LaterWorkingDay;
        if (shifting && m_dayGiven && (m_month == 1 || m_month == 12)) {
            const auto other = namedMonthDay(m_month == 1 ? year() + 1 : year() - 1);
            const auto lastOfYear = serialOf(year(), 12, 31);
            if (other && lastOfYear && *other >= m_facts.january1 && *other <= *lastOfYear)
                due.add(other);
        }
        return due;
    }

    DueDays dueDays() const noexcept
    {
        if (m_month != 0) return dayOfNamedMonth();
        if (m_week == 0) {
            if (m_weekday == 0) return m_dayGiven ? dayOfEveryMonth() : DueDays{};
            return m_dayGiven ? dayOnWeekday() : everyWeekday();
        }
        if (m_weekday == 0) return dayOfWeek();
        return m_dayGiven ? dayOnWeekdayOfWeek() : nthWeekday();
    }

  private:
    std::int64_t year() const noexcept { return m_facts.date.year; }
    std::int64_t reportMonth() const noexcept { return m_facts.date.month; }

    std::optional<std::int32_t> namedMonthDay(std::int64_t inYear) const noexcept
    {
        const std::int64_t day = m_dayGiven ? shiftedDay(inYear, m_month) : m_facts.date.day;
        if (m_week != 0 && !inWeek()) return std::nullopt;
        if (m_weekday != 0 && weekdayAt(inYear, m_month, day) != m_weekday) return std::nullopt;
        return serialOf(inYear, m_month, day);
    }

    const EventLine& m_rule;
    const CalendarFacts& m_facts;
    const std::vector<HolidayEntry>& m_holidays;
    std::int64_t m_weekday;
    std::int64_t m_week;
    std::int64_t m_month;
    std::int64_t m_rangeEnd = 0;
    bool m_dayGiven; // a shift may carry the day to 0 or below: still a day
};

} // namespace

LineProblem eventRuleProblem(const EventLine& rule, std::uint16_t forcedMonth) noexcept
{
    // a range whose end is not a number is a bad line
    if (rule.dayForm == DayForm::Range && !parseNumber(rule.rangeEnd))
        return LineProblem::RangeEndNotNumber;
    const std::int64_t month = forcedMonth != 0 ? forcedMonth : rule.monthValue;
    for (const std::int64_t value : {std::int64_t{rule.dayValue}, std::int64_t{rule.weekdayValue},
                                     std::int64_t{rule.weekValue}, month})
        if (value < 0 || value > kMaxTableValue) return LineProblem::ValueOutOfRange;
    return LineProblem::None;
}

void SpanD(DayForm form, std::int64_t year, std::int64_t month, std::int64_t rangeEnd,
           std::int64_t& day, const CalendarFacts& facts,
           const std::vector<HolidayEntry>& holidays) noexcept
{
    if (day == 0) return;
    const std::int64_t mm = month != 0 ? month : facts.date.month;
    // the weekday of the date before the shift; only the shifting forms ask for it
    const auto weekdayBeforeShift = [&] { return weekdayAt(year, mm, day); };
    // each pass goes once through the table in its order, against the current day
    const std::int64_t holidayMonth = (mm - 1) % 12 + 1; // month 13 is the next January
    const auto isHoliday = [&](const HolidayEntry& holiday, std::int64_t d) {
        return holiday.month == holidayMonth && holiday.day == d;
    };

    switch (form) {
    case DayForm::Earlier:
    case DayForm::EarlierWorkingDay: {
        const bool working = form == DayForm::EarlierWorkingDay;
        const int weekday = weekdayBeforeShift();
        if (weekday == 2) {
            // a Monday after a Sunday holiday is a substitute holiday
            for (const HolidayEntry& holiday : holidays)
                if (isHoliday(holiday, day - 1)) day -= working ? 3 : 2;
        }
        if (weekday == 1) day -= working ? 2 : 1;
        if (working && weekday == 7) day -= 1;
        for (const HolidayEntry& holiday : holidays)
            if (isHoliday(holiday, day)) day -= 1;
        // a day below 1 lies in the month before; DayCount reads day 0 as its last day
        break;
    }
    case DayForm::Later:
    case DayForm::LaterWorkingDay: {
        const int weekday = weekdayBeforeShift();
        if (weekday == 1) day += 1;
        if (form == DayForm::LaterWorkingDay && weekday == 7) day += 2;
        // a holiday, and the day after one, are passed over
        for (const HolidayEntry& holiday : holidays)
            if (isHoliday(holiday, day) || isHoliday(holiday, day - 1)) day += 1;
        // a day beyond the month's end lies in the month after; DayCount reads it so
        break;
    }
    case DayForm::Range:
        if (day < facts.date.day && rangeEnd >= facts.date.day) day = facts.date.day;
        break;
    case DayForm::FromMonthEnd:
        // counted from the end of the month the rule names (the report month when none)
        day = monthLength(year, mm) - day + 1;
        break;
    case DayForm::Plain:
    case DayForm::Unsupported: break;
    }
}

DueDays eventDueDays(const EventLine& rule, std::uint16_t forcedMonth, const CalendarFacts& facts,
                     const std::vector<HolidayEntry>& holidays) noexcept
{
    return RuleOnDate(rule, forcedMonth, facts, holidays).dueDays();
}

EventMatch Judge(const DueDays& due, std::int32_t today, std::int32_t advance) noexcept
{
    for (std::size_t i = 0; i < due.count; ++i) {
        const std::int32_t serial = due.serials[i];
        const std::int64_t ahead = static_cast<std::int64_t>(serial) - today;
        if (ahead == 0) return {1, 0};
        if (ahead >= 1 && ahead <= advance) return {2, serial - today};
    }
    return {};
}

std::string eventReportText(std::string_view text, DayForm form, const EventMatch& match)
{
    if (form == DayForm::Unsupported) return "(未対応)";
    if (match.result == 2)
        return std::string(text) + "まで あと " + std::to_string(match.daysToGo) + " 日です。";
    return entrySentence(text);
}

std::optional<EntryLine> eventEntry(const EventLine& rule, std::uint16_t forcedMonth,
                                    const CalendarFacts& facts,
                                    const std::vector<HolidayEntry>& holidays,
                                    const Settings& settings)
{
    if (eventRuleProblem(rule, forcedMonth) != LineProblem::None) return std::nullopt;
    const EventMatch match =
        Judge(eventDueDays(rule, forcedMonth, facts, holidays), facts.today, rule.advance);
    if (match.result == 0) return std::nullopt;
    FieldList fields; // the tail's, for a shown entry only
    const EventTail tail = eventTail(rule, fields);
    return entryLine(eventReportText(rule.dayForm == DayForm::Unsupported
                                         ? ""
                                         : eventText(tail.text, rule.encoding),
                                     rule.dayForm, match),
                     settings, Kind::Event, tail.colour, false, match.daysToGo);
}

// --- the section ---

void MainState::EveBase()
{
    FieldList fields;
    readKindFiles(Kind::Event,
                  [&](std::string_view bytes, LineEncoding encoding, std::uint16_t forcedMonth) {
                      expandCommaList(bytes, [&](std::string_view one) {
                          fields.start(one);
                          EveX(lineParser<Kind::Event>()(fields, encoding), forcedMonth);
                      });
                  });
}

void MainState::EveX(const EventLine& rule, std::uint16_t forcedMonth)
{
    if (!rule.verdict.kept()) return;
    if (const auto entry = eventEntry(rule, forcedMonth, facts, holidays, settings))
        writeShown(Kind::Event, *entry);
}

} // namespace tira
