// Builds a small GSHHG-like coastline file (and sometimes a border file) from the fuzzer's
// bytes and reads every bin of it through the shore library. The bytes choose the layout
// numbers, the lengths, shapes and types of the tables and their values, so most files are
// damaged in some way the reader has to notice. Whatever the file, the reader must not crash,
// must put every point it returns inside its own bin, and must say what it dropped in one line.

#include "map/shoreline_library.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <netcdf.h>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

void require(bool condition, const char* promise)
{
    if (!condition) {
        std::fprintf(stderr, "broken promise: %s\n", promise);
        std::abort();
    }
}

// The fuzzer's bytes, read from the front; zeros once they run out.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    int word() { return static_cast<std::int16_t>(byte() | (byte() << 8)); }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

// The folder the files are written to, removed again when the fuzzer exits.
struct Folder {
    std::string path =
        ((std::filesystem::exists("/dev/shm") ? std::filesystem::path("/dev/shm")
                                              : std::filesystem::temp_directory_path()) /
         ("shoreline_fuzz-" + std::to_string(::getpid())))
            .string();
    Folder() { std::filesystem::create_directories(path); }
    ~Folder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

// One variable: its dimension's length is chosen by the bytes, and now and then it is made a
// scalar, two-dimensional, or left out.
void table(int file, Bytes& bytes, const char* name, nc_type type, std::size_t length)
{
    const std::uint8_t shape = bytes.byte();
    if (shape == 1)
        return;
    int variable = 0;
    if (shape == 2) {
        nc_def_var(file, name, type, 0, nullptr, &variable);
    } else {
        if (shape == 3)
            length = bytes.byte();
        int dimensions[2] = {0, 0};
        const std::string dim = std::string(name) + "_n";
        nc_def_dim(file, dim.c_str(), length == 0 ? 1 : length, &dimensions[0]);
        const int rank = shape == 4 ? 2 : 1;
        if (rank == 2)
            nc_def_dim(file, (dim + "2").c_str(), 2, &dimensions[1]);
        nc_def_var(file, name, type, rank, dimensions, &variable);
    }
    nc_enddef(file);
    std::size_t total = 1;
    int rank = 0;
    nc_inq_varndims(file, variable, &rank);
    int ids[2] = {0, 0};
    nc_inq_vardimid(file, variable, ids);
    for (int d = 0; d < rank; ++d) {
        std::size_t n = 0;
        nc_inq_dimlen(file, ids[d], &n);
        total *= n;
    }
    std::vector<int> values(total);
    for (int& value : values)
        value = bytes.byte() == 0 ? bytes.word() * 1024 + bytes.word() : bytes.word();
    nc_put_var_int(file, variable, values.data());
    nc_redef(file);
}

// A number GSHHG writes as a table of one; the bytes may leave it out, make it a scalar, or
// give it more values.
void scalar(int file, Bytes& bytes, const char* name, int usual)
{
    const std::uint8_t pick = bytes.byte();
    if (pick == 1)
        return;
    int variable = 0;
    int dimension = 0;
    const std::size_t length = pick == 3 ? 1 + bytes.byte() % 8 : 1;
    if (pick == 2) {
        nc_def_var(file, name, NC_INT, 0, nullptr, &variable);
    } else {
        nc_def_dim(file, (std::string(name) + "_n").c_str(), length, &dimension);
        nc_def_var(file, name, NC_INT, 1, &dimension, &variable);
    }
    nc_enddef(file);
    std::vector<int> values(length, pick < 128 ? usual : bytes.word());
    nc_put_var_int(file, variable, values.data());
    nc_redef(file);
}

bool writeFile(const std::string& path, Bytes& bytes, bool borders)
{
    int file = 0;
    if (nc_create(path.c_str(), NC_CLOBBER, &file) != NC_NOERR)
        return false;
    // Bins of 60 degrees: 6 across, 3 down; the bytes may say otherwise.
    scalar(file, bytes, "Bin_size_in_minutes", 3600);
    scalar(file, bytes, "N_bins_in_360_longitude_range", 6);
    scalar(file, bytes, "N_bins_in_file", 18);
    const std::size_t segments = bytes.byte() % 24;
    const std::size_t points = bytes.byte() % 96;
    table(file, bytes, "Id_of_first_segment_in_a_bin", NC_INT, 18);
    table(file, bytes, "N_segments_in_a_bin", NC_SHORT, 18);
    table(file, bytes,
          borders ? "N_points_for_a_segment" : "Embedded_npts_levels_exit_entry_for_a_segment",
          NC_INT, segments);
    if (borders)
        table(file, bytes, "Hierarchial_level_of_a_segment", NC_SHORT, segments);
    table(file, bytes, "Id_of_first_point_in_a_segment", NC_INT, segments);
    table(file, bytes, "Relative_longitude_from_SW_corner_of_bin", NC_SHORT, points);
    table(file, bytes, "Relative_latitude_from_SW_corner_of_bin", NC_SHORT, points);
    return nc_close(file) == NC_NOERR;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace gridloom;
    static Folder folder;
    Bytes bytes(data, size);
    const std::string coast = folder.path + "/binned_GSHHS_c.nc";
    const std::string border = folder.path + "/binned_border_c.nc";
    std::error_code ignored;
    std::filesystem::remove(border, ignored);
    if (!writeFile(coast, bytes, false))
        return 0;
    if (bytes.byte() % 2 == 1 && !writeFile(border, bytes, true))
        return 0;

    ShoreLibrary shores(folder.path);
    const bool available = shores.available(ShoreResolution::Crude).has_value();
    require(available || !shores.binsIn({-180, 180, -90, 90}, ShoreResolution::Crude).size(),
            "a file that cannot be read has no bins");
    const auto bins = shores.binsIn({-180, 180, -90, 90}, ShoreResolution::Crude);
    for (const ShoreBin& bin : bins) {
        for (const ShoreLine& line : shores.lines(bin)) {
            require(line.points.size() >= 2, "a line has two points");
            // Every point lies in one bin of the globe, a bin's width at most east of 180.
            for (const MapPoint& p : line.points)
                require(p.x >= -180.0 && p.x <= 360.0 && p.y >= -90.0 && p.y <= 90.0,
                        "a shore point lies on the globe");
        }
    }
    require(shores.warning().find('\n') == std::string::npos, "a warning is one line");
    if (!available)
        require(!shores.warning().empty() || !std::filesystem::exists(coast),
                "a coastline file that is there but refused is named in a warning");
    return 0;
}
