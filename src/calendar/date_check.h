#pragma once

// A date typed by the user, in the date dialog or as --date: which of its parts are out of
// range.

namespace tira {

struct DateCheck
{
    bool yearOk = true;  // 1..65535
    bool monthOk = true; // 1..12
    bool dayOk = true;   // 1 to the month's length; 1..31 when the month itself is wrong
    bool valid() const noexcept { return yearOk && monthOk && dayOk; }
};

DateCheck checkDate(int year, int month, int day) noexcept;

} // namespace tira
