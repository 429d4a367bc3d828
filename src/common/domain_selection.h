#pragma once

#include <array>

namespace gridloom {

/// The confirmed output domain. What the six bounds mean depends on the coordinate type in
/// which they were entered: X/Y km, longitudes/latitudes, or grid indices i, j, k.
struct DomainSelection {
    /// first axis start, end; second axis start, end; k start, end
    std::array<double, 6> bounds{};
    /// True when the last OK of the coordinate dialog was accepted and stored the bounds.
    bool domainValid = false;
};

} // namespace gridloom
