#include "calendar/date_check.h"

#include "calendar/tira0.h"

namespace tira {

DateCheck checkDate(int year, int month, int day) noexcept
{
    DateCheck check;
    check.monthOk = month >= 1 && month <= 12;
    // without a month there is no month length: any day 1..31 passes
    const int length = check.monthOk ? daysInMonth(year, month) : 31;
    check.dayOk = day >= 1 && day <= length;
    check.yearOk = year >= 1 && year <= 65535;
    return check;
}

} // namespace tira
