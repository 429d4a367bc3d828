#pragma once

#include "common/domain_selection.h"
#include "common/input_file_info.h"
#include "common/job_settings.h"

#include <optional>
#include <vector>

namespace gridloom {

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
    std::vector<InputFileInfo> inputs;
    DomainSelection confirmed;
    std::optional<EnteredBox> entered;
    /// The position in `inputs` of the file whose limits the main window shows; -1 for none.
    int limitsInput = -1;
};

} // namespace gridloom
