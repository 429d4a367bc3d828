#include "domain/drawn_box_fields.h"

#include "common/numbers.h"

#include <cmath>

namespace gridloom {

namespace {

// Noise in a converted corner must not widen an X/Y box by a kilometre.
constexpr double kmSlack = 1e-6;

std::string wholeKm(double km)
{
    return std::to_string(static_cast<long long>(km));
}

} // namespace

std::vector<FieldText> drawnBoxFields(CoordinateType type, const DrawnBox& box)
{
    std::vector<FieldText> fields;
    switch (type) {
    case CoordinateType::IJK:
        if (box.cells) {
            const auto& c = *box.cells;
            fields = {{"TextIndexiStart", std::to_string(c[0])},
                      {"TextIndexiEnd", std::to_string(c[1])},
                      {"TextIndexjStart", std::to_string(c[2])},
                      {"TextIndexjEnd", std::to_string(c[3])}};
        }
        break;
    case CoordinateType::XY:
        if (box.km) {
            const auto& k = *box.km;
            fields = {{"TextXStart", wholeKm(std::floor(k[0] + kmSlack))},
                      {"TextXEnd", wholeKm(std::ceil(k[1] - kmSlack))},
                      {"TextYStart", wholeKm(std::floor(k[2] + kmSlack))},
                      {"TextYEnd", wholeKm(std::ceil(k[3] - kmSlack))}};
        }
        break;
    case CoordinateType::LatLon: {
        const auto degrees = [](double value) { return formatFixed(std::abs(value), 6); };
        const auto& g = box.lonLat;
        fields = {{"txtLon1", degrees(g[0])}, {"cboLonLL1", g[0] < 0 ? "W" : "E"},
                  {"txtLat1", degrees(g[2])}, {"cboLatLL1", g[2] < 0 ? "S" : "N"},
                  {"txtLon2", degrees(g[1])}, {"cboLonLL2", g[1] < 0 ? "W" : "E"},
                  {"txtLat2", degrees(g[3])}, {"cboLatLL2", g[3] < 0 ? "S" : "N"}};
        break;
    }
    case CoordinateType::None:
        break;
    }
    return fields;
}

} // namespace gridloom
