// Writes the map fuzzers' seeds into <folder>/scene and <folder>/shore: header sets from the
// fixture writer (a regional grid with a nested one, a grid across the 180th meridian, one
// around the north pole, grid lines run together or of another projection), and byte strings
// that the shore fuzzer turns into a whole file, one with bins of another size and one with a
// segment out of range.

#include "fixtures/fixture_writer.h"

#include <array>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

using gridloom::fixtures::SampleHeader;

namespace {

std::string header(const std::string& gridLine, std::array<std::string, 10> extent)
{
    SampleHeader sample;
    sample.gridLine = gridLine;
    sample.extent = std::move(extent);
    sample.padTo = 0;
    return gridloom::fixtures::headerText(sample);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder / "scene");
        std::filesystem::create_directories(folder / "shore");
        const std::string regional =
            header("LCC 40.0000 -97.0000 30.00 60.00 -354.000 -294.000 12.000 60 50 23",
                   {"1", "1", "60", "50", "1", "23", "-101.478396", "-92.521604", "37.198118",
                    "42.730618"});
        const std::string nested =
            header("LCC 40.0000 -97.0000 30.00 60.00 -150.000 -120.000 4.000 60 50 23",
                   {"1", "1", "60", "50", "1", "23", "-98.835971", "-95.947253", "38.873221",
                    "40.704925"});
        const std::string dateLine =
            header("LCC 50.0000 180.0000 30.00 60.00 -354.000 -294.000 12.000 60 50 23",
                   {"1", "1", "60", "50", "1", "23", "174.606717", "-174.606717", "47.165576",
                    "52.724267"});
        const std::string polar = header(
            "LCC 75.0000 -40.0000 60.00 80.00 -1990.000 -1990.000 20.000 200 200 23",
            {"1", "1", "200", "200", "1", "23", "-180.0000", "180.0000", "52.525803", "89.917409"});
        const std::string runTogether =
            header("LCC 40.0000 -97.0000 30.00 60.00 -2699.020-2339.860 36.000151131 23",
                   {"1", "1", "151", "131", "1", "23", "-125", "-65", "20", "50"});
        const std::string other =
            header("PS 90 -105 60 60 -354 -294 12 60 50 23",
                   {"1", "1", "60", "50", "1", "23", "-110", "-100", "60", "65"});
        const std::vector<std::pair<std::string, std::string>> scenes = {
            {"merge-nested", "Merge 3 -99 -95 38.5 41\n" + nested + "\f" + regional},
            {"extract-cells", "Extract 1 11 20 6 15\n" + regional},
            {"xy-date-line", "Merge 2 -100 100 -100 100\n" + dateLine + "\f" + regional},
            {"polar", "Merge 3 -180 180 80 90\n" + polar},
            {"run-together", "Merge 0\n" + runTogether + "\f" + other},
        };
        for (const auto& [name, text] : scenes)
            gridloom::fixtures::writeText((folder / "scene" / (name + ".txt")).string(), text);

        // Every choice zero: a whole 6 by 3 file with as many segments and points as the
        // sizes give; then bins of another size; then every other table two-dimensional.
        std::string whole(600, '\0');
        whole[3] = 8;
        whole[4] = 40;
        std::string resized = whole;
        resized[0] = static_cast<char>(200);
        resized[1] = static_cast<char>(0x40);
        resized[2] = static_cast<char>(0x0B);
        std::string twoDimensional = whole;
        for (std::size_t n = 5; n < twoDimensional.size(); n += 37)
            twoDimensional[n] = 4;
        const std::vector<std::pair<std::string, std::string>> shores = {
            {"whole", whole}, {"resized", resized}, {"two-dimensional", twoDimensional}};
        for (const auto& [name, bytes] : shores)
            gridloom::fixtures::writeText((folder / "shore" / name).string(), bytes);
        std::printf("%zu scene and %zu shore seeds written to %s\n", scenes.size(), shores.size(),
                    folder.string().c_str());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cannot write the seeds: %s\n", error.what());
        return 1;
    }
}
