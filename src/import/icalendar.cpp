#include "import/import.h"

#include <algorithm>
#include <ctime>
#include <libical/ical.h>
#include <memory>
#include <optional>
#include <string>

namespace tira {

namespace {

using Component = std::unique_ptr<icalcomponent, decltype(&icalcomponent_free)>;

constexpr short kEnd = ICAL_RECURRENCE_ARRAY_MAX;

struct DayTime
{
    Date date;
    int hour = 0;
    int minute = 0;
    bool allDay = true;
};

std::int32_t serialOf(const Date& d) noexcept
{
    return DayCount(d.year, d.month, d.day);
}

Date dateOfSerial(std::int32_t serial) noexcept
{
    // DayCount counts from year 0; step to the day from a year that holds it
    auto year = static_cast<std::int32_t>(serial / 366);
    while (DayCount(year + 1, 1, 1) <= serial)
        ++year;
    int month = 1;
    while (month < 12 && DayCount(year, month + 1, 1) <= serial)
        ++month;
    return {static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month),
            static_cast<std::uint16_t>(serial - DayCount(year, month, 1) + 1)};
}

// The day and time of `t` on the user's clock: a time with a zone (UTC or a TZID) is moved
// to the local zone, a floating time and a date are taken as written.
DayTime localDayTime(icaltimetype t)
{
    DayTime out;
    out.allDay = t.is_date != 0;
    if (!out.allDay && t.zone != nullptr) {
        const std::time_t seconds = icaltime_as_timet_with_zone(t, t.zone);
        std::tm local{};
#ifdef _WIN32
        localtime_s(&local, &seconds);
#else
        localtime_r(&seconds, &local);
#endif
        out.date = {static_cast<std::uint16_t>(local.tm_year + 1900),
                    static_cast<std::uint16_t>(local.tm_mon + 1),
                    static_cast<std::uint16_t>(local.tm_mday)};
        out.hour = local.tm_hour;
        out.minute = local.tm_min;
        return out;
    }
    out.date = {static_cast<std::uint16_t>(t.year), static_cast<std::uint16_t>(t.month),
                static_cast<std::uint16_t>(t.day)};
    out.hour = t.hour;
    out.minute = t.minute;
    return out;
}

// The last day of an event: the day before DTEND for a date, the day of the last minute
// for a time; the first day when there is no end.
Date lastDay(icalcomponent* event, const DayTime& start)
{
    const icaltimetype end = icalcomponent_get_dtend(event);
    if (icaltime_is_null_time(end) != 0) return start.date;
    const DayTime last = localDayTime(end);
    std::int32_t serial = serialOf(last.date);
    if (last.allDay || (last.hour == 0 && last.minute == 0)) --serial;
    return dateOfSerial(std::max(serial, serialOf(start.date)));
}

std::size_t count(const short* values, std::size_t size) noexcept
{
    std::size_t n = 0;
    while (n < size && values[n] != kEnd)
        ++n;
    return n;
}

std::string twoDigits(int n)
{
    return (n < 10 ? "0" : "") + std::to_string(n);
}

bool mentionsBirthday(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return lower.find("birthday") != std::string::npos || text.find("誕生日") != std::string::npos;
}

// The person of a birthday's summary: "山田太郎の誕生日", "Taro's birthday" without the
// birthday words; the whole summary when nothing is left.
std::string birthdayName(std::string summary)
{
    for (const std::string_view tail : {"さんの誕生日", "の誕生日", "誕生日", "'s birthday",
                                        "'s Birthday", " birthday", " Birthday"})
        if (summary.size() > tail.size() && summary.ends_with(tail)) {
            summary.resize(summary.size() - tail.size());
            break;
        }
    return summary;
}

bool hasProperty(icalcomponent* event, icalproperty_kind kind)
{
    return icalcomponent_get_first_property(event, kind) != nullptr;
}

std::string categories(icalcomponent* event)
{
    std::string all;
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_CATEGORIES_PROPERTY);
         p != nullptr; p = icalcomponent_get_next_property(event, ICAL_CATEGORIES_PROPERTY))
        if (const char* value = icalproperty_get_categories(p)) all += std::string(value) + ",";
    return all;
}

// The day the repetition ends, when it does (UNTIL, or the last of COUNT occurrences).
std::optional<Date> lastOccurrence(const icalrecurrencetype& rule, icaltimetype start)
{
    if (icaltime_is_null_time(rule.until) == 0) return localDayTime(rule.until).date;
    if (rule.count <= 0) return std::nullopt;
    icalrecur_iterator* it = icalrecur_iterator_new(rule, start);
    if (it == nullptr) return std::nullopt;
    icaltimetype last = start;
    for (int i = 0; i < rule.count; ++i) { // COUNT bounds the loop
        const icaltimetype next = icalrecur_iterator_next(it);
        if (icaltime_is_null_time(next) != 0) break;
        last = next;
    }
    icalrecur_iterator_free(it);
    return localDayTime(last).date;
}

class Translation
{
  public:
    Translation(const ImportOptions& options, Imported& into) : m_options(options), m_into(into) {}

    void event(icalcomponent* event)
    {
        const char* summaryText = icalcomponent_get_summary(event);
        m_summary = summaryText != nullptr ? summaryText : "";
        if (TextChanges none; textField(m_summary, TableKind::Schedules, none).empty())
            return skip("no summary", true);
        if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED)
            return skip("cancelled", false);
        const icaltimetype dtstart = icalcomponent_get_dtstart(event);
        if (icaltime_is_null_time(dtstart) != 0 || icaltime_is_valid_time(dtstart) == 0)
            return skip("no start date", true);
        m_start = localDayTime(dtstart);
        m_end = lastDay(event, m_start);
        if (hasProperty(event, ICAL_RECURRENCEID_PROPERTY))
            return skip("a changed occurrence of a repeating event", true);
        icalproperty* rrule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
        if (rrule == nullptr) {
            if (hasProperty(event, ICAL_RDATE_PROPERTY)) return skip("RDATE", true);
            return oneOff();
        }
        if (icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY) != nullptr)
            return skip("several RRULEs", true);
        if (hasProperty(event, ICAL_EXDATE_PROPERTY)) return skip("EXDATE", true);
        if (hasProperty(event, ICAL_RDATE_PROPERTY)) return skip("RDATE", true);
        const icalrecurrencetype rule = icalproperty_get_rrule(rrule);
        if (const auto last = lastOccurrence(rule, dtstart)) {
            // a table rule has no end: only a repetition that is over can be left out
            if (serialOf(*last) < serialOf(m_options.today)) return skip("ended", false);
            return skip(rule.count > 0 ? "COUNT=" + std::to_string(rule.count) + " (the last on " +
                                             dateText(*last) + ")"
                                       : "UNTIL=" + dateText(*last),
                        true);
        }
        if (rule.interval > 1) return skip("INTERVAL=" + std::to_string(rule.interval), true);
        for (const auto& [values, size, name] :
             {std::tuple{rule.by_set_pos, std::size_t{ICAL_BY_SETPOS_SIZE}, "BYSETPOS"},
              std::tuple{rule.by_year_day, std::size_t{ICAL_BY_YEARDAY_SIZE}, "BYYEARDAY"},
              std::tuple{rule.by_week_no, std::size_t{ICAL_BY_WEEKNO_SIZE}, "BYWEEKNO"},
              std::tuple{rule.by_hour, std::size_t{ICAL_BY_HOUR_SIZE}, "BYHOUR"},
              std::tuple{rule.by_minute, std::size_t{ICAL_BY_MINUTE_SIZE}, "BYMINUTE"},
              std::tuple{rule.by_second, std::size_t{ICAL_BY_SECOND_SIZE}, "BYSECOND"}})
            if (count(values, size) > 0) return skip(name, true);
        if (rule.rscale != nullptr) return skip("RSCALE", true);
        switch (rule.freq) {
        case ICAL_YEARLY_RECURRENCE: return yearly(rule, event);
        case ICAL_MONTHLY_RECURRENCE: return monthly(rule);
        case ICAL_WEEKLY_RECURRENCE: return weekly(rule);
        default: return skip(std::string("FREQ=") + icalrecur_freq_to_string(rule.freq), true);
        }
    }

  private:
    static std::string dateText(const Date& d)
    {
        return std::to_string(d.year) + "-" + twoDigits(d.month) + "-" + twoDigits(d.day);
    }

    void skip(std::string reason, bool untranslated)
    {
        m_into.skipped.push_back({m_summary, std::move(reason), untranslated});
    }

    void add(TableKind kind, std::string line)
    {
        m_into.lines.push_back({kind, std::move(line), m_summary});
    }

    void oneOff()
    {
        if (!m_options.all && serialOf(m_start.date) < serialOf(m_options.today))
            return skip("past (--all writes it)", false);
        const std::string time =
            m_start.allDay ? std::string()
                           : std::to_string(m_start.hour) + ":" + twoDigits(m_start.minute);
        add(TableKind::Schedules, scheduleLine(m_start.date, time, m_summary, m_into.changes));
    }

    void yearly(const icalrecurrencetype& rule, icalcomponent* event)
    {
        const std::size_t months = count(rule.by_month, ICAL_BY_MONTH_SIZE);
        const std::size_t days = count(rule.by_month_day, ICAL_BY_MONTHDAY_SIZE);
        if (count(rule.by_day, ICAL_BY_DAY_SIZE) > 0) return skip("BYDAY in a yearly rule", true);
        if (months > 1 || (months == 1 && rule.by_month[0] != m_start.date.month))
            return skip("BYMONTH other than the start's month", true);
        if (days > 1 || (days == 1 && rule.by_month_day[0] != m_start.date.day))
            return skip("BYMONTHDAY other than the start's day", true);
        const Date& s = m_start.date;
        if (serialOf(m_end) > serialOf(s)) {
            // a period: it must end before the same day of the next year comes round
            if (serialOf(m_end) - serialOf(s) >= 365 ||
                (m_end.month == s.month && m_end.day < s.day))
                return skip("a period of a year or more", true);
            return add(TableKind::Weekly, weeklyLine(s.month, s.day, m_end.month, m_end.day,
                                                     m_summary, m_into.changes));
        }
        if (mentionsBirthday(categories(event)) || mentionsBirthday(m_summary))
            return add(TableKind::Birthdays,
                       birthdayLine(s, birthdayName(m_summary), m_into.changes));
        add(TableKind::Events,
            eventLine(std::to_string(s.day), 0, 0, s.month, m_summary, m_into.changes));
    }

    void monthly(const icalrecurrencetype& rule)
    {
        if (count(rule.by_month, ICAL_BY_MONTH_SIZE) > 0) return skip("BYMONTH", true);
        const std::size_t days = count(rule.by_month_day, ICAL_BY_MONTHDAY_SIZE);
        const std::size_t weekdays = count(rule.by_day, ICAL_BY_DAY_SIZE);
        if (days > 1) return skip("several BYMONTHDAY days", true);
        if (weekdays > 1) return skip("several BYDAY days", true);
        if (days == 1 && weekdays == 1) return skip("BYMONTHDAY with BYDAY", true);
        if (weekdays == 1) {
            const int position = icalrecurrencetype_day_position(rule.by_day[0]);
            const int weekday = icalrecurrencetype_day_day_of_week(rule.by_day[0]);
            if (position >= 1 && position <= 4)
                return add(TableKind::Events,
                           eventLine("0", weekday, position, 0, m_summary, m_into.changes));
            if (position <= -1 && position >= -4) {
                // the n-th last weekday: one of the seven days counted from the month's end
                // that ends week n from the end (a week field counted from the end is never
                // due)
                std::string list;
                for (int k = 7 * (-position - 1) + 1; k <= 7 * -position; ++k)
                    list += (list.empty() ? "-" : ",-") + std::to_string(k);
                return add(TableKind::Events,
                           eventLine(list, weekday, 0, 0, m_summary, m_into.changes));
            }
            return skip("BYDAY=" +
                            std::string(icalrecur_weekday_to_string(
                                icalrecurrencetype_day_day_of_week(rule.by_day[0]))) +
                            " without a week 1 to 4 or -1 to -4",
                        true);
        }
        const int day = days == 1 ? rule.by_month_day[0] : m_start.date.day;
        // days 29 to 31 are not in every month, where the rule skips the month; the table
        // would give the first days of the next
        if (day > 28 || day < -28)
            return skip("BYMONTHDAY=" + std::to_string(day) + " is not in every month", true);
        add(TableKind::Events, eventLine(std::to_string(day), 0, 0, 0, m_summary, m_into.changes));
    }

    void weekly(const icalrecurrencetype& rule)
    {
        const std::size_t weekdays = count(rule.by_day, ICAL_BY_DAY_SIZE);
        if (count(rule.by_month, ICAL_BY_MONTH_SIZE) > 0) return skip("BYMONTH", true);
        if (weekdays > 1) return skip("several BYDAY days", true);
        const int weekday = weekdays == 1 ? icalrecurrencetype_day_day_of_week(rule.by_day[0])
                                          : weekdayOf(serialOf(m_start.date));
        add(TableKind::Events, eventLine("0", weekday, 0, 0, m_summary, m_into.changes));
    }

    const ImportOptions& m_options;
    Imported& m_into;
    std::string m_summary;
    DayTime m_start;
    Date m_end;
};

bool looksLikeCalendar(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    const auto first = bytes.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return false;
    std::string head(bytes.substr(first, 15));
    for (char& c : head)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return head == "BEGIN:VCALENDAR";
}

} // namespace

bool importCalendar(std::string_view bytes, const ImportOptions& options, Imported& into,
                    std::string& problem)
{
    if (!looksLikeCalendar(bytes)) {
        problem = "neither contact cards (BEGIN:VCARD) nor a calendar (BEGIN:VCALENDAR)";
        return false;
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    const std::string text(bytes); // the parser wants a C string
    Component root(icalparser_parse_string(text.c_str()), &icalcomponent_free);
    if (!root) {
        problem = "not a calendar libical can read";
        return false;
    }
    Translation translation(options, into);
    // a file may hold several calendars; the parser then wraps them in an XROOT
    const auto eachCalendar = [&](icalcomponent* calendar) {
        for (icalcomponent* event =
                 icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
             event != nullptr;
             event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
            translation.event(event);
    };
    if (icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT) {
        eachCalendar(root.get());
    } else {
        for (icalcomponent* calendar =
                 icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT);
             calendar != nullptr;
             calendar = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT))
            eachCalendar(calendar);
    }
    return true;
}

} // namespace tira
