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
    return {static_cast<std::uint16_t>(local.tm_year + 1900),
            static_cast<std::uint16_t>(local.tm_mon + 1), static_cast<std::uint16_t>(local.tm_mday),
            static_cast<std::uint16_t>(local.tm_hour), static_cast<std::uint16_t>(local.tm_min)};
}

} // namespace tira
