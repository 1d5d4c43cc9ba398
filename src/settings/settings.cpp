#include "settings/settings.h"

#include "text/paths.h"

namespace tira {

std::uint8_t& Settings::switchOf(Kind kind)
{
    switch (kind) {
    case Kind::Birthday: return Birthday;
    case Kind::Schedule: return Schedule;
    case Kind::Event: return Event;
    case Kind::History: return History;
    case Kind::Week: return Week;
    }
    return Birthday;
}

std::string defaultEditor()
{
#ifdef _WIN32
    return "notepad.exe";
#else
    return "xdg-open";
#endif
}

// Not finished: defaults only; the ini reader and writer come next.
Settings loadSettings(const std::string& /*iniPath*/, const std::string& home)
{
    Settings s;
    s.Edit = defaultEditor();
    s.EveMFile = homePrefix(home) + "EVENT%m.TBL";
    s.HisMFile = homePrefix(home) + "HIST%m.TBL";
    const std::string holiday = homePrefix(home) + "TIRAHOLI.TBL";
    if (pathExists(holiday)) s.Holiday = holiday;
    return s;
}

void saveSettings(const Settings& /*settings*/, const std::string& /*iniPath*/) {}

} // namespace tira
