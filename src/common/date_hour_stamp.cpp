#include "common/date_hour_stamp.h"

namespace gridloom {

std::string twoDigits(int n)
{
    return n < 10 ? "0" + std::to_string(n) : std::to_string(n);
}

std::string dateHourStamp(std::chrono::year_month_day date, int hour)
{
    return std::to_string(static_cast<int>(date.year())) +
           twoDigits(static_cast<int>(static_cast<unsigned>(date.month()))) +
           twoDigits(static_cast<int>(static_cast<unsigned>(date.day()))) + twoDigits(hour);
}

} // namespace gridloom
