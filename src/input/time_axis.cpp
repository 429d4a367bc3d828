#include "input/time_axis.h"

#include "common/date_hour.h"
#include "common/date_hour_stamp.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <iterator>

namespace gridloom {

namespace {

using namespace std::chrono;

enum class Unit { Hour, Day, Month, Year };

struct Step {
    Unit unit;
    int count;
    /// Roughly how many hours one step spans, to pick the step.
    double hours;
};

constexpr double hoursPerMonth = 730.5;
constexpr double hoursPerYear = 8766.0;

constexpr std::array steps = {Step{Unit::Hour, 1, 1},
                              Step{Unit::Hour, 2, 2},
                              Step{Unit::Hour, 3, 3},
                              Step{Unit::Hour, 6, 6},
                              Step{Unit::Hour, 12, 12},
                              Step{Unit::Day, 1, 24},
                              Step{Unit::Day, 2, 48},
                              Step{Unit::Day, 5, 120},
                              Step{Unit::Day, 10, 240},
                              Step{Unit::Month, 1, hoursPerMonth},
                              Step{Unit::Month, 2, 2 * hoursPerMonth},
                              Step{Unit::Month, 3, 3 * hoursPerMonth},
                              Step{Unit::Month, 6, 6 * hoursPerMonth},
                              Step{Unit::Year, 1, hoursPerYear},
                              Step{Unit::Year, 2, 2 * hoursPerYear},
                              Step{Unit::Year, 5, 5 * hoursPerYear},
                              Step{Unit::Year, 10, 10 * hoursPerYear},
                              Step{Unit::Year, 20, 20 * hoursPerYear},
                              Step{Unit::Year, 50, 50 * hoursPerYear},
                              Step{Unit::Year, 100, 100 * hoursPerYear},
                              Step{Unit::Year, 200, 200 * hoursPerYear},
                              Step{Unit::Year, 500, 500 * hoursPerYear},
                              Step{Unit::Year, 1000, 1000 * hoursPerYear}};

constexpr std::array<const char*, 12> monthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

double hourOf(sys_days day)
{
    return static_cast<double>(duration_cast<hours>(day.time_since_epoch()).count());
}

std::string monthName(month m)
{
    return monthNames[static_cast<unsigned>(m) - 1];
}

std::string yearText(year y)
{
    return std::to_string(static_cast<int>(y));
}

std::string dayText(year_month_day day)
{
    return std::to_string(static_cast<unsigned>(day.day())) + " " + monthName(day.month()) + " " +
           yearText(day.year());
}

// Whole months from `from` to `to` in steps of `count`, starting at a month that `count`
// divides (counted from January), each with its label.
std::vector<AxisTick> monthTicks(year_month from, year_month to, int count,
                                 std::string (*label)(year_month))
{
    std::vector<AxisTick> ticks;
    const int firstIndex = static_cast<int>(static_cast<unsigned>(from.month())) - 1;
    year_month at = from - months{firstIndex % count};
    for (; at <= to; at += months{count})
        ticks.push_back(AxisTick{hourOf(sys_days{at / 1}), label(at)});
    return ticks;
}

std::vector<AxisTick> yearTicks(year from, year to, int count)
{
    std::vector<AxisTick> ticks;
    const int first = static_cast<int>(from);
    // Floored, so years before 0 also start on a multiple of the step.
    const int start = first - ((first % count) + count) % count;
    for (int y = start; y <= static_cast<int>(to); y += count)
        ticks.push_back(AxisTick{hourOf(sys_days{year{y} / January / 1}), yearText(year{y})});
    return ticks;
}

} // namespace

AxisTicks axisTicks(double first, double last, double spacingHours)
{
    AxisTicks result;
    if (!(last > first) || !(spacingHours > 0.0))
        return result;
    Step step = steps.back();
    for (const Step& candidate : steps) {
        if (candidate.hours >= spacingHours) {
            step = candidate;
            break;
        }
    }
    const DateHour firstHour{hours{static_cast<std::int64_t>(std::floor(first))}};
    const DateHour lastHour{hours{static_cast<std::int64_t>(std::ceil(last))}};
    const year_month_day firstDay = calendarDay(firstHour);
    const year_month_day lastDay = calendarDay(lastHour);
    const year_month firstMonth = firstDay.year() / firstDay.month();
    const year_month lastMonth = lastDay.year() / lastDay.month();

    switch (step.unit) {
    case Unit::Hour: {
        const auto start = firstHour.time_since_epoch().count();
        for (auto h = start - ((start % step.count) + step.count) % step.count;
             h <= lastHour.time_since_epoch().count(); h += step.count)
            result.fine.push_back(
                AxisTick{static_cast<double>(h), twoDigits(hourOfDay(DateHour{hours{h}})) + ":00"});
        for (sys_days day = floor<days>(firstHour); day <= floor<days>(lastHour); day += days{1})
            result.coarse.push_back(AxisTick{hourOf(day), dayText(year_month_day{day})});
        break;
    }
    case Unit::Day: {
        for (year_month shown = firstMonth; shown <= lastMonth; shown += months{1}) {
            const unsigned length = static_cast<unsigned>((shown / std::chrono::last).day());
            // The last tick of a month keeps at least half a step from the next month's first.
            for (unsigned d = 1; d == 1 || d + static_cast<unsigned>(step.count) / 2 <= length;
                 d += static_cast<unsigned>(step.count))
                result.fine.push_back(
                    AxisTick{hourOf(sys_days{shown / day{d}}), std::to_string(d)});
        }
        result.coarse = monthTicks(firstMonth, lastMonth, 1, [](year_month m) {
            return monthName(m.month()) + " " + yearText(m.year());
        });
        break;
    }
    case Unit::Month:
        result.fine = monthTicks(firstMonth, lastMonth, step.count,
                                 [](year_month m) { return monthName(m.month()); });
        result.coarse = yearTicks(firstDay.year(), lastDay.year(), 1);
        break;
    case Unit::Year:
        result.fine = yearTicks(firstDay.year(), lastDay.year(), step.count);
        break;
    }

    // The calendar steps above start and end on whole units; only the view's ticks are kept.
    std::erase_if(result.fine,
                  [&](const AxisTick& tick) { return tick.hour < first || tick.hour > last; });
    std::erase_if(result.coarse, [&](const AxisTick& tick) { return tick.hour > last; });
    const auto context = std::find_if(result.coarse.rbegin(), result.coarse.rend(),
                                      [&](const AxisTick& tick) { return tick.hour <= first; });
    if (context != result.coarse.rend())
        result.coarse.erase(result.coarse.begin(), std::prev(context.base()));
    return result;
}

} // namespace gridloom
