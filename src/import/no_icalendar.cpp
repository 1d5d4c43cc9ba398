#include "import/import.h"

namespace tira {

// A build without libical (the MinGW cross build) reads contact cards only.
bool importCalendar(std::string_view /*bytes*/, const ImportOptions& /*options*/,
                    Imported& /*into*/, std::string& problem)
{
    problem = "this build of TIRA reads no calendars (built without libical)";
    return false;
}

} // namespace tira
