#pragma once

#include "calendar/tira0.h"

#include <cstdint>

namespace tira {

// One reading of the local clock: a date and a time of day.
struct ClockReading
{
    Date date{2000, 1, 1};
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;

    constexpr ClockReading() noexcept = default;
    constexpr ClockReading(std::uint16_t year, std::uint16_t month, std::uint16_t day,
                           std::uint16_t hourOfDay = 0, std::uint16_t minuteOfHour = 0) noexcept
        : date{year, month, day}, hour(hourOfDay), minute(minuteOfHour)
    {
    }
};

// The clock the report reads; injected so that tests fix the date and time.
class Clock
{
  public:
    virtual ~Clock() = default;
    virtual ClockReading now() const = 0;
};

// The system's local time.
class SystemClock : public Clock
{
  public:
    ClockReading now() const override;
};

// A clock that always answers the same reading.
class FixedClock : public Clock
{
  public:
    explicit FixedClock(ClockReading reading) : m_reading(reading) {}
    ClockReading now() const override { return m_reading; }
    void set(ClockReading reading) { m_reading = reading; }

  private:
    ClockReading m_reading;
};

} // namespace tira
