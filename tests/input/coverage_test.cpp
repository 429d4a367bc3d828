// How the listed files cover time, without a window: gaps and overlaps of hand-written file
// periods, grids compared from generated headers, the output period read from the boxes, the
// legend's lines and the axis labels at spans from hours to decades.
#include "common/date_hour_stamp.h"
#include "fixtures/fixture_writer.h"
#include "input/header_reader.h"
#include "input/input_coverage.h"
#include "input/time_axis.h"
#include "support/data_rows.h"
#include "support/input_files.h"
#include "support/qt_test_prelude.h"

using namespace gridloom;
using namespace gridloom::testing;

namespace {

QString stampOf(DateHour hour)
{
    return QString::fromStdString(dateHourStamp(calendarDay(hour), hourOfDay(hour)));
}

// "2002010100 24, 2002010200 24": files of 12 km by first hour and hour count.
std::vector<InputFileInfo> filesOf(const QString& text)
{
    std::vector<InputFileInfo> files;
    for (const QString& file : text.split(QStringLiteral(", "), Qt::SkipEmptyParts))
        files.push_back(fileOf(QStringLiteral("12 ") + file));
    return files;
}

HourSpan periodOf(const QString& text)
{
    // Two stamps of ten digits and a dash between them.
    const std::string ends = text.toStdString();
    return HourSpan{parseDateHourStamp(ends.substr(0, 10)).value(),
                    parseDateHourStamp(ends.substr(11)).value()};
}

// "first-last (hours)", the files of an overlap counted from 1 after it.
QString describe(const HourSpan& span)
{
    return stampOf(span.first) + QLatin1Char('-') + stampOf(span.last) +
           QStringLiteral(" (%1)").arg(span.hours());
}

QString labels(const std::vector<AxisTick>& ticks, char separator)
{
    QStringList texts;
    for (const AxisTick& tick : ticks)
        texts << QString::fromStdString(tick.label);
    return texts.join(QLatin1Char(separator));
}

} // namespace

class CoverageTest final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void gapsAndOverlaps_data()
    {
        columns<QString, QString, QString, QString>("files", "period", "gaps", "overlaps");
        addRow("one-hour gap", "2002010100 24, 2002010201 23", "2002010100-2002010223",
               "2002010200-2002010200 (1)", "");
        addRow("one-hour overlap", "2002010100 25, 2002010200 24", "2002010100-2002010223", "",
               "2002010200-2002010200 (1) 1,2");
        addRow("file inside another", "2002010100 48, 2002010112 6", "2002010100-2002010223", "",
               "2002010112-2002010117 (6) 1,2");
        addRow("identical files", "2002010100 24, 2002010100 24", "2002010100-2002010123", "",
               "2002010100-2002010123 (24) 1,2");
        addRow("the last hour held by a file of its own", "2002010100 23, 2002010123 1",
               "2002010100-2002010123", "", "");
        addRow("reverse order, abutting", "2002010300 24, 2002010200 24, 2002010100 24",
               "2002010100-2002010323", "", "");
        addRow("reverse order, a day missing", "2002010300 24, 2002010100 24",
               "2002010100-2002010323", "2002010200-2002010223 (24)", "");
        addRow("period wider than the files on both sides", "2002010100 24",
               "2001123122-2002010201", "2001123122-2001123123 (2) 2002010200-2002010201 (2)", "");
        addRow("files outside the period count for nothing", "2001120100 24, 2002020100 24",
               "2002010100-2002010105", "2002010100-2002010105 (6)", "");
        addRow("leap day missing", "2004022800 24, 2004030100 24", "2004022800-2004030123",
               "2004022900-2004022923 (24)", "");
        addRow("leap day held", "2004022800 48, 2004030100 24", "2004022800-2004030123", "", "");
        addRow("across the year end", "2002123112 12, 2003010100 24", "2002123112-2003010123", "",
               "");
        addRow("one hour twice at the year end", "2002123112 13, 2003010100 24",
               "2002123112-2003010123", "", "2003010100-2003010100 (1) 1,2");
        addRow("three deep, split where the files change",
               "2002010100 24, 2002010106 4, 2002010108 2", "2002010100-2002010123", "",
               "2002010106-2002010107 (2) 1,2 2002010108-2002010109 (2) 1,2,3");
        addRow("two separate overlaps", "2002010100 13, 2002010112 13, 2002010200 13",
               "2002010100-2002010212", "",
               "2002010112-2002010112 (1) 1,2 2002010200-2002010200 (1) 2,3");
    }
    void gapsAndOverlaps()
    {
        auto [files, period, gaps, overlaps] = fetchRow<QString, QString, QString, QString>();
        const auto spans = fileSpans(filesOf(files));
        QStringList foundGaps;
        for (const HourSpan& gap : coverageGaps(spans, periodOf(period)))
            foundGaps << describe(gap);
        QStringList foundOverlaps;
        for (const CoverageOverlap& overlap : coverageOverlaps(spans)) {
            QStringList positions;
            for (const std::size_t file : overlap.files)
                positions << QString::number(file + 1);
            foundOverlaps << describe(overlap.span) + QLatin1Char(' ') + positions.join(u',');
        }
        QCOMPARE(foundGaps.join(QLatin1Char(' ')), gaps);
        QCOMPARE(foundOverlaps.join(QLatin1Char(' ')), overlaps);
    }

    void gridDifferencesFromHeaders_data()
    {
        // Headers by kind: "same" is the usual 12 km grid; "fine" has 4 km, "wide" more cells,
        // "moved" another origin, "bare" a grid line of the last four fields only.
        columns<QString, QString>("headers", "differences");
        addRow("one grid", "same same same", "");
        addRow("the odd one out", "same fine same", "2:spacing");
        addRow("most files make the common grid", "fine same same", "1:spacing");
        addRow("a tie goes to the first grid", "fine same", "2:spacing");
        addRow("cells and origin", "same wide moved", "2:cells 3:origin");
        addRow("no origin written differs from one written", "same same bare", "3:origin");
        addRow("spacing and cells at once", "same same fine+wide", "3:spacing,cells");
    }
    void gridDifferencesFromHeaders()
    {
        auto [headers, differences] = fetchRow<QString, QString>();
        std::vector<InputFileInfo> files;
        for (const QString& kind : headers.split(QLatin1Char(' '))) {
            const std::string spacing = kind.contains(u"fine") ? "4.000" : "12.000";
            const std::string origin = kind == u"moved" ? "-350.000 -294.000" : "-354.000 -294.000";
            const std::string cells = kind.contains(u"wide") ? "61 50 23" : "60 50 23";
            const std::string gridLine = kind == u"bare" ? "12.000 60 50 23"
                                                         : "LCC 40.0 -97.0 30.0 60.0 " + origin +
                                                               " " + spacing + " " + cells;
            const std::string path = m_dir.filePath(QStringLiteral("g.m3d")).toStdString();
            fixtures::writeFixture(path, {.gridLine = gridLine});
            files.push_back(readHeader(path).value());
        }
        QStringList found;
        for (const GridDifference& difference : gridDifferences(files)) {
            QStringList what;
            if (difference.spacing)
                what << QStringLiteral("spacing");
            if (difference.cells)
                what << QStringLiteral("cells");
            if (difference.origin)
                what << QStringLiteral("origin");
            found << QString::number(difference.file + 1) + QLatin1Char(':') + what.join(u',');
        }
        QCOMPARE(found.join(QLatin1Char(' ')), differences);
    }

    void outputPeriodFromBoxes_data()
    {
        // "day:hour" of March 2002 for each end; empty: no period.
        columns<QString, QString, QString>("start", "end", "period");
        addRow("whole day and more", "1:0", "2:23", "2002030100-2002030223 (48)");
        addRow("halves to even", "1:6.5", "2:7.5", "2002030106-2002030208 (27)");
        addRow("one hour", "2:5", "2:5", "2002030205-2002030205 (1)");
        addRow("end day before the start", "2:0", "1:23", "");
        addRow("hour 24", "1:24", "2:0", "");
        addRow("negative hour", "1:-1", "2:0", "");
        addRow("empty box", "1:", "2:5", "");
        addRow("not a number", "1:0", "2:noon", "");
    }
    void outputPeriodFromBoxes()
    {
        auto [start, end, period] = fetchRow<QString, QString, QString>();
        using namespace std::chrono;
        const auto dayOf = [](const QString& at) {
            return 2002y / March / day(at.section(u':', 0, 0).toUInt());
        };
        const auto found = outputPeriod(dayOf(start), start.section(u':', 1).toStdString(),
                                        dayOf(end), end.section(u':', 1).toStdString());
        QCOMPARE(found ? describe(*found) : QString(), period);
    }

    void legendLines_data()
    {
        // The files on one grid but for what "odd" names of the last one; no period: "".
        // Merged files may leave hours out, repeat them and differ in grid: no warnings then.
        columns<QString, QString, QString, QString>("files", "period", "odd", "lines");
        const QString none = QStringLiteral(
            "Output period: none while an hour box is not 0 to 23 or the end is before the start");
        addRow("nothing listed", "", "2002010100-2002010123", "",
               "Output period: 2002-01-01 00:00 to 2002-01-01 23:00, 24 hours | No input files "
               "listed");
        addRow("no period, abutting", "2002010100 24, 2002010200 24", "", "",
               none + QStringLiteral(" | No gaps, no overlaps, one grid"));
        addRow("no period: gaps between the files", "2002010100 24, 2002010206 24", "", "",
               none + QStringLiteral(
                          " | Gap: no file holds 2002-01-02 00:00 to 2002-01-02 05:00, 6 hours !"));
        addRow("two, then three files on the same hours",
               "2002010100 25, 2002010100 25, 2002010200 24", "", "",
               none + QStringLiteral(" | Overlap: Files 1 and 2 both hold 2002-01-01 00:00 to "
                                     "2002-01-01 23:00, 24 hours ! | Overlap: Files 1, 2 and 3 "
                                     "all hold 2002-01-02 00:00, 1 hour !"));
        addRow("cells and origin", "2002010100 24, 2002010200 24, 2002010300 24", "",
               "cells origin",
               none + QStringLiteral(" | Other grid: file 3 has 61 x 50 x 23 cells, not 60 x 50 "
                                     "x 23 cells; origin (-350.5, -294) km, not (-354, -294) km "
                                     "!"));
        addRow("an origin not written", "2002010100 24, 2002010200 24, 2002010300 24", "",
               "unwritten",
               none + QStringLiteral(" | Other grid: file 3 has origin unknown, not (-354, "
                                     "-294) km !"));
        addRow("a year, March missing, February twice, a finer grid",
               "2002010100 744, 2002020100 672, 2002020100 672, 2002040100 720",
               "2002010100-2002043023", "fine",
               "Output period: 2002-01-01 00:00 to 2002-04-30 23:00, 2880 hours | Gap: no file "
               "holds 2002-03-01 00:00 to 2002-03-31 23:00, 744 hours ! | Overlap: Files 2 and 3 "
               "both hold 2002-02-01 00:00 to 2002-02-28 23:00, 672 hours ! | Other grid: file 4 "
               "has spacing 4 km, not 12 km !");
    }
    void legendLines()
    {
        auto [files, period, odd, lines] = fetchRow<QString, QString, QString, QString>();
        auto infos = filesOf(files);
        for (InputFileInfo& info : infos) {
            info.gridCells = GridCells{60, 50, 23};
            info.gridOriginKm = GridOrigin{-354.0, -294.0};
        }
        if (odd.contains(u"fine"))
            infos.back().gridSpacingKm = 4.0;
        if (odd.contains(u"cells"))
            infos.back().gridCells = GridCells{61, 50, 23};
        if (odd.contains(u"origin"))
            infos.back().gridOriginKm = GridOrigin{-350.5, -294.0};
        if (odd.contains(u"unwritten"))
            infos.back().gridOriginKm.reset();
        const auto coverage =
            inputCoverage(infos, ProcessingMode::Extract,
                          period.isEmpty() ? std::nullopt : std::optional(periodOf(period)));
        QStringList found;
        for (const CoverageLine& line : coverage.legend)
            found << QString::fromStdString(line.text) +
                         (line.warning ? QStringLiteral(" !") : QString());
        QCOMPARE(found.join(QStringLiteral(" | ")), lines);
        const auto merged = inputCoverage(infos, ProcessingMode::Merge, std::nullopt);
        QVERIFY(merged.gaps.empty() && merged.overlaps.empty() && merged.gridDifferences.empty());
        QVERIFY(std::none_of(merged.legend.begin(), merged.legend.end(),
                             [](const CoverageLine& line) { return line.warning; }));
    }

    void axisLabels_data()
    {
        // The view as two stamps, the least room a label needs in hours, then the first fine
        // labels and the coarse ones.
        columns<QString, double, QString, QString>("view", "spacing", "fine", "coarse");
        addRow("half a day in 3 hours", "2002030500-2002030512", 2.5,
               "00:00 03:00 06:00 09:00 12:00", "5 Mar 2002");
        addRow("midnight between two days", "2002030522-2002030602", 1.0,
               "22:00 23:00 00:00 01:00 02:00", "5 Mar 2002|6 Mar 2002");
        addRow("the leap day", "2004022700-2004030200", 20.0, "27 28 29 1 2", "Feb 2004|Mar 2004");
        // A month's last label keeps half a step from the next month's first: 29 April two days
        // before 1 May, but not 31 May, one day before 1 June.
        addRow("month ends in 2 days", "2002042700-2002060300", 40.0,
               "27 29 1 3 5 7 9 11 13 15 17 19 21 23 25 27 29 1 3", "Apr 2002|May 2002|Jun 2002");
        addRow("a month in 5 days", "2002030100-2002033123", 100.0, "1 6 11 16 21 26", "Mar 2002");
        addRow("a year in 2 months", "2002010100-2002123123", 800.0, "Jan Mar May Jul Sep Nov",
               "2002");
        addRow("across a year end in months", "2002110100-2003020100", 500.0, "Nov Dec Jan Feb",
               "2002|2003");
        addRow("three decades in 5 years", "1996060100-2026010100", 30000.0,
               "2000 2005 2010 2015 2020 2025", "");
        addRow("three centuries in 100 years", "1850010100-2150010100", 500000.0, "1900 2000 2100",
               "");
    }
    void axisLabels()
    {
        auto [view, spacing, fine, coarse] = fetchRow<QString, double, QString, QString>();
        const HourSpan span = periodOf(view);
        const auto ticks = axisTicks(double(span.first.time_since_epoch().count()),
                                     double(span.last.time_since_epoch().count()), spacing);
        QCOMPARE(labels(ticks.fine, ' '), fine);
        QCOMPARE(labels(ticks.coarse, '|'), coarse);
    }
};

QTEST_GUILESS_MAIN(CoverageTest)
#include "coverage_test.moc"
