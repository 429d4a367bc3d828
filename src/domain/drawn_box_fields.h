#pragma once

#include "common/drawn_box.h"
#include "common/job_settings.h"

#include <string>
#include <vector>

namespace gridloom {

/// One field of the coordinate dialog, by its object name, and the text it is given.
struct FieldText {
    std::string name;
    std::string text;
};

/// The fields of the `type` layout that a box drawn on the map fills, in the form each field
/// takes: index fields get the box's i/j cells (k is left as it is), X/Y fields whole
/// kilometres widened outward, latitude/longitude fields decimal degrees and hemispheres.
/// Fields for which the box has no value are left out.
std::vector<FieldText> drawnBoxFields(CoordinateType type, const DrawnBox& box);

} // namespace gridloom
