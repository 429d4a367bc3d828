#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace gridloom {

/// What Gridloom takes from the header of one 3D.DAT file. Every member has an initializer, so
/// a record may name only the members it needs.
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
    /// Horizontal grid spacing; a smaller value is a finer grid.
    double gridSpacingKm = 0.0;
    /// First hour of data, YYYYMMDDHH exactly as written.
    std::string startStamp{};
    std::int32_t hourCount = 0;
    /// Extent-line fields 1 to 10 as written: i1, j1, i2, j2, k1, k2, lon1, lon2, lat1, lat2.
    std::array<std::string, 10> extentText{};
    /// The grid line as written, which names the grid's map projection; only the domain map
    /// reads it.
    std::string gridLineText{};
    std::string path{};
};

} // namespace gridloom
