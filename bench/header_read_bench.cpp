// Measures what adding a file costs: the header of a sparse 8 GiB file against that of a
// 6 KB file, and both against a bare open and 5000-byte read, which is the floor any header
// reader pays. The first ratio shows whether file size leaks into the read; the others show
// what the parsing adds.

#include "fixtures/fixture_writer.h"
#include "input/header_reader.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::uintmax_t bigSize = std::uintmax_t{8} << 30;
constexpr int rounds = 7;
constexpr int callsPerRound = 3000;

// Removes the benchmark's folder on every way out.
struct TemporaryFolder {
    fs::path path;
    TemporaryFolder()
    {
        std::random_device seed;
        path = fs::temp_directory_path() / ("gridloom-bench-" + std::to_string(seed()));
        fs::create_directories(path);
    }
    ~TemporaryFolder()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
};

bool rawRead(const std::string& path)
{
    char buffer[gridloom::headerReadSize];
#ifdef _WIN32
    const int fd = _open(path.c_str(), _O_RDONLY | _O_BINARY);
    if (fd < 0)
        return false;
    const long got = _read(fd, buffer, sizeof buffer);
    _close(fd);
#else
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    const long got = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
#endif
    return got == static_cast<long>(sizeof buffer);
}

// Nanoseconds per call of `read` on `path`: the fastest of several rounds, since the machine's
// other work only ever adds time. Negative when the call fails.
template <typename Read> double nanosecondsPerCall(const std::string& path, Read read)
{
    for (int n = 0; n < 100; ++n) {
        if (!read(path))
            return -1.0;
    }
    double best = 0.0;
    for (int round = 0; round < rounds; ++round) {
        const auto start = Clock::now();
        for (int n = 0; n < callsPerRound; ++n) {
            if (!read(path))
                return -1.0;
        }
        const std::chrono::duration<double, std::nano> spent = Clock::now() - start;
        const double perCall = spent.count() / callsPerRound;
        best = round == 0 ? perCall : std::min(best, perCall);
    }
    return best;
}

} // namespace

int main()
{
    try {
        TemporaryFolder folder;
        const std::string big = (folder.path / "big.m3d").string();
        const std::string small = (folder.path / "small.m3d").string();

        gridloom::fixtures::SampleHeader sample;
        sample.padTo = 6000;
        gridloom::fixtures::writeFixture(small, sample);
        gridloom::fixtures::writeFixture(big, sample);
        // Grown without writing, so the file takes no disk space but reports its full size.
        fs::resize_file(big, bigSize);
        std::printf("files: %s (%ju bytes), %s (%ju bytes); best of %d rounds of %d calls\n",
                    big.c_str(), fs::file_size(big), small.c_str(), fs::file_size(small), rounds,
                    callsPerRound);

        const auto header = [](const std::string& path) {
            return gridloom::readHeader(path).has_value();
        };
        struct Measure {
            const char* what;
            const std::string& path;
            bool viaReader;
            double nanoseconds = 0.0;
        };
        Measure measures[] = {{"readHeader, 8 GiB file", big, true},
                              {"readHeader, 6 KB file", small, true},
                              {"open + read 5000 bytes, 8 GiB file", big, false},
                              {"open + read 5000 bytes, 6 KB file", small, false}};
        for (auto& measure : measures) {
            measure.nanoseconds = measure.viaReader ? nanosecondsPerCall(measure.path, header)
                                                    : nanosecondsPerCall(measure.path, rawRead);
            if (measure.nanoseconds < 0) {
                std::fprintf(stderr, "%s: the read failed\n", measure.what);
                return 1;
            }
            std::printf("%-36s %9.0f ns per call\n", measure.what, measure.nanoseconds);
        }
        const double bigHeader = measures[0].nanoseconds;
        const double smallHeader = measures[1].nanoseconds;
        std::printf("ratio readHeader 8 GiB / 6 KB:       %.2f\n", bigHeader / smallHeader);
        std::printf("ratio readHeader / raw read, 6 KB:   %.2f\n",
                    smallHeader / measures[3].nanoseconds);
        std::printf("ratio readHeader / raw read, 8 GiB:  %.2f\n",
                    bigHeader / measures[2].nanoseconds);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "benchmark failed: %s\n", error.what());
        return 1;
    }
}
