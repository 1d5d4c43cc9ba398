#include "report/events.h"

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

} // namespace

int judgeMatch(std::int32_t serial, std::int32_t today, std::int32_t advance) noexcept
{
    if (serial == today) return 1;
    const std::int64_t ahead = static_cast<std::int64_t>(serial) - today;
    return ahead >= 1 && ahead <= advance ? 2 : 0;
}

void shiftEventDay(DayForm form, std::int64_t month, std::int64_t rangeEnd, std::int64_t& day,
                   const CalendarFacts& facts, const std::vector<HolidayEntry>& holidays) noexcept
{
    if (day == 0) return;
    const std::int64_t year = facts.date.year;
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

EventMatch evaluateEvent(const EventRule& rule, std::uint16_t forcedMonth,
                         const CalendarFacts& facts, const std::vector<HolidayEntry>& holidays,
                         LineProblem* problem) noexcept
{
    if (problem != nullptr) *problem = LineProblem::None;
    const auto advance = parseNumber(rule[EventAdvance]);
    const auto dayValue = parseNumber(rule[EventDay]);
    const auto weekdayValue = parseNumber(rule[EventWeekday]);
    const auto weekValue = parseNumber(rule[EventWeek]);
    const auto monthValue = parseNumber(rule[EventMonth]);
    const auto dayFormValue = parseNumber(rule[EventDayForm]);
    const auto weekFormValue = parseNumber(rule[EventWeekForm]);
    if (!advance || !dayValue || !weekdayValue || !weekValue || !monthValue || !dayFormValue ||
        !weekFormValue || *dayFormValue < 0 || *dayFormValue > 7 || *weekFormValue < 1 ||
        *weekFormValue > 6) {
        if (problem != nullptr) *problem = LineProblem::NotNumber;
        return {};
    }
    EventLine line;
    line.advance = *advance;
    line.dayValue = *dayValue;
    line.weekdayValue = *weekdayValue;
    line.weekValue = *weekValue;
    line.monthValue = *monthValue;
    line.dayForm = static_cast<DayForm>(*dayFormValue);
    line.weekForm = static_cast<WeekForm>(*weekFormValue);
    line.rangeEnd = rule[EventRangeEnd];
    return evaluateEvent(line, forcedMonth, facts, holidays, problem);
}

// One branch per row of the decision table; split up, the table could no longer be read.
// NOLINTNEXTLINE(readability-function-cognitive-complexity)
EventMatch evaluateEvent(const EventLine& line, std::uint16_t forcedMonth,
                         const CalendarFacts& facts, const std::vector<HolidayEntry>& holidays,
                         LineProblem* problem) noexcept
{
    const auto drop = [problem](LineProblem why) {
        if (problem != nullptr) *problem = why;
        return EventMatch{};
    };
    if (problem != nullptr) *problem = LineProblem::None;
    const DayForm dayForm = line.dayForm;
    const WeekForm weekForm = line.weekForm;
    std::int64_t rangeEnd = 0;
    if (dayForm == DayForm::Range) {
        // a range whose end is not a number is a bad line
        const auto end = parseNumber(line.rangeEnd);
        if (!end) return drop(LineProblem::RangeEndNotNumber);
        rangeEnd = *end;
    }

    const std::int32_t a = line.advance;
    std::int64_t d = line.dayValue;
    const std::int64_t w = line.weekdayValue;
    const std::int64_t n = line.weekValue;
    const std::int64_t m = forcedMonth != 0 ? forcedMonth : line.monthValue;
    for (const std::int64_t value : {d, w, n, m})
        if (value < 0 || value > kMaxTableValue) return drop(LineProblem::ValueOutOfRange);

    const std::int64_t year = facts.date.year;
    const std::int64_t month0 = facts.date.month;
    const std::int64_t day0 = facts.date.day;
    const auto check = [&](std::int64_t y, std::int64_t x, std::int64_t z) -> EventMatch {
        const auto serial = serialOf(y, x, z);
        if (!serial) return {};
        return {judgeMatch(*serial, facts.today, a), *serial - facts.today};
    };
    const auto checkSerial = [&](std::int64_t serial) -> EventMatch {
        return check(year, 1, serial - facts.january1 + 1);
    };
    const auto inWeek = [&] {
        switch (weekForm) {
        case WeekForm::OfMonth: return facts.weekOfMonth == n;
        case WeekForm::OfYear: return facts.weekOfYear == n;
        default: return false; // weeks counted from the end never match
        }
    };
    // the first day of row n of the year sheet whose rows begin on Sunday
    const std::int64_t yearSheetStart =
        static_cast<std::int64_t>(facts.january1) - facts.january1Weekday;
    const auto yearRowStart = [&](std::int64_t row) { return yearSheetStart + (row - 1) * 7; };

    const bool dayGiven = d != 0; // a shift may carry the day to 0 or below: still a day
    const std::int64_t unshifted = d;
    shiftEventDay(dayForm, m, rangeEnd, d, facts, holidays);
    // a rule without a month read in the next month is shifted for that month
    const auto nextMonthDay = [&] {
        std::int64_t next = unshifted;
        shiftEventDay(dayForm, month0 + 1, rangeEnd, next, facts, holidays);
        return next;
    };

    if (m == 0) {
        if (n == 0 && w == 0) {
            if (!dayGiven) return {}; // nothing to go by
            // past this month's day (or carried back into the month before): the next month's
            if (d >= day0) return check(year, month0, d);
            return check(year, month0 + 1, nextMonthDay());
        }
        if (n == 0 && dayGiven) {
            EventMatch match;
            if (weekdayAt(year, month0, d) == w) match = check(year, month0, d);
            if (match.result != 0) return match;
            const std::int64_t next = nextMonthDay();
            return weekdayAt(year, month0 + 1, next) == w ? check(year, month0 + 1, next)
                                                          : EventMatch{};
        }
        if (n == 0) { // every weekday w
            if (w > 7) return {};
            if (facts.weekday == w) return check(year, month0, day0);
            std::int64_t k = day0 + w - facts.weekday;
            if (w < facts.weekday) k += 7;
            const std::int64_t length = facts.daysInMonth;
            return k > length ? check(year, month0 + 1, k - length) : check(year, month0, k);
        }
        if (w == 0) {
            if (!dayGiven) {
                if (weekForm == WeekForm::OfYear) {
                    // the first day of week n of the year (1 January for the first week)
                    if (!inWeek()) return {};
                    return checkSerial(n <= 1 ? facts.january1 : yearRowStart(n));
                }
                d = n <= 1 ? 1 : (n - 1) * 7 - facts.firstWeekday + 1; // first day of row n
            }
            return inWeek() ? check(year, month0, d) : EventMatch{};
        }
        if (dayGiven)
            return inWeek() && weekdayAt(year, month0, d) == w ? check(year, month0, d)
                                                               : EventMatch{};
        // the n-th weekday w
        if (weekForm == WeekForm::OfYear) {
            // weekday w of week n of the year, when that day belongs to the year
            if (w > 7) return {};
            const std::int64_t serial = yearRowStart(n) + (w - 1);
            const auto lastOfYear = serialOf(year, 12, 31);
            if (serial < facts.january1 || !lastOfYear || serial > *lastOfYear) return {};
            return checkSerial(serial);
        }
        if (weekForm != WeekForm::OfMonth) return {};
        const int g = weekdayAt(year, month0, 1);
        d = (n - 1) * 7 + mod7(w - g) + 1;
        return weekdayAt(year, month0, d) == w ? check(year, month0, d) : EventMatch{};
    }

    // a rule with a month looks at that month of the report year only
    const std::int64_t z = dayGiven ? d : day0;
    if (n == 0) {
        if (w == 0) return check(year, m, z);
        return weekdayAt(year, m, z) == w ? check(year, m, z) : EventMatch{};
    }
    if (w == 0) return inWeek() ? check(year, m, z) : EventMatch{};
    return inWeek() && weekdayAt(year, m, z) == w ? check(year, m, z) : EventMatch{};
}

std::string eventReportText(std::string_view text, DayForm form, const EventMatch& match)
{
    if (form == DayForm::Unsupported) return "(未対応)";
    if (match.result == 2)
        return std::string(text) + "まで あと " + std::to_string(match.daysToGo) + " 日です。";
    if (text.empty()) return {};
    // a text that ends in its only "." is a sentence already
    if (text.find('.') == text.size() - 1) return std::string(text.substr(0, text.size() - 1));
    return std::string(text) + "です。";
}

std::string eventReportText(const EventRule& rule, const EventMatch& match)
{
    // "7" is the unsupported day form; any other text of the field is none of the forms
    return eventReportText(
        rule[EventText], rule[EventDayForm] == "7" ? DayForm::Unsupported : DayForm::Plain, match);
}

std::optional<std::string> monthlyFilePath(std::string_view pattern, std::uint16_t month)
{
    auto at = pattern.find("%m");
    if (at == std::string_view::npos) at = pattern.find("%M");
    if (at == std::string_view::npos) return std::nullopt;
    std::string digits = std::to_string(month);
    if (digits.size() < 2) digits.insert(0, "0");
    std::string path(pattern.substr(0, at));
    path += digits;
    path += pattern.substr(at + 2);
    return path;
}

// --- the section ---

void MainState::EveBase()
{
    if (settings.YsenE != 0) {
        Eve1();
        Eve2();
    } else {
        Eve2();
        Eve1();
    }
}

void MainState::Eve1()
{
    if (settings.IncME == 0) return;
    const std::uint16_t month = reportDate.month;
    const std::uint16_t next = month >= 12 ? 1 : static_cast<std::uint16_t>(month + 1);
    for (const std::uint16_t forced : {month, next})
        if (auto path = monthlyFilePath(settings.EveMFile, forced)) Eve(std::move(*path), forced);
}

void MainState::Eve2()
{
    readKindBytes(Kind::Event, [this](std::string_view bytes, LineEncoding encoding) {
        expandCommaList(bytes, [this, encoding](std::string_view one) { EveX(one, 0, encoding); });
    });
}

void MainState::Eve(std::string path, std::uint16_t forcedMonth)
{
    readTableBytes(path, [this, forcedMonth](std::string_view bytes, LineEncoding encoding) {
        expandCommaList(bytes, [this, forcedMonth, encoding](std::string_view one) {
            EveX(one, forcedMonth, encoding);
        });
    });
}

void MainState::EveX(std::string_view line, std::uint16_t forcedMonth, LineEncoding encoding)
{
    thread_local FieldList fields;
    thread_local EventLine rule;
    fields.start(line);
    if (readEventLine(fields, encoding, rule) <= 0) return;
    const EventMatch match = evaluateEvent(rule, forcedMonth, facts, holidays);
    if (match.result == 0) return;
    readEventExtras(fields, rule);
    const WinColour colour = entryColour(Kind::Event, rule.colour, false, 0);
    writeEntry(Kind::Event,
               eventReportText(eventLineText(fields, rule, encoding), rule.dayForm, match), colour);
}

void MainState::SpanD(int dayForm, std::int64_t month, std::int64_t rangeEnd,
                      std::int64_t& day) const
{
    if (dayForm < 0 || dayForm > 7) return;
    shiftEventDay(static_cast<DayForm>(dayForm), month, rangeEnd, day, facts, holidays);
}

int MainState::Judge(std::int32_t serial, std::int32_t advance) const
{
    return judgeMatch(serial, facts.today, advance);
}

} // namespace tira
