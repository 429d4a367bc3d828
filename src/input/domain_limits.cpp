#include "input/domain_limits.h"

#include "common/numbers.h"

#include <cmath>

namespace gridloom {

namespace {

std::string hemisphereText(std::string_view text, char positive, char negative)
{
    const auto value = parseRealNumber(text);
    // Only the header reader and the list feed this, and both hand over numbers; anything else
    // is shown as written rather than guessed at.
    if (!value)
        return std::string(text);
    // -0 counts as 0 and so as east or north.
    return formatGeneral(std::fabs(*value)) + (*value < 0.0 ? negative : positive);
}

} // namespace

std::string longitudeText(std::string_view text)
{
    return hemisphereText(text, 'E', 'W');
}

std::string latitudeText(std::string_view text)
{
    return hemisphereText(text, 'N', 'S');
}

std::array<std::string, 6> domainLimitTexts(const std::array<std::string, 10>& limits,
                                            LimitsView view)
{
    if (view == LimitsView::Index)
        return {limits[0], limits[1], limits[2], limits[3], limits[4], limits[5]};
    return {longitudeText(limits[6]),
            latitudeText(limits[8]),
            longitudeText(limits[7]),
            latitudeText(limits[9]),
            limits[4],
            limits[5]};
}

} // namespace gridloom
