#include "map/graticule.h"

#include "common/numbers.h"

#include <algorithm>
#include <cmath>

namespace gridloom {

double graticuleStep(double span, int wanted)
{
    constexpr double steps[] = {0.1, 0.2, 0.25, 0.5, 1, 2, 5, 10, 15, 30};
    const double ideal = span / std::max(wanted, 1);
    for (const double step : steps) {
        if (step >= ideal)
            return step;
    }
    return 30.0;
}

std::vector<GraticuleLine> graticule(const Extent& box, double step)
{
    std::vector<GraticuleLine> lines;
    const double south = std::max(box.south, -90.0);
    const double north = std::min(box.north, 90.0);
    const double east = std::min(box.east, box.west + 360.0);
    if (!(box.west < east) || !(south < north) || !(step > 0))
        return lines;
    // Every line is cut into pieces of at most a tenth of a step, so it bends smoothly.
    const auto pieces = [step](double from, double to) {
        return std::max(2, static_cast<int>(std::ceil((to - from) / (step / 10))) + 1);
    };
    for (auto k = static_cast<long>(std::ceil(box.west / step));
         static_cast<double>(k) * step <= east; ++k) {
        const double lon = static_cast<double>(k) * step;
        GraticuleLine line{true, lon, {}};
        const int n = pieces(south, north);
        for (int k = 0; k < n; ++k)
            line.points.push_back({lon, south + (north - south) * k / (n - 1)});
        lines.push_back(std::move(line));
    }
    for (auto k = static_cast<long>(std::ceil(south / step));
         static_cast<double>(k) * step <= north; ++k) {
        const double lat = static_cast<double>(k) * step;
        GraticuleLine line{false, lat, {}};
        const int n = pieces(box.west, east);
        for (int k = 0; k < n; ++k)
            line.points.push_back({box.west + (east - box.west) * k / (n - 1), lat});
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string degreeLabel(double degrees, bool meridian)
{
    double value = meridian ? std::remainder(degrees, 360.0) : degrees;
    // A tenth of a degree is a step of 0.1, which no binary fraction holds exactly.
    value = std::round(value * 1000.0) / 1000.0;
    // The 180th meridian is one line whichever side it was reached from.
    const bool antimeridian = std::abs(value) == 180.0;
    const char* hemisphere = meridian ? (antimeridian ? ""
                                         : value < 0  ? "W"
                                         : value > 0  ? "E"
                                                      : "")
                                      : (value < 0 ? "S" : (value > 0 ? "N" : ""));
    return formatGeneral(std::abs(value)) + "\xC2\xB0" + hemisphere;
}

} // namespace gridloom
