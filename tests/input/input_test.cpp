// The input rules without a window: reading headers of generated 3D.DAT files, the period an
// added file presets, the limits texts, the Merge-mode refusals and the path-length rule.
#include "common/date_hour_stamp.h"
#include "fixtures/fixture_writer.h"
#include "input/domain_limits.h"
#include "input/header_reader.h"
#include "input/input_list_rules.h"
#include "input/period_presets.h"
#include "support/data_rows.h"
#include "support/input_files.h"
#include "support/messages.h"
#include "support/qt_test_prelude.h"

#include <functional>

using namespace gridloom;
using fixtures::SampleHeader;
using namespace gridloom::testing;

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
QString summary(const InputFileInfo& info)
{
    QStringList parts{QString::number(info.gridSpacingKm),
                      QString::fromStdString(
                          dateHourStamp(calendarDay(info.firstHour), hourOfDay(info.firstHour))),
                      QString::number(info.hourCount)};
    for (const auto& field : info.extentText)
        parts << QString::fromStdString(field);
    for (const int index :
         {info.iStart, info.iEnd, info.jStart, info.jEnd, info.levelStart, info.levelEnd})
        parts << QString::number(index);
    for (const double angle : {info.latStart, info.latEnd, info.lonStart, info.lonEnd})
        parts << QString::number(angle);
    return parts.join(QLatin1Char(' '));
}

const QString standard = QStringLiteral(
    "12 2002093012 109 1 1 60 50 1 23 -120.5 -95 25.25 50 1 60 1 50 1 23 25.25 50 -120.5 -95");

std::chrono::sys_seconds utc(const QString& text)
{
    QDateTime value = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm"));
    value.setTimeZone(QTimeZone::utc());
    return std::chrono::sys_seconds{std::chrono::seconds{value.toSecsSinceEpoch()}};
}

QString describe(const std::optional<PeriodEnd>& end)
{
    if (!end)
        return QStringLiteral("-");
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(end->dateTime.time_since_epoch());
    return QDateTime::fromSecsSinceEpoch(seconds.count(), QTimeZone::utc())
               .toString(QStringLiteral("yyyy-MM-dd HH/")) +
           QString::fromStdString(end->hourText);
}

} // namespace

class InputTest final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    std::optional<InputFileInfo> read(const QByteArray& content)
    {
        const std::string path = m_dir.filePath(QStringLiteral("sample.m3d")).toStdString();
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
               QStringLiteral("4.5") + standard.mid(2));
        addRow("fewest fields, halves to even, 16-bit ends",
               edited({"4|36.000 60 50 23", "6|2002100500 48",
                       "7|2.5 -32768 -2.5 32767 1.5001 1e2 -0.5e1 .5 -1E-5 +7"}),
               QStringLiteral("36 2002100500 48 2.5 -32768 -2.5 32767 1.5001 1e2 -0.5e1 .5 -1E-5 "
                              "+7 2 -2 -32768 32767 2 100 -1e-05 7 -5 0.5"));
        addRow("no line feed", QByteArray(6000, 'x'), refused);
        addRow("extent line past 5000 characters", text({.commentLines = 100}), refused);
        for (const char* line :
             {"1|1.0", "1|-1", "4|60 50 23", "6|2002093012", "6|2002093012 109.5", "6|2002093012 0",
              "6|2002093024 109", "6|2100022912 1", "6|2148010100 1",
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
        const QString span = QStringLiteral("2002-09-30 12:00|2002-10-05 00:00");
        addRow("first file, into the next month", QString(), "12 2002093012 109",
               "2002-09-30 12/12 | 2002-10-05 00/0");
        addRow("later file moves the end", span, "12 2002100500 48", "- | 2002-10-06 23/23");
        addRow("file inside changes nothing", span, "12 2002100100 24", "- | -");
        addRow("wider file moves both", span, "12 2002092900 240",
               "2002-09-29 00/0 | 2002-10-08 23/23");
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
                                       ? QStringList{QStringLiteral("2000-01-01 00:00"),
                                                     QStringLiteral("2010-01-01 00:00")}
                                       : pickers.split(QLatin1Char('|'));
        const auto result =
            setPeriodForExtract(utc(picked[0]), utc(picked[1]), !pickers.isEmpty(), fileOf(file));
        QCOMPARE(describe(result.start) + QStringLiteral(" | ") + describe(result.end), preset);
    }

    void limitsTexts_data()
    {
        columns<QString, int, QString>("extent", "view", "labels");
        addRow("index view keeps the file's text", "001 +2 60.0 5e1 1 23 -120.5 -95 25.25 50", 0,
               "001 +2 60.0 5e1 1 23");
        addRow("west and north", "1 1 60 50 1 23 -120.5 -95 25.25 50", 1,
               "120.5W 25.25N 95W 50N 1 23");
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
        std::ranges::transform(extent.split(QLatin1Char(' ')), limits.begin(),
                               &QString::toStdString);
        QStringList shown;
        for (const auto& text : domainLimitTexts(limits, static_cast<LimitsView>(view)))
            shown << QString::fromStdString(text);
        QCOMPARE(shown.join(QLatin1Char(' ')), labels);
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
        const LastFileState last = lastFileStateOf(fileOf(QStringLiteral("12 2002093012 109")));
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
        addRow("133 characters, short form used", pathOf(133), utf8, pathOf(132), pathOf(132),
               false);
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
};

QTEST_GUILESS_MAIN(InputTest)
#include "input_test.moc"
