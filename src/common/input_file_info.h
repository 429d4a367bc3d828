#pragma once

#include "common/date_hour.h"
#include "common/grid_definition.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace gridloom {

/// The numbers of grid cells along x, y and the vertical.
struct GridCells {
    std::int32_t nx = 0;
    std::int32_t ny = 0;
    std::int32_t nz = 0;
    bool operator==(const GridCells&) const = default;
};

/// Where a grid's first cell lies, in kilometres east and north of its projection's origin.
struct GridOrigin {
    double xKm = 0.0;
    double yKm = 0.0;
    bool operator==(const GridOrigin&) const = default;
};

/// What Gridloom takes from the header of one 3D.DAT file, each fact read once by the header
/// reader into the type that says what it is. Every member has an initializer, so a record may
/// name only the members it needs.
struct InputFileInfo {
    std::int16_t iStart = 0;
    std::int16_t iEnd = 0;
    std::int16_t jStart = 0;
    std::int16_t jEnd = 0;
    std::int16_t levelStart = 0;
    std::int16_t levelEnd = 0;
    double latStart = 0.0;
    double latEnd = 0.0;
    double lonStart = 0.0;
    double lonEnd = 0.0;
    /// Horizontal grid spacing, the grid line's fourth field from the end; a smaller value is a
    /// finer grid. Where that field is run together with its neighbours only `grid` has the
    /// true spacing.
    double gridSpacingKm = 0.0;
    std::int32_t hourCount = 0;
    /// Extent-line fields 1 to 10 as written: i1, j1, i2, j2, k1, k2, lon1, lon2, lat1, lat2.
    std::array<std::string, 10> extentText{};
    std::string path{};
    /// The first hour of data, from the header's YYYYMMDDHH stamp.
    DateHour firstHour{};
    /// The grid's cell counts and the south-west corner of its first cell, where the grid line
    /// gives them as numbers; its spacing is gridSpacingKm.
    std::optional<GridCells> gridCells{};
    std::optional<GridOrigin> gridOriginKm{};
    /// The grid the grid line defines, or why it defines none; only the domain map draws it.
    HeaderGrid grid{};

    /// The last hour of data: firstHour plus (hourCount - 1) hours on the calendar.
    DateHour lastHour() const
    {
        return firstHour + std::chrono::hours{std::int64_t{hourCount} - 1};
    }
};

} // namespace gridloom
