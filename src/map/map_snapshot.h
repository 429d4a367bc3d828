#pragma once

#include "common/domain_selection.h"
#include "common/job_settings.h"

#include <optional>
#include <string>
#include <vector>

namespace gridloom {

/// What the map takes from one listed input file's header.
struct MapInput {
    /// The header's grid line, as written.
    std::string gridLine;
    int iStart = 0;
    int jStart = 0;
    int iEnd = 0;
    int jEnd = 0;
    double lonStart = 0.0;
    double lonEnd = 0.0;
    double latStart = 0.0;
    double latEnd = 0.0;
    double gridSpacingKm = 0.0;
};

/// The box the coordinate dialog's fields describe while it is open, read as OK would store
/// them.
struct EnteredBox {
    CoordinateType type = CoordinateType::None;
    DomainSelection bounds;
};

/// Everything of the job the map shows, copied out of the windows at one moment.
struct MapSnapshot {
    ProcessingMode mode = ProcessingMode::Merge;
    CoordinateType coordinateType = CoordinateType::None;
    /// In list order: in Merge mode finest first.
    std::vector<MapInput> inputs;
    DomainSelection confirmed;
    std::optional<EnteredBox> entered;
};

} // namespace gridloom
