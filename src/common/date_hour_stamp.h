#pragma once

#include "common/date_hour.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace gridloom {

/// The decimal digits of n, with one leading "0" when n is below 10 (7 gives "07").
std::string twoDigits(int n);

/// YYYYMMDDHH of a calendar day and a whole hour (5 March 2002, hour 7 gives "2002030507").
std::string dateHourStamp(std::chrono::year_month_day date, int hour);

/// YYYYMMDDHH of a date-hour.
std::string dateHourStamp(DateHour hour);

/// The date-hour of a YYYYMMDDHH stamp: nothing unless it is ten digits naming a real day and
/// an hour from 00 to 23. The one reading of the form, for headers and control files alike.
std::optional<DateHour> parseDateHourStamp(std::string_view stamp);

} // namespace gridloom
