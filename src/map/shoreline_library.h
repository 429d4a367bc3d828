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

/// One bin of one resolution: what names a bin's lines, wherever the view lies.
struct ShoreBin {
    ShoreResolution resolution = ShoreResolution::Crude;
    int index = 0;
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
/// one of its bins is wanted, and each bin is read once and kept. A file whose layout does not
/// add up is dropped whole, with a warning, rather than drawn wrong: a map without shores is
/// still a map.
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
    /// The bins of `resolution` that overlap the box, each once.
    std::vector<ShoreBin> binsIn(const Extent& box, ShoreResolution resolution);
    /// The coastlines, lakes and borders of one bin, longitudes from -180 to 180 plus the bin's
    /// width; a view's projection brings them round to where it looks.
    const std::vector<ShoreLine>& lines(const ShoreBin& bin);
    /// One line naming the last file found damaged and how; empty while none is.
    const std::string& warning() const { return m_warning; }

private:
    struct File;
    File* file(ShoreResolution resolution, bool borders);
    std::string path(ShoreResolution resolution, bool borders) const;
    void drop(ShoreResolution resolution, bool borders, const std::string& why);

    std::string m_folder;
    // Per resolution: coastline file, border file; empty until first asked for.
    std::array<std::array<std::unique_ptr<File>, 2>, 3> m_files;
    std::array<std::array<bool, 2>, 3> m_tried{};
    std::map<ShoreBin, std::vector<ShoreLine>> m_bins;
    std::string m_warning;
};

} // namespace gridloom
