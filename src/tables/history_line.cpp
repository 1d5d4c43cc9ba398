#include "tables/history_line.h"

#include "tables/fields.h"

namespace tira {

HistoryTail historyTail(const HistoryLine& line, FieldList& fields)
{
    fields.start(line.tail);
    HistoryTail tail;
    if (line.kindLetter != 'X' && fields.has(0)) tail.text = fields.field(0);
    if (fields.has(1)) tail.colour = colourCode(fields.field(1));
    return tail;
}

} // namespace tira
