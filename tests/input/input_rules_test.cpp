#include "input/domain_limits.h"
#include "input/input_list_rules.h"
#include "input/period_presets.h"

#include <QDateTime>
#include <QTest>
#include <QTimeZone>
#include <string>

using namespace gridloom;

namespace {

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
               .toString(QStringLiteral("yyyy-MM-dd HH:mm/")) +
           QString::fromStdString(end->hourText);
}

QString describe(const PeriodPreset& preset)
{
    return describe(preset.start) + QStringLiteral(" | ") + describe(preset.end);
}

// A file of "[spacing] stamp hours".
InputFileInfo fileOf(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(' '));
    InputFileInfo info;
    info.gridSpacingKm = parts.size() > 2 ? parts[0].toDouble() : 12.0;
    info.startStamp = parts[parts.size() - 2].toStdString();
    info.hourCount = parts.last().toInt();
    return info;
}

} // namespace

class InputRulesTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void extractPeriod_data()
    {
        // The pickers' values ("" while the list is empty), the file's period, and the preset:
        // "start | end", "-" for an end left alone.
        QTest::addColumn<QString>("pickers");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("preset");

        const QString span = QStringLiteral("2002-09-30 12:00|2002-10-05 00:00");
        QTest::newRow("first file takes its period, into the next month")
            << QString() << QStringLiteral("2002093012 109")
            << QStringLiteral("2002-09-30 12:00/12 | 2002-10-05 00:00/0");
        QTest::newRow("one hour") << QString() << QStringLiteral("2002093012 1")
                                  << QStringLiteral("2002-09-30 12:00/12 | 2002-09-30 12:00/12");
        QTest::newRow("into the next year")
            << QString() << QStringLiteral("2002123122 3")
            << QStringLiteral("2002-12-31 22:00/22 | 2003-01-01 00:00/0");
        QTest::newRow("2100 has no leap day")
            << QString() << QStringLiteral("2100022823 2")
            << QStringLiteral("2100-02-28 23:00/23 | 2100-03-01 00:00/0");
        QTest::newRow("later file moves the end only")
            << span << QStringLiteral("2002100500 48") << QStringLiteral("- | 2002-10-06 23:00/23");
        QTest::newRow("file inside changes nothing")
            << span << QStringLiteral("2002100100 24") << QStringLiteral("- | -");
        QTest::newRow("earlier file moves the start only")
            << span << QStringLiteral("2002092900 48") << QStringLiteral("2002-09-29 00:00/0 | -");
        QTest::newRow("wider file moves both")
            << span << QStringLiteral("2002092900 240")
            << QStringLiteral("2002-09-29 00:00/0 | 2002-10-08 23:00/23");
        QTest::newRow("minutes inside the first hour count as that hour")
            << QStringLiteral("2002-09-30 12:59|2002-10-05 00:00") << QStringLiteral("2002093012 2")
            << QStringLiteral("- | -");
        QTest::newRow("start picker in the next clock hour")
            << QStringLiteral("2002-09-30 13:00|2002-10-05 00:00") << QStringLiteral("2002093012 2")
            << QStringLiteral("2002-09-30 12:00/12 | -");
        QTest::newRow("end picker a minute short of the last hour")
            << QStringLiteral("2002-09-30 12:00|2002-10-04 23:59") << QStringLiteral("2002100423 2")
            << QStringLiteral("- | 2002-10-05 00:00/0");
    }
    void extractPeriod()
    {
        QFETCH(QString, pickers);
        QFETCH(QString, file);
        QFETCH(QString, preset);

        // An empty list: pickers on both sides of the file, which must not keep them.
        const QStringList picked = pickers.isEmpty()
                                       ? QStringList{QStringLiteral("2000-01-01 00:00"),
                                                     QStringLiteral("2010-01-01 00:00")}
                                       : pickers.split(QLatin1Char('|'));
        const auto result =
            setPeriodForExtract(utc(picked[0]), utc(picked[1]), !pickers.isEmpty(), fileOf(file));
        QCOMPARE(describe(result), preset);
    }

    void mergePeriodIsTheFilesPeriodOntoALeapDay()
    {
        QCOMPARE(describe(setPeriodForMerge(fileOf(QStringLiteral("2004022822 3")))),
                 QStringLiteral("2004-02-28 22:00/22 | 2004-02-29 00:00/0"));
    }

    void limitsTexts_data()
    {
        QTest::addColumn<QString>("extent");
        QTest::addColumn<int>("view");
        QTest::addColumn<QString>("labels");

        QTest::newRow("index view keeps the file's text")
            << QStringLiteral("001 +2 60.0 5e1 1 23 -120.5 -95 25.25 50") << 0
            << QStringLiteral("001 +2 60.0 5e1 1 23");
        QTest::newRow("west and north") << QStringLiteral("1 1 60 50 1 23 -120.5 -95 25.25 50") << 1
                                        << QStringLiteral("120.5W 25.25N 95W 50N 1 23");
        QTest::newRow("zero and minus zero are east and north, negatives south")
            << QStringLiteral("1 1 2 2 3 4 0 -0 -45 -0.5") << 1
            << QStringLiteral("0E 45S 0E 0.5S 3 4");
        QTest::newRow("general format: no trailing zeros, 15 digits")
            << QStringLiteral("1 1 2 2 1 1 12.000 1e2 33.3333333333333333 2.50E1") << 1
            << QStringLiteral("12E 33.3333333333333N 100E 25N 1 1");
        QTest::newRow("tiny values in exponent form")
            << QStringLiteral("1 1 2 2 1 1 -0.00001 0.0001 0.000015 -1e-9") << 1
            << QStringLiteral("1E-05W 1.5E-05N 0.0001E 1E-09S 1 1");
        QTest::newRow("a text that is no number stays as written")
            << QStringLiteral("1 1 2 2 1 1 west 0 n/a 0") << 1
            << QStringLiteral("west n/a 0E 0N 1 1");
    }
    void limitsTexts()
    {
        QFETCH(QString, extent);
        QFETCH(int, view);
        QFETCH(QString, labels);

        std::array<std::string, 10> limits;
        const QStringList parts = extent.split(QLatin1Char(' '));
        for (std::size_t n = 0; n < limits.size(); ++n)
            limits[n] = parts[static_cast<int>(n)].toStdString();
        QStringList shown;
        for (const auto& text : domainLimitTexts(limits, static_cast<LimitsView>(view)))
            shown << QString::fromStdString(text);
        QCOMPARE(shown.join(QLatin1Char(' ')), labels);
    }

    void mergeRules_data()
    {
        // Files listed, and the candidate's spacing, first hour and hour count; the last
        // accepted file has 12 km, 2002093012 and 109 hours.
        QTest::addColumn<int>("listed");
        QTest::addColumn<QString>("candidate");
        QTest::addColumn<QString>("message");

        QTest::newRow("first file compares nothing")
            << 0 << QStringLiteral("4 2003010100 1") << QString();
        QTest::newRow("equal grid and period, third file")
            << 2 << QStringLiteral("12 2002093012 109") << QString();
        QTest::newRow("count before grid")
            << 3 << QStringLiteral("4 2003010100 1") << QString::fromUtf8(tooManyMergeFilesMessage);
        QTest::newRow("grid before start")
            << 1 << QStringLiteral("11.999 2003010100 1") << QString::fromUtf8(finerGridMessage);
        QTest::newRow("start before end")
            << 2 << QStringLiteral("36 2002093013 1") << QString::fromUtf8(differentStartMessage);
        QTest::newRow("hour count")
            << 1 << QStringLiteral("36 2002093012 108") << QString::fromUtf8(differentEndMessage);
    }
    void mergeRules()
    {
        QFETCH(int, listed);
        QFETCH(QString, candidate);
        QFETCH(QString, message);

        const LastFileState last = lastFileStateOf(fileOf(QStringLiteral("12 2002093012 109")));
        const auto refusal =
            mergeRefusal(static_cast<std::size_t>(listed), last, fileOf(candidate));
        QCOMPARE(refusal ? QString::fromStdString(*refusal) : QString(), message);
    }

    void pathLength_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("shortForm");
        QTest::addColumn<QByteArray>("used");
        QTest::addColumn<bool>("refused");

        const auto pathOf = [](int length, char c = 'x') {
            return QByteArray("/d/") + QByteArray(length - 3, c);
        };
        const QByteArray accented = "/d/" + QString(129, QChar(0x00e9)).toUtf8();
        QTest::newRow("132 characters, used as they are")
            << pathOf(132) << pathOf(20) << pathOf(132) << false;
        QTest::newRow("133 characters, short form used")
            << pathOf(133) << pathOf(90) << pathOf(90) << false;
        QTest::newRow("short form of 132 characters")
            << pathOf(140) << pathOf(132) << pathOf(132) << false;
        QTest::newRow("short form of 133 characters")
            << pathOf(140) << pathOf(133) << QByteArray() << true;
        QTest::newRow("no short form, silently")
            << pathOf(140) << QByteArray() << QByteArray() << false;
        QTest::newRow("132 UTF-8 characters of two bytes")
            << accented << QByteArray() << accented << false;
        // 0xA9 alone is no UTF-8: a path in a single-byte code page, one character a byte.
        QTest::newRow("133 code-page characters")
            << pathOf(133, '\xa9') << pathOf(133, '\xa9') << QByteArray() << true;
    }
    void pathLength()
    {
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, shortForm);
        QFETCH(QByteArray, used);
        QFETCH(bool, refused);

        // A byte that is no UTF-8 marks a path in a single-byte code page.
        const auto encoding = !path.contains('\xc3') && path.contains('\xa9')
                                  ? TextEncoding::SingleByte
                                  : TextEncoding::Utf8;
        const auto check = checkPathLength(
            path.toStdString(),
            [&](const std::string& asked) {
                return asked == path.toStdString() ? shortForm.toStdString() : std::string("wrong");
            },
            encoding);
        QCOMPARE(QByteArray::fromStdString(check.path), used);
        QCOMPARE(check.colour == ListColour::Yellow, refused);
        QCOMPARE(check.tooLong, refused);
    }
};

QTEST_GUILESS_MAIN(InputRulesTest)
#include "input_rules_test.moc"
