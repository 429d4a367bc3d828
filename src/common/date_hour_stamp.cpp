#include "common/date_hour_stamp.h"

#include <algorithm>

namespace gridloom {

namespace {

int digitsValue(std::string_view text)
{
    int value = 0;
    for (const char c : text)
        value = value * 10 + (c - '0');
    return value;
}

} // namespace

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

std::string dateHourStamp(DateHour hour)
{
    return dateHourStamp(calendarDay(hour), hourOfDay(hour));
}

std::optional<DateHour> parseDateHourStamp(std::string_view stamp)
{
    using namespace std::chrono;
    const bool digits =
        std::all_of(stamp.begin(), stamp.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (stamp.size() != 10 || !digits)
        return std::nullopt;
    const year_month_day date{year{digitsValue(stamp.substr(0, 4))},
                              month{static_cast<unsigned>(digitsValue(stamp.substr(4, 2)))},
                              day{static_cast<unsigned>(digitsValue(stamp.substr(6, 2)))}};
    const int hour = digitsValue(stamp.substr(8, 2));
    if (!date.ok() || hour > 23)
        return std::nullopt;
    return sys_days{date} + hours{hour};
}

} // namespace gridloom
