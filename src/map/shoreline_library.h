#pragma once

#include "map/geometry.h"

#include <array>
#include <compare>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace gridloom {

/// GSHHG's resolutions that Debian's gmt-gshhg-low package ships, coarsest first.
enum class ShoreResolution { Crude, Low, Intermediate };

/// What a line of the shoreline library traces.
enum class ShoreKind { Coast, Lake, Border };

/// One traced line in longitude/latitude degrees.
struct ShoreLine {
    ShoreKind kind = ShoreKind::Coast;
    Polyline points;
};

/// One bin of one resolution, with the number of whole turns its longitudes are moved by so
/// that they fall in the longitudes asked for.
struct ShoreBin {
    ShoreResolution resolution = ShoreResolution::Crude;
    int index = 0;
    int turns = 0;
    // NOLINTNEXTLINE(modernize-use-nullptr): clang-tidy 14 misreads a defaulted <=>
    auto operator<=>(const ShoreBin&) const = default;
};

/// The folder Debian installs GSHHG's binned netCDF files into.
std::string defaultShoreFolder();

/// The resolution that suits a view this many kilometres wide: crude for a continent,
/// intermediate for a domain of some hundred kilometres.
ShoreResolution resolutionForWidth(double widthKm);

/// Coastlines, lakes and national borders from GSHHG's binned files (binned_GSHHS_<r>.nc and
/// binned_border_<r>.nc), read through the netCDF library. A file is opened the first time
/// one of its bins is wanted, and each bin is read once and kept.
class ShoreLibrary final {
public:
    explicit ShoreLibrary(std::string folder = defaultShoreFolder());
    ~ShoreLibrary();
    ShoreLibrary(const ShoreLibrary&) = delete;
    ShoreLibrary& operator=(const ShoreLibrary&) = delete;

    /// Where the library looks for its files.
    const std::string& folder() const { return m_folder; }
    /// The finest resolution not finer than `wanted` whose coastline file can be read;
    /// nothing when there is none at all.
    std::optional<ShoreResolution> available(ShoreResolution wanted);
    /// The bins of `resolution` that overlap the box.
    std::vector<ShoreBin> binsIn(const Extent& box, ShoreResolution resolution);
    /// The coastlines, lakes and borders of one bin.
    const std::vector<ShoreLine>& lines(const ShoreBin& bin);

private:
    struct File;
    File* file(ShoreResolution resolution, bool borders);

    std::string m_folder;
    // Per resolution: coastline file, border file; empty until first asked for.
    std::array<std::array<std::unique_ptr<File>, 2>, 3> m_files;
    std::array<std::array<bool, 2>, 3> m_tried{};
    std::map<ShoreBin, std::vector<ShoreLine>> m_bins;
};

} // namespace gridloom
