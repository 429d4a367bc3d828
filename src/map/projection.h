#pragma once

#include "common/grid_definition.h"
#include "map/geometry.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

struct pj_ctx;
struct PJconsts;

namespace gridloom {

/// A map projection through PROJ, between longitude/latitude in degrees and x/y in the
/// projection's own units (kilometres for every definition this program writes). Each object
/// has a PROJ context of its own, so objects never share state.
class Projection final {
public:
    /// The projection a PROJ definition such as "+proj=lcc ... +units=km" names; nothing when
    /// PROJ refuses it.
    static std::optional<Projection> create(const std::string& definition);

    Projection(Projection&& other) noexcept;
    Projection& operator=(Projection&& other) noexcept;
    ~Projection();

    /// Longitude/latitude to x/y, in place. A point PROJ cannot place becomes infinite, the
    /// others are still converted; returns false when any point failed.
    bool forward(Polyline& points) const;
    /// x/y to longitude/latitude, in place, with the same failure rule.
    bool inverse(Polyline& points) const;
    std::optional<MapPoint> forward(MapPoint point) const;
    std::optional<MapPoint> inverse(MapPoint point) const;

private:
    struct Deleter {
        void operator()(pj_ctx* context) const;
        void operator()(PJconsts* transformation) const;
    };
    Projection(std::unique_ptr<pj_ctx, Deleter> context,
               std::unique_ptr<PJconsts, Deleter> transformation);
    bool transform(Polyline& points, bool forwards) const;

    // Declared in this order so that the transformation, which reports through its context,
    // is destroyed first.
    std::unique_ptr<pj_ctx, Deleter> m_context;
    std::unique_ptr<PJconsts, Deleter> m_transformation;
};

/// The projections of one scene, each made once from its PROJ definition: grids that share a
/// definition share one object, and the view shares that of the grid it is drawn in. Two
/// projections are the same exactly when they are the same object.
class ProjectionSet final {
public:
    /// The projection `definition` names, made on first asking; null when PROJ refuses it.
    std::shared_ptr<const Projection> of(const std::string& definition);

private:
    std::map<std::string, std::shared_ptr<const Projection>> m_made;
};

/// The PROJ definition of the grid's projection, in kilometres on the 6370 km sphere that MM5
/// grids are defined on. Two grids with the same definition share one projection.
std::string projectionDefinition(const GridDefinition& grid);

/// Drops the points a projection could not place.
void dropFailedPoints(Polyline& points);

} // namespace gridloom
