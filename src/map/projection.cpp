#include "map/projection.h"

#include "common/numbers.h"

#include <algorithm>
#include <cmath>
#include <proj.h>

namespace gridloom {

void Projection::Deleter::operator()(pj_ctx* context) const
{
    proj_context_destroy(context);
}

void Projection::Deleter::operator()(PJconsts* transformation) const
{
    proj_destroy(transformation);
}

std::optional<Projection> Projection::create(const std::string& definition)
{
    std::unique_ptr<pj_ctx, Deleter> context(proj_context_create());
    if (!context)
        return std::nullopt;
    // Silence PROJ's own reports on stderr: a refusal is an answer here, not an error.
    proj_log_level(context.get(), PJ_LOG_NONE);
    // The unit step lets both directions speak degrees, with no conversion of ours.
    const std::string pipeline =
        "+proj=pipeline +step +proj=unitconvert +xy_in=deg +xy_out=rad +step " + definition;
    std::unique_ptr<PJconsts, Deleter> transformation(proj_create(context.get(), pipeline.c_str()));
    if (!transformation)
        return std::nullopt;
    return Projection(std::move(context), std::move(transformation));
}

Projection::Projection(std::unique_ptr<pj_ctx, Deleter> context,
                       std::unique_ptr<PJconsts, Deleter> transformation)
    : m_context(std::move(context)), m_transformation(std::move(transformation))
{
}

Projection::Projection(Projection&&) noexcept = default;

Projection& Projection::operator=(Projection&& other) noexcept
{
    // Member-wise assignment would destroy the old context while the old transformation,
    // which still reports through it, is alive.
    m_transformation.reset();
    m_context = std::move(other.m_context);
    m_transformation = std::move(other.m_transformation);
    return *this;
}
Projection::~Projection() = default;

bool Projection::transform(Polyline& points, bool forwards) const
{
    if (points.empty())
        return true;
    constexpr auto stride = sizeof(MapPoint);
    proj_errno_reset(m_transformation.get());
    proj_trans_generic(m_transformation.get(), forwards ? PJ_FWD : PJ_INV, &points[0].x, stride,
                       points.size(), &points[0].y, stride, points.size(), nullptr, 0, 0, nullptr,
                       0, 0);
    bool allPlaced = true;
    for (MapPoint& point : points) {
        if (!std::isfinite(point.x) || !std::isfinite(point.y)) {
            point = {HUGE_VAL, HUGE_VAL};
            allPlaced = false;
        }
    }
    return allPlaced;
}

bool Projection::forward(Polyline& points) const
{
    return transform(points, true);
}

bool Projection::inverse(Polyline& points) const
{
    return transform(points, false);
}

std::optional<MapPoint> Projection::forward(MapPoint point) const
{
    Polyline one{point};
    return transform(one, true) ? std::optional(one[0]) : std::nullopt;
}

std::optional<MapPoint> Projection::inverse(MapPoint point) const
{
    Polyline one{point};
    return transform(one, false) ? std::optional(one[0]) : std::nullopt;
}

std::shared_ptr<const Projection> ProjectionSet::of(const std::string& definition)
{
    const auto [place, added] = m_made.try_emplace(definition);
    if (added) {
        if (auto made = Projection::create(definition))
            place->second = std::make_shared<const Projection>(std::move(*made));
    }
    return place->second;
}

std::string projectionDefinition(const GridDefinition& grid)
{
    return "+proj=lcc +lat_0=" + formatGeneral(grid.originLat) +
           " +lon_0=" + formatGeneral(grid.originLon) + " +lat_1=" + formatGeneral(grid.trueLat1) +
           " +lat_2=" + formatGeneral(grid.trueLat2) + " +R=6370000 +units=km";
}

void dropFailedPoints(Polyline& points)
{
    std::erase_if(points, [](const MapPoint& p) { return !std::isfinite(p.x); });
}

} // namespace gridloom
