#pragma once

#include "common/date_hour_stamp.h"
#include "common/input_file_info.h"
#include "input/grid_line.h"

#include <QString>
#include <QStringList>

namespace gridloom::testing {

/// The record of a listed file written as "spacing stamp hours", e.g. "12 2002093012 109".
inline InputFileInfo fileOf(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(' '));
    InputFileInfo info;
    info.gridSpacingKm = parts[0].toDouble();
    const std::string stamp = parts[1].toStdString();
    info.firstHour = parseDateHourStamp(stamp).value();
    info.hourCount = parts[2].toInt();
    info.path = "/data/" + stamp + ".m3d";
    return info;
}

/// A file of cells i 1-60, j 1-50, k 1-23 within the given limits of its extent line, on the
/// grid its grid line defines.
inline InputFileInfo gridFileOf(double lonStart, double lonEnd, double latStart, double latEnd,
                                double spacingKm, const char* gridLine)
{
    return {.iStart = 1,
            .iEnd = 60,
            .jStart = 1,
            .jEnd = 50,
            .levelStart = 1,
            .levelEnd = 23,
            .latStart = latStart,
            .latEnd = latEnd,
            .lonStart = lonStart,
            .lonEnd = lonEnd,
            .gridSpacingKm = spacingKm,
            .grid = parseGridLine(gridLine)};
}

} // namespace gridloom::testing
