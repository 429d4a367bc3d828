#pragma once

#include "common/input_file_info.h"
#include "input/header_reader.h"

#include <chrono>
#include <optional>
#include <string>

namespace gridloom {

/// A new value for one end of the output period: the date picker's date-time and the text of
/// the hour box beside it.
struct PeriodEnd {
    DateHour dateTime;
    /// The hour of dateTime, 0 to 23, without a leading zero.
    std::string hourText;
    bool operator==(const PeriodEnd&) const = default;
};

/// What adding a file does to the output period; an empty end leaves that picker and its hour
/// box as they are.
struct PeriodPreset {
    std::optional<PeriodEnd> start;
    std::optional<PeriodEnd> end;
    bool operator==(const PeriodPreset&) const = default;
};

/// The period end that shows `hour`.
PeriodEnd periodEnd(DateHour hour);

/// Extract mode: the period grows to cover the new file. With no file listed yet it becomes the
/// file's period; otherwise the start moves back only when the start picker lies in a later
/// clock hour than the file's first hour, and the end moves on only when the end picker lies in
/// an earlier clock hour than the file's last hour. Only the pickers' values count, not the
/// hour boxes.
PeriodPreset setPeriodForExtract(std::chrono::sys_seconds startPicker,
                                 std::chrono::sys_seconds endPicker, bool listHasEntries,
                                 const InputFileInfo& info);

/// Merge mode: the period becomes the new file's period, whatever it was.
PeriodPreset setPeriodForMerge(const InputFileInfo& info);

} // namespace gridloom
