#pragma once

#include "common/date_hour_stamp.h"
#include "common/input_file_info.h"

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

} // namespace gridloom::testing
