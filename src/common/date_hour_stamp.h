#pragma once

#include <chrono>
#include <string>

namespace gridloom {

/// The decimal digits of n, with one leading "0" when n is below 10 (7 gives "07").
std::string twoDigits(int n);

/// YYYYMMDDHH of a calendar day and a whole hour (5 March 2002, hour 7 gives "2002030507").
std::string dateHourStamp(std::chrono::year_month_day date, int hour);

} // namespace gridloom
