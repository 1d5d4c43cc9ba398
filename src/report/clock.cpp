#include "report/clock.h"

#include <ctime>

namespace tira {

ClockReading SystemClock::now() const
{
    const std::time_t t = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    ClockReading r;
    r.year = static_cast<std::uint16_t>(local.tm_year + 1900);
    r.month = static_cast<std::uint16_t>(local.tm_mon + 1);
    r.day = static_cast<std::uint16_t>(local.tm_mday);
    r.hour = static_cast<std::uint16_t>(local.tm_hour);
    r.minute = static_cast<std::uint16_t>(local.tm_min);
    return r;
}

} // namespace tira
