#include "map/shoreline_library.h"

#include <algorithm>
#include <cmath>
#include <netcdf.h>

namespace gridloom {

namespace {

constexpr char resolutionLetters[] = {'c', 'l', 'i'};

// Points are stored as unsigned 16-bit steps of a bin's side from its south-west corner.
constexpr double stepsPerSide = 65535.0;

// GSHHG's levels: 1 the sea shore, 2 lakes, 3 islands in lakes, 4 ponds on those; 6 is
// Antarctica's grounding line, which lies inside the ice front already drawn as level 1.
ShoreKind kindOfLevel(int level)
{
    // An island in a lake is land, whose shore is drawn as a coast is.
    return level == 1 || level == 3 ? ShoreKind::Coast : ShoreKind::Lake;
}

// Border level 1 is between nations; 2 and 3 (states, marine limits) are left out.
constexpr int nationalBorder = 1;

bool readInt(int file, const char* name, int& value)
{
    int variable = 0;
    return nc_inq_varid(file, name, &variable) == NC_NOERR &&
           nc_get_var_int(file, variable, &value) == NC_NOERR;
}

// The number of values a one-dimensional variable holds; 0 for any other variable.
std::size_t lengthOf(int file, int variable)
{
    int dimensions = 0;
    int dimension = 0;
    std::size_t length = 0;
    return nc_inq_varndims(file, variable, &dimensions) == NC_NOERR && dimensions == 1 &&
                   nc_inq_vardimid(file, variable, &dimension) == NC_NOERR &&
                   nc_inq_dimlen(file, dimension, &length) == NC_NOERR
               ? length
               : 0;
}

} // namespace

struct ShoreLibrary::File {
    int id = -1;
    bool borders = false;
    double binDegrees = 0.0;
    int binsAcross = 0;
    int binRows = 0;
    std::vector<int> firstSegment;
    std::vector<short> segmentCount;
    int segmentInfo = -1; // coast: packed count and level; borders: the count
    int segmentLevel = -1;
    int firstPoint = -1;
    int dx = -1;
    int dy = -1;
    std::size_t pointCount = 0;

    ~File()
    {
        if (id >= 0)
            nc_close(id);
    }

    bool open(const std::string& path, bool isBorders)
    {
        borders = isBorders;
        if (nc_open(path.c_str(), NC_NOWRITE, &id) != NC_NOERR) {
            id = -1;
            return false;
        }
        int minutes = 0;
        int bins = 0;
        if (!readInt(id, "Bin_size_in_minutes", minutes) ||
            !readInt(id, "N_bins_in_360_longitude_range", binsAcross) ||
            !readInt(id, "N_bins_in_file", bins) || minutes <= 0 || binsAcross <= 0 || bins <= 0 ||
            bins % binsAcross != 0)
            return false;
        binDegrees = minutes / 60.0;
        binRows = bins / binsAcross;
        int first = 0;
        int count = 0;
        // The bin tables are read whole, so they must hold exactly one value a bin; and no
        // segment may claim points beyond the point tables.
        const auto binCount = static_cast<std::size_t>(bins);
        if (nc_inq_varid(id, "Id_of_first_segment_in_a_bin", &first) != NC_NOERR ||
            nc_inq_varid(id, "N_segments_in_a_bin", &count) != NC_NOERR ||
            lengthOf(id, first) != binCount || lengthOf(id, count) != binCount ||
            nc_inq_varid(id, "Relative_longitude_from_SW_corner_of_bin", &dx) != NC_NOERR ||
            nc_inq_varid(id, "Relative_latitude_from_SW_corner_of_bin", &dy) != NC_NOERR ||
            lengthOf(id, dx) != lengthOf(id, dy))
            return false;
        pointCount = lengthOf(id, dx);
        firstSegment.resize(binCount);
        segmentCount.resize(binCount);
        const char* infoName =
            borders ? "N_points_for_a_segment" : "Embedded_npts_levels_exit_entry_for_a_segment";
        return nc_get_var_int(id, first, firstSegment.data()) == NC_NOERR &&
               nc_get_var_short(id, count, segmentCount.data()) == NC_NOERR &&
               nc_inq_varid(id, infoName, &segmentInfo) == NC_NOERR &&
               (!borders ||
                nc_inq_varid(id, "Hierarchial_level_of_a_segment", &segmentLevel) == NC_NOERR) &&
               nc_inq_varid(id, "Id_of_first_point_in_a_segment", &firstPoint) == NC_NOERR;
    }

    // Appends the bin's lines, longitudes moved by `shift` degrees. A bin that cannot be read
    // adds nothing: a map without one bin's shore is still a map.
    void read(int bin, double shift, std::vector<ShoreLine>& lines) const
    {
        const auto b = static_cast<std::size_t>(bin);
        if (segmentCount[b] <= 0 || firstSegment[b] < 0)
            return;
        const auto count = static_cast<std::size_t>(segmentCount[b]);
        const auto start = static_cast<std::size_t>(firstSegment[b]);
        std::vector<int> info(count);
        std::vector<short> level(count);
        std::vector<int> firsts(count);
        if (nc_get_vara_int(id, segmentInfo, &start, &count, info.data()) != NC_NOERR ||
            nc_get_vara_int(id, firstPoint, &start, &count, firsts.data()) != NC_NOERR ||
            (borders &&
             nc_get_vara_short(id, segmentLevel, &start, &count, level.data()) != NC_NOERR))
            return;
        // Bins run west to east from longitude 0, in rows from the north pole down.
        const int row = bin / binsAcross;
        const int column = bin % binsAcross;
        const double west = column * binDegrees + shift;
        const double south = 90.0 - (row + 1) * binDegrees;
        const double scale = binDegrees / stepsPerSide;
        std::vector<short> xs;
        std::vector<short> ys;
        for (std::size_t s = 0; s < count; ++s) {
            const int points = borders ? info[s] : info[s] >> 9;
            const int lineLevel = borders ? level[s] : (info[s] >> 6) & 7;
            const bool wanted = borders ? lineLevel == nationalBorder : lineLevel <= 4;
            // A count or a start outside the point tables is a damaged segment, not a reason
            // to allocate what it claims.
            if (!wanted || points < 2 || firsts[s] < 0 ||
                static_cast<std::size_t>(firsts[s]) >= pointCount ||
                static_cast<std::size_t>(points) > pointCount - static_cast<std::size_t>(firsts[s]))
                continue;
            const auto first = static_cast<std::size_t>(firsts[s]);
            const auto n = static_cast<std::size_t>(points);
            xs.resize(n);
            ys.resize(n);
            if (nc_get_vara_short(id, dx, &first, &n, xs.data()) != NC_NOERR ||
                nc_get_vara_short(id, dy, &first, &n, ys.data()) != NC_NOERR)
                continue;
            ShoreLine line{borders ? ShoreKind::Border : kindOfLevel(lineLevel), {}};
            line.points.reserve(n);
            for (std::size_t p = 0; p < n; ++p)
                line.points.push_back({west + static_cast<unsigned short>(xs[p]) * scale,
                                       south + static_cast<unsigned short>(ys[p]) * scale});
            lines.push_back(std::move(line));
        }
    }
};

std::string defaultShoreFolder()
{
    return "/usr/share/gmt-gshhg";
}

ShoreResolution resolutionForWidth(double widthKm)
{
    if (widthKm > 5000.0)
        return ShoreResolution::Crude;
    if (widthKm > 2000.0)
        return ShoreResolution::Low;
    return ShoreResolution::Intermediate;
}

ShoreLibrary::ShoreLibrary(std::string folder) : m_folder(std::move(folder)) {}

ShoreLibrary::~ShoreLibrary() = default;

ShoreLibrary::File* ShoreLibrary::file(ShoreResolution resolution, bool borders)
{
    const auto r = static_cast<std::size_t>(resolution);
    const std::size_t kind = borders ? 1 : 0;
    if (!m_tried[r][kind]) {
        m_tried[r][kind] = true;
        auto opened = std::make_unique<File>();
        const std::string path = m_folder + (borders ? "/binned_border_" : "/binned_GSHHS_") +
                                 resolutionLetters[r] + ".nc";
        if (opened->open(path, borders))
            m_files[r][kind] = std::move(opened);
    }
    return m_files[r][kind].get();
}

std::optional<ShoreResolution> ShoreLibrary::available(ShoreResolution wanted)
{
    for (int r = static_cast<int>(wanted); r >= 0; --r) {
        if (file(static_cast<ShoreResolution>(r), false))
            return static_cast<ShoreResolution>(r);
    }
    return std::nullopt;
}

std::vector<ShoreBin> ShoreLibrary::binsIn(const Extent& box, ShoreResolution resolution)
{
    std::vector<ShoreBin> bins;
    const File* coast = file(resolution, false);
    if (!coast || !(box.west <= box.east) || !(box.south <= box.north))
        return bins;
    const double size = coast->binDegrees;
    const int firstRow =
        std::clamp(static_cast<int>(std::floor((90.0 - box.north) / size)), 0, coast->binRows - 1);
    const int lastRow =
        std::clamp(static_cast<int>(std::floor((90.0 - box.south) / size)), 0, coast->binRows - 1);
    const double east = std::min(box.east, box.west + 360.0);
    const int firstColumn = static_cast<int>(std::floor(box.west / size));
    const int lastColumn =
        std::min(static_cast<int>(std::floor(east / size)), firstColumn + coast->binsAcross - 1);
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const int wrapped =
                (column % coast->binsAcross + coast->binsAcross) % coast->binsAcross;
            bins.push_back({resolution, row * coast->binsAcross + wrapped,
                            (column - wrapped) / coast->binsAcross});
        }
    }
    return bins;
}

const std::vector<ShoreLine>& ShoreLibrary::lines(const ShoreBin& bin)
{
    const auto known = m_bins.find(bin);
    if (known != m_bins.end())
        return known->second;
    std::vector<ShoreLine>& lines = m_bins[bin];
    for (const bool borders : {false, true}) {
        const File* source = file(bin.resolution, borders);
        // Both files of a resolution share one bin layout; a border file that does not is
        // left out rather than misplaced.
        const File* coast = file(bin.resolution, false);
        if (source && coast && source->binsAcross == coast->binsAcross && bin.index >= 0 &&
            bin.index < static_cast<int>(source->segmentCount.size()))
            source->read(bin.index, 360.0 * bin.turns, lines);
    }
    return lines;
}

} // namespace gridloom
