#pragma once

// A table file's lines as UTF-8 text, decoded as the report decodes a shown text.

#include "text/cp932.h"
#include "text/table_reader.h"

#include <string>
#include <string_view>

namespace tira::test {

// The next line of `reader` into `line`; false at the end.
inline bool nextLine(TableReader& reader, std::string& line)
{
    std::string_view bytes;
    if (!reader.nextBytes(bytes)) return false;
    line.clear();
    appendText(line, bytes, reader.lineEncoding());
    return true;
}

} // namespace tira::test
