#pragma once

#include <string>
#include <vector>

// The date labels of a time axis that may show an hour or centuries: calendar-aligned ticks
// (whole hours, days of the month, months, years) as dense as the labels allow.
namespace gridloom {

/// A labelled place on the axis, in hours since the start of 1970.
struct AxisTick {
    double hour = 0.0;
    std::string label;
};

/// The ticks of one view: the fine ones, and the coarser ones that say which day, month or year
/// the fine labels belong to (none when the fine labels are years).
struct AxisTicks {
    std::vector<AxisTick> fine;
    std::vector<AxisTick> coarse;
};

/// The ticks for a view from `first` to `last` (hours since 1970), where two fine labels must
/// lie at least `spacingHours` apart. The coarse ticks start with the one at or before `first`,
/// so the view's first fine label always has its context.
AxisTicks axisTicks(double first, double last, double spacingHours);

} // namespace gridloom
