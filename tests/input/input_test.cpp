// The input rules without a window: reading headers of generated 3D.DAT files, the period an
// added file presets, the limits texts, the Merge-mode refusals and the path-length rule. Then
// how the listed files cover time: gaps and overlaps of hand-written file periods, grids
// compared from generated headers, the output period read from the boxes, the legend's lines
// and the axis labels at spans from hours to decades.
#include "common/date_hour_stamp.h"
#include "fixtures/fixture_writer.h"
#include "input/domain_limits.h"
#include "input/header_reader.h"
#include "input/input_coverage.h"
#include "input/input_list_rules.h"
#include "input/period_presets.h"
#include "input/time_axis.h"
#include "support/data_rows.h"
#include "support/input_files.h"
#include "support/messages.h"
#include "support/qt_test_prelude.h"

using namespace gridloom;
using fixtures::SampleHeader;
using namespace gridloom::testing;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(gridloom::TextEncoding)

namespace {

QByteArray text(const SampleHeader& header)
{
    return QByteArray::fromStdString(fixtures::headerText(header));
}

// The default header with lines replaced, each given as "line|content".
QByteArray edited(std::initializer_list<const char*> replacements)
{
    std::string text = fixtures::headerText({});
    for (const std::string replacement : replacements) {
        const auto bar = replacement.find('|');
        text = fixtures::replaceLine(text, std::stoi(replacement.substr(0, bar)),
                                     replacement.substr(bar + 1));
    }
    return QByteArray::fromStdString(text);
}

// Every value the reader returns: spacing, stamp, hours, the extent texts, the six indices
// (i, j, k, first and last) and the angles (latitudes, then longitudes).
QString stampOf(DateHour hour)
{
    return QString::fromStdString(dateHourStamp(calendarDay(hour), hourOfDay(hour)));
}

QString summary(const InputFileInfo& info)
{
    QStringList parts{QString::number(info.gridSpacingKm), stampOf(info.firstHour),
                      QString::number(info.hourCount)};
    for (const auto& field : info.extentText)
        parts << QString::fromStdString(field);
    for (const int index :
         {info.iStart, info.iEnd, info.jStart, info.jEnd, info.levelStart, info.levelEnd})
        parts << QString::number(index);
    for (const double angle : {info.latStart, info.latEnd, info.lonStart, info.lonEnd})
        parts << QString::number(angle);
    return parts.join(u' ');
}

const QString standard =
    u"12 2002093012 109 1 1 60 50 1 23 -120.5 -95 25.25 50 1 60 1 50 1 23 25.25 50 -120.5 -95"_s;

std::chrono::sys_seconds utc(const QString& text)
{
    QDateTime value = QDateTime::fromString(text, u"yyyy-MM-dd HH:mm"_s);
    value.setTimeZone(QTimeZone::utc());
    return std::chrono::sys_seconds{std::chrono::seconds{value.toSecsSinceEpoch()}};
}

QString describe(const std::optional<PeriodEnd>& end)
{
    if (!end)
        return u"-"_s;
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(end->dateTime.time_since_epoch());
    return QDateTime::fromSecsSinceEpoch(seconds.count(), QTimeZone::utc())
               .toString(u"yyyy-MM-dd HH/"_s) +
           QString::fromStdString(end->hourText);
}

// "2002010100 24, 2002010200 24": files of 12 km by first hour and hour count.
std::vector<InputFileInfo> filesOf(const QString& text)
{
    std::vector<InputFileInfo> files;
    for (const QString& file : text.split(u", "_s, Qt::SkipEmptyParts))
        files.push_back(fileOf(u"12 "_s + file));
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
    return stampOf(span.first) + u'-' + stampOf(span.last) + u" (%1)"_s.arg(span.hours());
}

QString labels(const std::vector<AxisTick>& ticks, char separator)
{
    QStringList texts;
    for (const AxisTick& tick : ticks)
        texts << QString::fromStdString(tick.label);
    return texts.join(QLatin1Char(separator));
}

} // namespace

class InputTest final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    std::optional<InputFileInfo> read(const QByteArray& content)
    {
        const std::string path = m_dir.filePath(u"sample.m3d"_s).toStdString();
        fixtures::writeText(path, content.toStdString());
        auto info = readHeader(path);
        if (info && info->path != path)
            qFatal("the record names another path");
        return info;
    }

private Q_SLOTS:
    void readsHeaders_data()
    {
        // expected: empty: refused
        columns<QByteArray, QString>("content", "expected");
        const QString refused;
        addRow("one comment line", edited({}), standard);
        addRow("no comment lines, other version",
               text({.datasetLine = "3D.DAT 2.0 older", .commentLines = 0}), standard);
        addRow("CR LF, indents, runs of spaces",
               text({.commentLines = 2, .lineEnd = "\r\n", .indent = "  ", .separator = "   "}),
               standard);
        addRow("exactly 5000 characters", text({.padTo = 0}).leftJustified(5000, ' '), standard);
        addRow("spacing 4th from the end", edited({"4|LCC a b c d e f g 4.500 60 50 23"}),
               u"4.5"_s + standard.mid(2));
        addRow("fewest fields, halves to even, 16-bit ends",
               edited({"4|36.000 60 50 23", "6|2002100500 48",
                       "7|2.5 -32768 -2.5 32767 1.5001 1e2 -0.5e1 .5 -1E-5 +7"}),
               u"36 2002100500 48 2.5 -32768 -2.5 32767 1.5001 1e2 -0.5e1 .5 -1E-5 "
               "+7 2 -2 -32768 32767 2 100 -1e-05 7 -5 0.5"_s);
        addRow("ends in the last hour there is", edited({"6|2147010100 68837976"}),
               u"12 2147010100 68837976"_s + standard.mid(17));
        addRow("no line feed", QByteArray(6000, 'x'), refused);
        addRow("extent line past 5000 characters", text({.commentLines = 100}), refused);
        for (const char* line :
             {"1|1.0", "1|-1", "4|60 50 23", "6|2002093012", "6|2002093012 109.5", "6|2002093012 0",
              "6|2002093024 109", "6|2100022912 1", "6|2148010100 1", "6|2147010100 68837977",
              "7|1 1 60 50 1 23 -120.5 -95 25.25", "7|1 1 60 fifty 1 23 -120.5 -95 25.25 50",
              "7|1 1 60 50 1 32767.5 -120.5 -95 25.25 50", "7|1 1 60 50 1 23 west -95 25.25 50"})
            addRow(line, edited({line}), refused);
    }
    void readsHeaders()
    {
        auto [content, expected] = fetchRow<QByteArray, QString>();
        const auto info = read(content);
        QCOMPARE(info ? summary(*info) : QString(), expected);
    }

    void extractPeriod_data()
    {
        // The pickers' values ("" while the list is empty), the file, and the preset:
        // "start | end", "-" for an end left alone.
        columns<QString, QString, QString>("pickers", "file", "preset");
        const QString span = u"2002-09-30 12:00|2002-10-05 00:00"_s;
        addRow("first file, into the next month", QString(), "12 2002093012 109",
               "2002-09-30 12/12 | 2002-10-05 00/0");
        addRow("later file moves the end", span, "12 2002100500 48", "- | 2002-10-06 23/23");
        addRow("file inside changes nothing", span, "12 2002100100 24", "- | -");
        addRow("wider: both move", span, "12 2002092900 240", "2002-09-29 00/0 | 2002-10-08 23/23");
        addRow("minutes inside the first hour count as that hour",
               "2002-09-30 12:59|2002-10-05 00:00", "12 2002093012 2", "- | -");
        addRow("start picker in the next clock hour", "2002-09-30 13:00|2002-10-05 00:00",
               "12 2002093012 2", "2002-09-30 12/12 | -");
        addRow("end picker a minute short of the last hour", "2002-09-30 12:00|2002-10-04 23:59",
               "12 2002100423 2", "- | 2002-10-05 00/0");
    }
    void extractPeriod()
    {
        auto [pickers, file, preset] = fetchRow<QString, QString, QString>();
        // With an empty list the pickers lie on both sides of the file and must not be kept.
        const QStringList picked = pickers.isEmpty()
                                       ? QStringList{u"2000-01-01 00:00"_s, u"2010-01-01 00:00"_s}
                                       : pickers.split(u'|');
        const auto result =
            setPeriodForExtract(utc(picked[0]), utc(picked[1]), !pickers.isEmpty(), fileOf(file));
        QCOMPARE(describe(result.start) + u" | "_s + describe(result.end), preset);
    }

    void limitsTexts_data()
    {
        columns<QString, int, QString>("extent", "view", "labels");
        addRow("index view keeps the file's text", "001 +2 60.0 5e1 1 23 -120.5 -95 25.25 50", 0,
               "001 +2 60.0 5e1 1 23");
        addRow("W and N", "1 1 60 50 1 23 -120.5 -95 25.25 50", 1, "120.5W 25.25N 95W 50N 1 23");
        addRow("zero and minus zero east and north, negatives south", "1 1 2 2 3 4 0 -0 -45 -0.5",
               1, "0E 45S 0E 0.5S 3 4");
        addRow("general format", "1 1 2 2 1 1 12.000 -0.00001 33.3333333333333333 1e2", 1,
               "12E 33.3333333333333N 1E-05W 100N 1 1");
        addRow("no number stays as written", "1 1 2 2 1 1 west 0 n/a 0", 1, "west n/a 0E 0N 1 1");
    }
    void limitsTexts()
    {
        auto [extent, view, labels] = fetchRow<QString, int, QString>();
        std::array<std::string, 10> limits;
        std::ranges::transform(extent.split(u' '), limits.begin(), &QString::toStdString);
        QStringList shown;
        for (const auto& text : domainLimitTexts(limits, static_cast<LimitsView>(view)))
            shown << QString::fromStdString(text);
        QCOMPARE(shown.join(u' '), labels);
    }

    void mergeRules_data()
    {
        // Files listed and the candidate; the last accepted file has 12 km, 2002093012, 109 h.
        columns<int, QString, QString>("listed", "candidate", "message");
        addRow("first file compares nothing", 0, "4 2003010100 1", QString());
        addRow("equal grid and period", 2, "12 2002093012 109", QString());
        addRow("count before grid", 3, "4 2003010100 1", message("tooManyMergeFiles"));
        addRow("grid before start", 1, "11.999 2003010100 1", message("finerGrid"));
        addRow("start before end", 2, "36 2002093013 1", message("differentStart"));
        addRow("hour count", 1, "36 2002093012 108", message("differentEnd"));
    }
    void mergeRules()
    {
        auto [listed, candidate, expected] = fetchRow<int, QString, QString>();
        const LastFileState last = lastFileStateOf(fileOf(u"12 2002093012 109"_s));
        const auto refusal = mergeRefusal(std::size_t(listed), last, fileOf(candidate));
        QCOMPARE(QString::fromStdString(refusal.value_or("")), expected);
    }

    void pathLength_data()
    {
        columns<QByteArray, TextEncoding, QByteArray, QByteArray, bool>(
            "path", "encoding", "shortForm", "used", "refused");
        const auto pathOf = [](int length, const QByteArray& c = "x") {
            return QByteArray("/d/") + c.repeated(length - 3);
        };
        const auto utf8 = TextEncoding::Utf8;
        addRow("132 characters as they are", pathOf(132), utf8, pathOf(20), pathOf(132), false);
        addRow("133 chars, short form used", pathOf(133), utf8, pathOf(132), pathOf(132), false);
        addRow("short form of 133 characters", pathOf(140), utf8, pathOf(133), QByteArray(), true);
        addRow("short form of 256 characters", pathOf(300), utf8, pathOf(256), QByteArray(), true);
        addRow("no short form, silently", pathOf(140), utf8, QByteArray(), QByteArray(), false);
        addRow("133 code-page letters", pathOf(133, "\xa9"), TextEncoding::SingleByte,
               pathOf(133, "\xa9"), QByteArray(), true);
    }
    void pathLength()
    {
        auto [path, encoding, shortForm, used, refused] =
            fetchRow<QByteArray, TextEncoding, QByteArray, QByteArray, bool>();
        const auto check = checkPathLength(
            path.toStdString(),
            [&](const std::string& asked) {
                return asked == path.toStdString() ? shortForm.toStdString() : std::string("?");
            },
            encoding);
        QCOMPARE(QByteArray::fromStdString(check.path), used);
        QCOMPARE(check.colour == ListColour::Yellow, refused);
        QCOMPARE(check.tooLong, refused);
    }

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
        addRow("across year end", "2002123112 12, 2003010100 24", "2002123112-2003010123", "", "");
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
            foundOverlaps << describe(overlap.span) + u' ' + positions.join(u',');
        }
        QCOMPARE(foundGaps.join(u' '), gaps);
        QCOMPARE(foundOverlaps.join(u' '), overlaps);
    }

    void gridDifferencesFromHeaders_data()
    {
        // Headers by kind: "same" is the usual 12 km grid; "fine" has 4 km, "wide" more cells,
        // "moved" another origin, "bare" a grid line of the last four fields only, "half" an
        // origin whose y is no number.
        columns<QString, QString>("headers", "differences");
        addRow("one grid", "same same same", "");
        addRow("the odd one out", "same fine same", "2:spacing");
        addRow("most files make the common grid", "fine same same", "1:spacing");
        addRow("a tie goes to the first grid", "fine same", "2:spacing");
        addRow("cells and origin", "same wide moved", "2:cells 3:origin");
        addRow("no origin written differs from one written", "same same bare", "3:origin");
        addRow("half an origin is none", "bare half", "");
        addRow("spacing and cells at once", "same same fine+wide", "3:spacing,cells");
    }
    void gridDifferencesFromHeaders()
    {
        auto [headers, differences] = fetchRow<QString, QString>();
        std::vector<InputFileInfo> files;
        for (const QString& kind : headers.split(u' ')) {
            const std::string spacing = kind.contains(u"fine") ? "4.000" : "12.000";
            const std::string origin = kind == u"moved"  ? "-350.000 -294.000"
                                       : kind == u"half" ? "-354.000 north"
                                                         : "-354.000 -294.000";
            const std::string cells = kind.contains(u"wide") ? "61 50 23" : "60 50 23";
            const std::string gridLine = kind == u"bare" ? "12.000 60 50 23"
                                                         : "LCC 40.0 -97.0 30.0 60.0 " + origin +
                                                               " " + spacing + " " + cells;
            const std::string path = m_dir.filePath(u"g.m3d"_s).toStdString();
            fixtures::writeFixture(path, {.gridLine = gridLine});
            files.push_back(readHeader(path).value());
        }
        QStringList found;
        for (const GridDifference& difference : gridDifferences(files)) {
            QStringList what;
            for (const auto& [differs, name] : {std::pair{difference.spacing, "spacing"},
                                                {difference.cells, "cells"},
                                                {difference.origin, "origin"}})
                if (differs)
                    what << QLatin1String(name);
            found << QString::number(difference.file + 1) + u':' + what.join(u',');
        }
        QCOMPARE(found.join(u' '), differences);
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
        addRow("end hour 24", "1:0", "1:24", "");
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
        const QString none =
            u"Output period: none while an hour box is not 0 to 23 or the end is before the start"_s;
        addRow("nothing listed", "", "2002010100-2002010123", "",
               "Output period: 2002-01-01 00:00 to 2002-01-01 23:00, 24 hours | No input files "
               "listed");
        addRow("no period, abutting", "2002010100 24, 2002010200 24", "", "",
               none + u" | No gaps, no overlaps, one grid"_s);
        addRow("no period: gaps between the files", "2002010100 24, 2002010206 24", "", "",
               none + u" | Gap: no file holds 2002-01-02 00:00 to 2002-01-02 05:00, 6 hours !"_s);
        addRow("two, then three files on the same hours",
               "2002010100 25, 2002010100 25, 2002010200 24", "", "",
               none + u" | Overlap: Files 1 and 2 both hold 2002-01-01 00:00 to "
                      "2002-01-01 23:00, 24 hours ! | Overlap: Files 1, 2 and 3 "
                      "all hold 2002-01-02 00:00, 1 hour !"_s);
        addRow("cells and origin", "2002010100 24, 2002010200 24, 2002010300 24", "",
               "cells origin",
               none + u" | Other grid: file 3 has 61 x 50 x 23 cells, not 60 x 50 "
                      "x 23 cells; origin (-350.5, -294) km, not (-354, -294) km "
                      "!"_s);
        addRow("an origin not written", "2002010100 24, 2002010200 24, 2002010300 24", "",
               "unwritten",
               none + u" | Other grid: file 3 has origin unknown, not (-354, "
                      "-294) km !"_s);
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
            found << QString::fromStdString(line.text) + (line.warning ? u" !"_s : QString());
        QCOMPARE(found.join(u" | "_s), lines);
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
        addRow("a year in 3 months", "2002010100-2002123123", 1500.0, "Jan Apr Jul Oct", "2002");
        addRow("two years in 6 months", "2002010100-2003123123", 3000.0, "Jan Jul Jan Jul",
               "2002|2003");
        addRow("across a year end in months", "2002110100-2003020100", 500.0, "Nov Dec Jan Feb",
               "2002|2003");
        addRow("three decades in 5 years", "1996060100-2026010100", 30000.0,
               "2000 2005 2010 2015 2020 2025", "");
        addRow("half a century in 10 years", "1901010100-1951010100", 50000.0,
               "1910 1920 1930 1940 1950", "");
        addRow("three centuries in 100 years", "1850010100-2150010100", 500000.0, "1900 2000 2100",
               "");
        addRow("room for just over 100 years", "1001010100-2150010100", 100 * 8766.0 + 1,
               "1200 1400 1600 1800 2000", "");
        addRow("room for just over 200 years", "1001010100-2150010100", 200 * 8766.0 + 1,
               "1500 2000", "");
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

QTEST_GUILESS_MAIN(InputTest)
#include "input_test.moc"
