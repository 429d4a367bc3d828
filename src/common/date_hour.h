#pragma once

#include <chrono>

namespace gridloom {

/// A date and whole hour on the UTC calendar, counted in hours since the start of 1970.
using DateHour = std::chrono::sys_time<std::chrono::hours>;

/// The calendar day a date-hour falls on.
inline std::chrono::year_month_day calendarDay(DateHour hour)
{
    return std::chrono::year_month_day{std::chrono::floor<std::chrono::days>(hour)};
}

/// The hour of the day, 0 to 23.
inline int hourOfDay(DateHour hour)
{
    return static_cast<int>((hour - std::chrono::floor<std::chrono::days>(hour)).count());
}

} // namespace gridloom
