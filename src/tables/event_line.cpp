#include "tables/event_line.h"

#include "tables/fields.h"

#include <cstdint>

namespace tira {

namespace {

constexpr auto npos = std::string_view::npos;

} // namespace

EventTail eventTail(const EventLine& rule, FieldList& fields)
{
    fields.start(rule.tail);
    EventTail tail;
    if (!fields.has(0)) return tail;
    tail.text = fields.unsplit();
    // a colour field holds "&" anywhere; without it the field is the text's first word. The
    // colour words are ASCII, so a field that is not one needs no decoding: it matches none
    if (const std::string_view field = fields.field(0); field.find('&') != std::string_view::npos) {
        tail.colour = field.starts_with('&') ? colourCode(field.substr(1)) : 'A';
        tail.text = fields.unsplit();
    }
    return tail;
}

std::string eventText(std::string_view bytes, LineEncoding encoding)
{
    FieldList fields; // only shown texts come here
    fields.split(bytes);
    std::string text;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) text.push_back(' ');
        appendText(text, fields[i], encoding);
    }
    for (char& c : text)
        if (c == '_') c = ' ';
    return text;
}

void detail::expandCommaListOf(std::string_view line,
                               const std::function<void(std::string_view)>& onLine)
{
    const auto firstComma = line.find(',');
    if (firstComma == npos) {
        onLine(line);
        return;
    }
    // the fields before the list: everything up to the last space before the first comma
    std::string prefix;
    const auto lastSpace = line.substr(0, firstComma).rfind(' ');
    if (lastSpace != npos) prefix.assign(line.substr(0, lastSpace + 1));
    std::string_view list = line.substr(prefix.size());

    // a shift marker in front of the list belongs to every item
    for (const char marker : {'>', '<'}) {
        if (!list.starts_with(marker)) continue;
        list.remove_prefix(1);
        prefix.push_back(marker);
        if (list.starts_with(marker)) {
            list.remove_prefix(1);
            prefix.push_back(marker);
        }
    }

    std::string produced;
    // every pass drops at least the comma it stands on, so the loop ends
    for (auto comma = list.find(','); comma != npos; comma = list.find(',')) {
        const std::string_view item = list.substr(0, comma);
        const auto space = list.find(' ');
        const std::string_view rest = space == npos ? list : list.substr(space + 1);
        produced.assign(prefix);
        produced += item;
        produced.push_back(' ');
        produced += rest;
        list.remove_prefix(comma + 1);
        onLine(produced);
    }
    produced.assign(prefix);
    produced += list;
    onLine(produced);
}

} // namespace tira
