// Feeds header texts to the domain map: the reader's record, the grid line, the check against
// the extent line, the outlines through PROJ and the scene with its legend. The input is a
// control line ("mode type a b c d": Merge or Extract, 0-3 for none, i/j/k, X/Y, lat/lon, then
// the box) and up to three headers separated by form feeds; each header is padded to the
// reader's 5000 characters so that every byte the fuzzer changes lands in the header. Any
// crash, sanitizer report or broken promise is a finding.

#include "common/grid_definition.h"
#include "common/numbers.h"
#include "input/header_reader.h"
#include "map/map_scene.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace {

void require(bool condition, const char* promise)
{
    if (!condition) {
        std::fprintf(stderr, "broken promise: %s\n", promise);
        std::abort();
    }
}

double numberOr(const std::vector<std::string_view>& fields, std::size_t n, double otherwise)
{
    const auto value = n < fields.size() ? gridloom::parseRealNumber(fields[n]) : std::nullopt;
    return value && std::abs(*value) < 1e7 ? *value : otherwise;
}

// A label's spacing is a positive number of kilometres or says it could not be read.
void checkSpacing(std::string_view label)
{
    const auto colon = label.find(": ");
    require(colon != std::string_view::npos, "an input's label starts with its number");
    const auto spacing = label.substr(colon + 2);
    if (spacing.starts_with("spacing unreadable"))
        return;
    const auto km = spacing.find(" km");
    require(km != std::string_view::npos, "a spacing is in kilometres");
    const auto value = gridloom::parseRealNumber(spacing.substr(0, km));
    require(value && *value > 0, "a printed spacing is a positive number");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace gridloom;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto controlEnd = input.find('\n');
    const auto control = splitFields(input.substr(0, controlEnd));
    const std::string_view headers =
        controlEnd == std::string_view::npos ? std::string_view{} : input.substr(controlEnd + 1);

    MapSnapshot snapshot;
    snapshot.mode = !control.empty() && control[0] == "Extract" ? ProcessingMode::Extract
                                                                : ProcessingMode::Merge;
    const auto type = static_cast<int>(numberOr(control, 1, 0));
    snapshot.coordinateType =
        type == 1 ? CoordinateType::IJK
                  : (type == 2 ? CoordinateType::XY
                               : (type == 3 ? CoordinateType::LatLon : CoordinateType::None));
    snapshot.confirmed = {{numberOr(control, 2, 0), numberOr(control, 3, 1),
                           numberOr(control, 4, 0), numberOr(control, 5, 1), 1, 1},
                          snapshot.coordinateType != CoordinateType::None};

    std::size_t start = 0;
    while (start <= headers.size() && snapshot.inputs.size() < 3) {
        const auto end = headers.find('\f', start);
        std::string text(headers.substr(start, end == std::string_view::npos ? end : end - start));
        if (text.size() < headerReadSize)
            text.resize(headerReadSize, '\n');
        if (auto info = parseHeader(text, "fuzz.m3d"))
            snapshot.inputs.push_back(std::move(*info));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }

    for (const InputFileInfo& info : snapshot.inputs) {
        const auto* grid = std::get_if<GridDefinition>(&info.grid);
        require(!grid || grid->spacingKm > 0, "a read grid has cells of a size");
    }

    const MapScene scene = buildScene(snapshot);
    require(!scene.legend.empty(), "the legend names the view");
    for (const SceneShape& shape : scene.shapes) {
        for (const MapPoint& p : shape.ring)
            require(std::isfinite(p.x) && std::isfinite(p.y), "a drawn point is a place");
        if (shape.role == SceneShape::Role::Input)
            checkSpacing(shape.label);
    }
    for (const LegendLine& line : scene.legend)
        require(line.text.find('\n') == std::string::npos, "a legend line is one line");
    const Extent bounds = sceneBounds(scene);
    require(std::isfinite(bounds.west) && std::isfinite(bounds.north), "the scene has bounds");
    return 0;
}
