#include "input/period_presets.h"

namespace gridloom {

using namespace std::chrono;

PeriodEnd periodEnd(DateHour hour)
{
    const auto hourOfDay = (hour - floor<days>(hour)).count();
    return PeriodEnd{hour, std::to_string(hourOfDay)};
}

PeriodPreset setPeriodForExtract(sys_seconds startPicker, sys_seconds endPicker,
                                 bool listHasEntries, const InputFileInfo& info)
{
    const DateHour first = info.firstHour;
    const DateHour last = info.lastHour();
    if (!listHasEntries)
        return PeriodPreset{periodEnd(first), periodEnd(last)};

    // Whole clock hours are compared, so a picker that holds minutes inside the file's first
    // or last hour counts as that hour.
    PeriodPreset preset;
    if (floor<hours>(startPicker) > first)
        preset.start = periodEnd(first);
    if (floor<hours>(endPicker) < last)
        preset.end = periodEnd(last);
    return preset;
}

PeriodPreset setPeriodForMerge(const InputFileInfo& info)
{
    return PeriodPreset{periodEnd(info.firstHour), periodEnd(info.lastHour())};
}

} // namespace gridloom
