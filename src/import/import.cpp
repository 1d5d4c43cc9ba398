#include "import/import.h"

#include "import/vcard.h"

#include <array>

namespace tira {

namespace {

void importCards(const std::vector<Card>& cards, Imported& into)
{
    for (const Card& card : cards) {
        for (const std::string& bad : card.badDates)
            into.skipped.push_back({card.name, "no month and day: " + bad, true});
        if (!card.birthday && card.anniversaries.empty()) {
            if (card.badDates.empty()) into.skipped.push_back({card.name, "without a date", false});
            continue;
        }
        if (TextChanges none; textField(card.name, TableKind::Birthdays, none).empty()) {
            into.skipped.push_back({"(no name)", "a contact without a name", true});
            continue;
        }
        if (const auto& b = card.birthday) {
            if (b->year) {
                const Date date{static_cast<std::uint16_t>(*b->year),
                                static_cast<std::uint16_t>(b->month),
                                static_cast<std::uint16_t>(b->day)};
                into.lines.push_back(
                    {TableKind::Birthdays, birthdayLine(date, card.name, into.changes), card.name});
            } else {
                into.lines.push_back({TableKind::Events,
                                      eventLine(std::to_string(b->day), 0, 0, b->month,
                                                card.name + " の誕生日", into.changes),
                                      card.name});
            }
        }
        for (const CardDate& a : card.anniversaries)
            into.lines.push_back({TableKind::Events,
                                  eventLine(std::to_string(a.day), 0, 0, a.month,
                                            card.name + " の記念日", into.changes),
                                  card.name});
    }
}

} // namespace

bool importBytes(std::string_view bytes, const ImportOptions& options, Imported& into,
                 std::string& problem)
{
    if (looksLikeVcard(bytes)) {
        importCards(readVcards(bytes), into);
        return true;
    }
    return importCalendar(bytes, options, into, problem);
}

std::string_view groupHeading(TableKind kind) noexcept
{
    switch (kind) {
    case TableKind::Birthdays: return "# 誕生日 (birthdays)";
    case TableKind::Schedules: return "# スケジュール (schedules)";
    case TableKind::Events: return "# イベント (events)";
    case TableKind::Weekly: return "# 週間 (weekly items)";
    }
    return "#";
}

std::string groupedLines(const Imported& imported)
{
    std::string out;
    for (const TableKind kind :
         {TableKind::Birthdays, TableKind::Schedules, TableKind::Events, TableKind::Weekly}) {
        bool headed = false;
        for (const ImportedLine& line : imported.lines) {
            if (line.kind != kind) continue;
            if (!headed) {
                if (!out.empty()) out += "\r\n";
                out += groupHeading(kind);
                out += "\r\n";
                headed = true;
            }
            out += line.line + "\r\n";
        }
    }
    return out;
}

} // namespace tira
