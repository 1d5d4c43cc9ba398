#include "cli/agenda_ics.h"

#ifdef TIRA_HAVE_LIBICAL

#include "text/paths.h"
#include "text/visible_text.h"

#include <cstdint>
#include <cstdio>
#include <libical/ical.h>
#include <map>
#include <tuple>

namespace tira {

namespace {

std::uint64_t fnv1a(std::uint64_t hash, std::string_view bytes) noexcept
{
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    hash ^= 0xFF; // field separator: no text ends in a lone 0xFF byte of UTF-8
    hash *= 0x100000001b3ULL;
    return hash;
}

std::string fileName(const std::string& path)
{
    return fromFsPath(toFsPath(path).filename());
}

icaltimetype dateOf(Date date) noexcept
{
    icaltimetype time = icaltime_null_date();
    time.year = date.year;
    time.month = date.month;
    time.day = date.day;
    return time;
}

// One event: an entry on one day, or a weekly item over consecutive days.
struct Event
{
    const AgendaEntry* entry;
    Date last;
    std::size_t occurrence; // among the identical entries of its first day
};

std::string uidOf(const Event& event)
{
    const AgendaEntry& e = *event.entry;
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    hash = fnv1a(hash, agendaKindWord(e.kind));
    hash = fnv1a(hash, fileName(*e.file));
    hash = fnv1a(hash, e.text);
    char date[32];
    std::snprintf(date, sizeof date, "%u-%u-%u#%zu", unsigned{e.date.year}, unsigned{e.date.month},
                  unsigned{e.date.day}, event.occurrence);
    hash = fnv1a(hash, date);
    char uid[48];
    std::snprintf(uid, sizeof uid, "%016llx@tira", static_cast<unsigned long long>(hash));
    return uid;
}

icalcomponent* veventOf(const Event& event, icaltimetype stamp)
{
    const AgendaEntry& e = *event.entry;
    icalcomponent* vevent = icalcomponent_new_vevent();
    icalcomponent_add_property(vevent, icalproperty_new_uid(uidOf(event).c_str()));
    icalcomponent_add_property(vevent, icalproperty_new_dtstamp(stamp));
    icalcomponent_add_property(vevent, icalproperty_new_dtstart(dateOf(e.date)));
    icalcomponent_add_property(vevent, icalproperty_new_dtend(dateOf(nextDay(event.last))));
    // iCalendar text holds no control characters: they show in caret notation
    const std::string summary = visibleText(e.text);
    icalcomponent_add_property(vevent, icalproperty_new_summary(summary.c_str()));
    icalcomponent_add_property(
        vevent, icalproperty_new_categories(std::string(agendaKindWord(e.kind)).c_str()));
    const std::string where = *e.file + ":" + std::to_string(e.line);
    icalcomponent_add_property(vevent, icalproperty_new_description(where.c_str()));
    icalcomponent_add_property(vevent, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    if (e.stop) {
        icalcomponent* alarm = icalcomponent_new_valarm();
        icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        icalcomponent_add_property(alarm, icalproperty_new_description(summary.c_str()));
        icaltriggertype trigger{};
        trigger.time = icaltime_null_time();
        trigger.duration = icaldurationtype_from_int(9 * 60 * 60); // 09:00 of the day
        icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
        icalcomponent_add_component(vevent, alarm);
    }
    return vevent;
}

// Consecutive days of one weekly item (same file, line, text and place among its twins)
// become one event; every other entry is an event of its own.
std::vector<Event> eventsOf(const std::vector<AgendaEntry>& entries)
{
    using Key =
        std::tuple<AgendaKind, std::string_view, std::uint32_t, std::string_view, std::size_t>;
    std::vector<Event> events;
    std::map<Key, std::size_t> open; // weekly item -> its event
    // twins of the current day: same kind, file name and text
    std::map<std::tuple<AgendaKind, std::string, std::string_view>, std::size_t> sameDay;
    Date day{};
    for (const AgendaEntry& entry : entries) {
        if (!(entry.date == day)) {
            day = entry.date;
            sameDay.clear();
        }
        const std::size_t occurrence = sameDay[{entry.kind, fileName(*entry.file), entry.text}]++;
        const Key key{entry.kind, *entry.file, entry.line, entry.text, occurrence};
        if (entry.kind == AgendaKind::Weekly) {
            const auto it = open.find(key);
            if (it != open.end() && nextDay(events[it->second].last) == entry.date) {
                events[it->second].last = entry.date;
                continue;
            }
            open[key] = events.size();
        }
        events.push_back({&entry, entry.date, occurrence});
    }
    return events;
}

} // namespace

std::optional<std::string> agendaIcs(const std::vector<AgendaEntry>& entries)
{
    icalcomponent* calendar = icalcomponent_new_vcalendar();
    icalcomponent_add_property(calendar, icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar,
                               icalproperty_new_prodid("-//TIRA//TIRA " TIRA_VERSION "//JA"));
    icalproperty* name = icalproperty_new_x("TIRA");
    icalproperty_set_x_name(name, "X-WR-CALNAME");
    icalcomponent_add_property(calendar, name);
    const icaltimetype stamp = icaltime_current_time_with_zone(icaltimezone_get_utc_timezone());
    for (const Event& event : eventsOf(entries))
        icalcomponent_add_component(calendar, veventOf(event, stamp));
    char* text = icalcomponent_as_ical_string_r(calendar);
    std::string out = text != nullptr ? text : "";
    icalmemory_free_buffer(text);
    icalcomponent_free(calendar);
    return out;
}

} // namespace tira

#else

namespace tira {

std::optional<std::string> agendaIcs(const std::vector<AgendaEntry>& /*entries*/)
{
    return std::nullopt;
}

} // namespace tira

#endif
