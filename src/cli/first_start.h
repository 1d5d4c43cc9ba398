#pragma once

#include "settings/settings.h"

#include <string>
#include <string_view>
#include <vector>

namespace tira {

// The lines that start a new home: where it is, how tables are added, where the sample
// tables are installed (when they are) and how contacts and calendars come in. Empty as
// soon as one table of any kind is listed (a monthly file switched on counts too).
std::vector<std::string> firstStartHint(const Settings& settings, std::string_view home,
                                        std::string_view program);

// The installed sample home (examples/home) of the program in folder `program`; empty when
// the program runs from no installation that has one.
std::string installedExamplesFolder(std::string_view program);

} // namespace tira
