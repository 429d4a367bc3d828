#include "map/shoreline_library.h"

#include <algorithm>
#include <cerrno>
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

// A whole-globe layout: bins of whole minutes that tile 360 degrees across and 180 down.
constexpr int minutesAround = 360 * 60;
constexpr int minutesPoleToPole = 180 * 60;

// The value of a variable that holds exactly one (GSHHG writes them as tables of one); netCDF
// would otherwise write as many values as the variable has into `value`.
bool readInt(int file, const char* name, int& value)
{
    int variable = 0;
    int dimensions = -1;
    int dimension = 0;
    std::size_t length = 0;
    if (nc_inq_varid(file, name, &variable) != NC_NOERR ||
        nc_inq_varndims(file, variable, &dimensions) != NC_NOERR || dimensions > 1)
        return false;
    if (dimensions == 1 && (nc_inq_vardimid(file, variable, &dimension) != NC_NOERR ||
                            nc_inq_dimlen(file, dimension, &length) != NC_NOERR || length != 1))
        return false;
    return nc_get_var_int(file, variable, &value) == NC_NOERR;
}

// The number of values a one-dimensional variable holds; nothing for any other variable.
std::optional<std::size_t> lengthOf(int file, int variable)
{
    int dimensions = 0;
    int dimension = 0;
    std::size_t length = 0;
    if (nc_inq_varndims(file, variable, &dimensions) != NC_NOERR || dimensions != 1 ||
        nc_inq_vardimid(file, variable, &dimension) != NC_NOERR ||
        nc_inq_dimlen(file, dimension, &length) != NC_NOERR)
        return std::nullopt;
    return length;
}

// The id of a one-dimensional variable of `length` values, or -1.
int tableOf(int file, const char* name, std::optional<std::size_t> length)
{
    int variable = -1;
    if (nc_inq_varid(file, name, &variable) != NC_NOERR)
        return -1;
    const auto held = lengthOf(file, variable);
    return held && (!length || *held == *length) ? variable : -1;
}

} // namespace

struct ShoreLibrary::File {
    int id = -1;
    bool borders = false;
    int binMinutes = 0;
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

    File() = default;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File()
    {
        if (id >= 0)
            nc_close(id);
    }

    double binDegrees() const { return binMinutes / 60.0; }

    // Nothing when the file is there and whole; "missing" when it is not there at all; else
    // what is wrong with it.
    std::string open(const std::string& path, bool isBorders)
    {
        borders = isBorders;
        const int opened = nc_open(path.c_str(), NC_NOWRITE, &id);
        if (opened != NC_NOERR) {
            id = -1;
            return opened == ENOENT ? "missing" : "it is not a netCDF file netCDF can read";
        }
        int bins = 0;
        if (!readInt(id, "Bin_size_in_minutes", binMinutes) ||
            !readInt(id, "N_bins_in_360_longitude_range", binsAcross) ||
            !readInt(id, "N_bins_in_file", bins))
            return "its bin sizes are missing";
        // Every bin's place is worked out from these three numbers, so they must tile the
        // globe exactly; anything else would put shores where there are none.
        if (binMinutes <= 0 || binsAcross <= 0 || bins <= 0 || bins % binsAcross != 0 ||
            static_cast<long long>(binMinutes) * binsAcross != minutesAround ||
            static_cast<long long>(binMinutes) * (bins / binsAcross) != minutesPoleToPole)
            return "its bins do not tile the globe";
        binRows = bins / binsAcross;
        const auto binCount = static_cast<std::size_t>(bins);
        const int first = tableOf(id, "Id_of_first_segment_in_a_bin", binCount);
        const int count = tableOf(id, "N_segments_in_a_bin", binCount);
        segmentInfo = tableOf(id,
                              borders ? "N_points_for_a_segment"
                                      : "Embedded_npts_levels_exit_entry_for_a_segment",
                              std::nullopt);
        const auto segments = segmentInfo < 0 ? std::nullopt : lengthOf(id, segmentInfo);
        firstPoint = tableOf(id, "Id_of_first_point_in_a_segment", segments);
        segmentLevel = borders ? tableOf(id, "Hierarchial_level_of_a_segment", segments) : 0;
        dx = tableOf(id, "Relative_longitude_from_SW_corner_of_bin", std::nullopt);
        const auto points = dx < 0 ? std::nullopt : lengthOf(id, dx);
        dy = tableOf(id, "Relative_latitude_from_SW_corner_of_bin", points);
        if (first < 0 || count < 0 || !segments || firstPoint < 0 || segmentLevel < 0 || !points ||
            dy < 0)
            return "its bin, segment or point tables are missing or of unequal lengths";
        pointCount = *points;
        firstSegment.resize(binCount);
        segmentCount.resize(binCount);
        if (nc_get_var_int(id, first, firstSegment.data()) != NC_NOERR ||
            nc_get_var_short(id, count, segmentCount.data()) != NC_NOERR)
            return "its bin tables cannot be read";
        for (std::size_t b = 0; b < binCount; ++b) {
            const long long start = firstSegment[b];
            if (start < 0 || segmentCount[b] < 0 ||
                start + segmentCount[b] > static_cast<long long>(*segments))
                return "bin " + std::to_string(b) + " names segments the file does not hold";
        }
        return {};
    }

    // Appends the bin's lines, or says what is wrong with them.
    std::string read(int bin, std::vector<ShoreLine>& lines) const
    {
        const auto b = static_cast<std::size_t>(bin);
        if (segmentCount[b] == 0)
            return {};
        const auto count = static_cast<std::size_t>(segmentCount[b]);
        const auto start = static_cast<std::size_t>(firstSegment[b]);
        std::vector<int> info(count);
        std::vector<short> level(count);
        std::vector<int> firsts(count);
        if (nc_get_vara_int(id, segmentInfo, &start, &count, info.data()) != NC_NOERR ||
            nc_get_vara_int(id, firstPoint, &start, &count, firsts.data()) != NC_NOERR ||
            (borders &&
             nc_get_vara_short(id, segmentLevel, &start, &count, level.data()) != NC_NOERR))
            return "the segments of bin " + std::to_string(bin) + " cannot be read";
        // Bins run west to east from longitude 0, in rows from the north pole down; a bin east
        // of 180 is given its longitudes west of Greenwich.
        const int row = bin / binsAcross;
        const int column = bin % binsAcross;
        const double eastOfGreenwich = column * binDegrees();
        const double west = eastOfGreenwich >= 180.0 ? eastOfGreenwich - 360.0 : eastOfGreenwich;
        const double south = 90.0 - (row + 1) * binDegrees();
        const double scale = binDegrees() / stepsPerSide;
        std::vector<short> xs;
        std::vector<short> ys;
        for (std::size_t s = 0; s < count; ++s) {
            const int points = borders ? info[s] : info[s] >> 9;
            const int lineLevel = borders ? level[s] : (info[s] >> 6) & 7;
            const bool wanted = borders ? lineLevel == nationalBorder : lineLevel <= 4;
            if (!wanted || points == 0)
                continue;
            // A count or a start outside the point tables is a damaged file, not a reason to
            // allocate what it claims.
            if (points < 0 || firsts[s] < 0 || static_cast<std::size_t>(firsts[s]) >= pointCount ||
                static_cast<std::size_t>(points) > pointCount - static_cast<std::size_t>(firsts[s]))
                return "a segment of bin " + std::to_string(bin) + " points outside its tables";
            if (points < 2)
                continue;
            const auto first = static_cast<std::size_t>(firsts[s]);
            const auto n = static_cast<std::size_t>(points);
            xs.resize(n);
            ys.resize(n);
            if (nc_get_vara_short(id, dx, &first, &n, xs.data()) != NC_NOERR ||
                nc_get_vara_short(id, dy, &first, &n, ys.data()) != NC_NOERR)
                return "the points of bin " + std::to_string(bin) + " cannot be read";
            ShoreLine line{borders ? ShoreKind::Border : kindOfLevel(lineLevel), {}};
            line.points.reserve(n);
            for (std::size_t p = 0; p < n; ++p)
                line.points.push_back({west + static_cast<unsigned short>(xs[p]) * scale,
                                       south + static_cast<unsigned short>(ys[p]) * scale});
            lines.push_back(std::move(line));
        }
        return {};
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

std::string ShoreLibrary::path(ShoreResolution resolution, bool borders) const
{
    return m_folder + (borders ? "/binned_border_" : "/binned_GSHHS_") +
           resolutionLetters[static_cast<std::size_t>(resolution)] + ".nc";
}

ShoreLibrary::File* ShoreLibrary::file(ShoreResolution resolution, bool borders)
{
    const auto r = static_cast<std::size_t>(resolution);
    const std::size_t kind = borders ? 1 : 0;
    if (!m_tried[r][kind]) {
        m_tried[r][kind] = true;
        auto opened = std::make_unique<File>();
        const std::string problem = opened->open(path(resolution, borders), borders);
        const File* coast = borders ? file(resolution, false) : nullptr;
        if (problem.empty() && coast && coast->binMinutes != opened->binMinutes)
            drop(resolution, borders, "its bins differ from the coastline file's");
        else if (problem.empty())
            m_files[r][kind] = std::move(opened);
        else if (problem != "missing")
            drop(resolution, borders, problem);
    }
    return m_files[r][kind].get();
}

void ShoreLibrary::drop(ShoreResolution resolution, bool borders, const std::string& why)
{
    const auto r = static_cast<std::size_t>(resolution);
    const std::size_t kind = borders ? 1 : 0;
    m_tried[r][kind] = true;
    m_files[r][kind].reset();
    // What was read from the file before the damage showed is not trusted either.
    std::erase_if(m_bins,
                  [resolution](const auto& bin) { return bin.first.resolution == resolution; });
    m_warning = "Shores left out: " + path(resolution, borders) + " is damaged (" + why + ")";
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
    if (!coast || !(box.west <= box.east) || !(box.south <= box.north) ||
        !(box.east - box.west < 1e6) || !(std::abs(box.west) < 1e6))
        return bins;
    const double size = coast->binDegrees();
    const int firstRow = static_cast<int>(
        std::clamp(std::floor((90.0 - box.north) / size), 0.0, coast->binRows - 1.0));
    const int lastRow = static_cast<int>(
        std::clamp(std::floor((90.0 - box.south) / size), 0.0, coast->binRows - 1.0));
    const double east = std::min(box.east, box.west + 360.0);
    const int firstColumn = static_cast<int>(std::floor(box.west / size));
    const int lastColumn =
        std::min(static_cast<int>(std::floor(east / size)), firstColumn + coast->binsAcross - 1);
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const int wrapped =
                (column % coast->binsAcross + coast->binsAcross) % coast->binsAcross;
            bins.push_back({resolution, row * coast->binsAcross + wrapped});
        }
    }
    return bins;
}

const std::vector<ShoreLine>& ShoreLibrary::lines(const ShoreBin& bin)
{
    const auto known = m_bins.find(bin);
    if (known != m_bins.end())
        return known->second;
    std::vector<ShoreLine> lines;
    for (const bool borders : {false, true}) {
        const File* source = file(bin.resolution, borders);
        if (!source || bin.index < 0 || bin.index >= static_cast<int>(source->segmentCount.size()))
            continue;
        const std::size_t before = lines.size();
        const std::string problem = source->read(bin.index, lines);
        if (problem.empty())
            continue;
        lines.resize(before);
        drop(bin.resolution, borders, problem);
        if (!borders) {
            static const std::vector<ShoreLine> none;
            return none;
        }
    }
    return m_bins.emplace(bin, std::move(lines)).first->second;
}

} // namespace gridloom
