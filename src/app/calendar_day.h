#pragma once

#include <QDate>
#include <chrono>

namespace gridloom {

// The window's date pickers speak QDate; the jobs they fill speak the standard calendar.

inline QDate toQDate(std::chrono::year_month_day day)
{
    return QDate(int(day.year()), int(unsigned(day.month())), int(unsigned(day.day())));
}

inline std::chrono::year_month_day toCalendarDay(const QDate& date)
{
    return std::chrono::year_month_day{std::chrono::year{date.year()},
                                       std::chrono::month{unsigned(date.month())},
                                       std::chrono::day{unsigned(date.day())}};
}

} // namespace gridloom
