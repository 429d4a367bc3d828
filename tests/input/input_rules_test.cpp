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
    QDateTime asUtc = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm"));
    asUtc.setTimeZone(QTimeZone::utc());
    return std::chrono::sys_seconds{std::chrono::seconds{asUtc.toSecsSinceEpoch()}};
}

QString text(DateHour hour)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(hour.time_since_epoch());
    return QDateTime::fromSecsSinceEpoch(seconds.count(), QTimeZone::utc())
        .toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

// "unchanged" for an end the preset leaves alone, else "date time / hour text".
QString describe(const std::optional<PeriodEnd>& end)
{
    if (!end)
        return QStringLiteral("unchanged");
    return text(end->dateTime) + QStringLiteral(" / ") + QString::fromStdString(end->hourText);
}

InputFileInfo fileOf(const std::string& stamp, int hourCount, double spacing = 12.0)
{
    InputFileInfo info;
    info.startStamp = stamp;
    info.hourCount = hourCount;
    info.gridSpacingKm = spacing;
    return info;
}

QStringList qt(const auto& texts)
{
    QStringList list;
    for (const auto& t : texts)
        list << QString::fromStdString(std::string(t));
    return list;
}

std::array<std::string, 10> limits(const QStringList& texts)
{
    std::array<std::string, 10> result;
    for (std::size_t n = 0; n < result.size(); ++n)
        result[n] = texts.value(static_cast<int>(n)).toStdString();
    return result;
}

QStringList split(const char* words)
{
    return QString::fromUtf8(words).split(QLatin1Char(' '));
}

} // namespace

class InputRulesTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void extractPeriod_data()
    {
        QTest::addColumn<bool>("listed");
        QTest::addColumn<QString>("startPicker");
        QTest::addColumn<QString>("endPicker");
        QTest::addColumn<QString>("stamp");
        QTest::addColumn<int>("hourCount");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");

        const QString startup = QStringLiteral("2008-09-18 00:00");
        const QString from = QStringLiteral("2002-09-30 12:00");
        const QString to = QStringLiteral("2002-10-05 00:00");
        const QString same = QStringLiteral("unchanged");

        QTest::newRow("first file takes its period")
            << false << startup << startup << QStringLiteral("2002093012") << 109
            << QStringLiteral("2002-09-30 12:00 / 12") << QStringLiteral("2002-10-05 00:00 / 0");
        QTest::newRow("first file even inside the pickers' span")
            << false << QStringLiteral("2000-01-01 00:00") << QStringLiteral("2010-01-01 00:00")
            << QStringLiteral("2002093012") << 109 << QStringLiteral("2002-09-30 12:00 / 12")
            << QStringLiteral("2002-10-05 00:00 / 0");
        QTest::newRow("later file moves the end only")
            << true << from << to << QStringLiteral("2002100500") << 48 << same
            << QStringLiteral("2002-10-06 23:00 / 23");
        QTest::newRow("file inside changes nothing")
            << true << from << to << QStringLiteral("2002100100") << 24 << same << same;
        QTest::newRow("same period changes nothing")
            << true << from << to << QStringLiteral("2002093012") << 109 << same << same;
        QTest::newRow("earlier start, end inside")
            << true << from << to << QStringLiteral("2002092900") << 48
            << QStringLiteral("2002-09-29 00:00 / 0") << same;
        QTest::newRow("earlier start, later end")
            << true << from << to << QStringLiteral("2002092900") << 240
            << QStringLiteral("2002-09-29 00:00 / 0") << QStringLiteral("2002-10-08 23:00 / 23");
        QTest::newRow("start picker moved after the file's start")
            << true << QStringLiteral("2002-10-02 00:00") << to << QStringLiteral("2002093012") << 1
            << QStringLiteral("2002-09-30 12:00 / 12") << same;
        QTest::newRow("a gap between files is bridged")
            << true << from << to << QStringLiteral("2003010100") << 24 << same
            << QStringLiteral("2003-01-01 23:00 / 23");
        QTest::newRow("minutes inside the first hour count as that hour")
            << true << QStringLiteral("2002-09-30 12:59") << to << QStringLiteral("2002093012") << 2
            << same << same;
        QTest::newRow("the next clock hour is later")
            << true << QStringLiteral("2002-09-30 13:00") << to << QStringLiteral("2002093012") << 2
            << QStringLiteral("2002-09-30 12:00 / 12") << same;
        QTest::newRow("end picker a minute short of the last hour")
            << true << from << QStringLiteral("2002-10-04 23:59") << QStringLiteral("2002100423")
            << 2 << same << QStringLiteral("2002-10-05 00:00 / 0");
        QTest::newRow("end picker inside the last hour")
            << true << from << QStringLiteral("2002-10-05 00:30") << QStringLiteral("2002100423")
            << 2 << same << same;
    }
    void extractPeriod()
    {
        QFETCH(bool, listed);
        QFETCH(QString, startPicker);
        QFETCH(QString, endPicker);
        QFETCH(QString, stamp);
        QFETCH(int, hourCount);
        QFETCH(QString, start);
        QFETCH(QString, end);

        const auto preset = setPeriodForExtract(utc(startPicker), utc(endPicker), listed,
                                                fileOf(stamp.toStdString(), hourCount));
        QCOMPARE(describe(preset.start), start);
        QCOMPARE(describe(preset.end), end);
    }

    void mergePeriodOverwritesBothEnds()
    {
        const auto preset = setPeriodForMerge(fileOf("2004022822", 3));
        QCOMPARE(describe(preset.start), QStringLiteral("2004-02-28 22:00 / 22"));
        QCOMPARE(describe(preset.end), QStringLiteral("2004-02-29 00:00 / 0"));
    }

    void limitsTexts_data()
    {
        QTest::addColumn<QStringList>("extent");
        QTest::addColumn<int>("view");
        QTest::addColumn<QStringList>("labels");

        const QStringList file = split("1 1 60 50 1 23 -120.5 -95 25.25 50");
        QTest::newRow("index view") << file << 0 << split("1 1 60 50 1 23");
        QTest::newRow("index view keeps the file's text")
            << split("001 +2 60.0 5e1 1 23 0 0 0 0") << 0 << split("001 +2 60.0 5e1 1 23");
        QTest::newRow("geographic view") << file << 1 << split("120.5W 25.25N 95W 50N 1 23");
        QTest::newRow("zero is east and north")
            << split("1 1 2 2 3 4 0 0.0 0 -0") << 1 << split("0E 0N 0E 0N 3 4");
        QTest::newRow("south and east") << split("1 1 2 2 1 1 12.5 179.75 -45 -0.5") << 1
                                        << split("12.5E 45S 179.75E 0.5S 1 1");
        QTest::newRow("trailing zeros and exponents")
            << split("1 1 2 2 1 1 12.000 1e2 -40.0 2.50E1") << 1 << split("12E 40S 100E 25N 1 1");
        QTest::newRow("tiny values in exponent form")
            << split("1 1 2 2 1 1 -0.00001 0.0001 0.000015 -1e-9") << 1
            << split("1E-05W 1.5E-05N 0.0001E 1E-09S 1 1");
        QTest::newRow("fifteen significant digits")
            << split("1 1 2 2 1 1 -97.12345678901211 0 33.3333333333333333 0") << 1
            << split("97.1234567890121W 33.3333333333333N 0E 0N 1 1");
        QTest::newRow("a text that is no number stays as written")
            << split("1 1 2 2 1 1 west 0 n/a 0") << 1 << split("west n/a 0E 0N 1 1");
    }
    void limitsTexts()
    {
        QFETCH(QStringList, extent);
        QFETCH(int, view);
        QFETCH(QStringList, labels);
        QCOMPARE(qt(domainLimitTexts(limits(extent), static_cast<LimitsView>(view))), labels);
    }

    void mergeRules_data()
    {
        QTest::addColumn<int>("listed");
        QTest::addColumn<double>("lastSpacing");
        QTest::addColumn<int>("lastStamp");
        QTest::addColumn<int>("lastHours");
        QTest::addColumn<double>("spacing");
        QTest::addColumn<QString>("stamp");
        QTest::addColumn<int>("hours");
        QTest::addColumn<QString>("message");

        const QString tooMany = QString::fromUtf8(tooManyMergeFilesMessage);
        const QString finer = QString::fromUtf8(finerGridMessage);
        const QString start = QString::fromUtf8(differentStartMessage);
        const QString end = QString::fromUtf8(differentEndMessage);
        const QString stamp = QStringLiteral("2002093012");
        const int value = 2002093012;

        QTest::newRow("first file compares nothing")
            << 0 << 36.0 << 1999010100 << 5 << 4.0 << stamp << 109 << QString();
        QTest::newRow("same grid and period")
            << 1 << 12.0 << value << 109 << 12.0 << stamp << 109 << QString();
        QTest::newRow("coarser grid")
            << 2 << 12.0 << value << 109 << 36.0 << stamp << 109 << QString();
        QTest::newRow("finer grid") << 1 << 12.0 << value << 109 << 4.0 << stamp << 109 << finer;
        QTest::newRow("slightly finer grid")
            << 1 << 12.0 << value << 109 << 11.999 << stamp << 109 << finer;
        QTest::newRow("other start")
            << 1 << 12.0 << value << 109 << 12.0 << QStringLiteral("2002093013") << 109 << start;
        QTest::newRow("other hour count")
            << 1 << 4.0 << value << 109 << 12.0 << stamp << 108 << end;
        QTest::newRow("three listed, fourth refused")
            << 3 << 12.0 << value << 109 << 36.0 << stamp << 109 << tooMany;
        QTest::newRow("count comes before the grid")
            << 3 << 12.0 << value << 109 << 4.0 << stamp << 1 << tooMany;
        QTest::newRow("grid comes before the start")
            << 1 << 12.0 << value << 109 << 4.0 << QStringLiteral("2003010100") << 1 << finer;
        QTest::newRow("start comes before the end")
            << 2 << 4.0 << value << 109 << 4.0 << QStringLiteral("2003010100") << 1 << start;
    }
    void mergeRules()
    {
        QFETCH(int, listed);
        QFETCH(double, lastSpacing);
        QFETCH(int, lastStamp);
        QFETCH(int, lastHours);
        QFETCH(double, spacing);
        QFETCH(QString, stamp);
        QFETCH(int, hours);
        QFETCH(QString, message);

        LastFileState last;
        last.gridSpacingKm = lastSpacing;
        last.startStamp = lastStamp;
        last.hourCount = lastHours;
        const auto refusal = mergeRefusal(static_cast<std::size_t>(listed), last,
                                          fileOf(stamp.toStdString(), hours, spacing));
        QCOMPARE(refusal ? QString::fromStdString(*refusal) : QString(), message);
    }

    void lastFileStateTakesTheStampAsANumber()
    {
        InputFileInfo info = fileOf("2002093012", 109, 4.0);
        info.extentText[6] = "-120.5";
        const auto state = lastFileStateOf(info);
        QCOMPARE(state.startStamp, 2002093012);
        QCOMPARE(state.hourCount, 109);
        QCOMPARE(state.gridSpacingKm, 4.0);
        QCOMPARE(state.extentText[6], std::string("-120.5"));
        QCOMPARE(LastFileState{}.gridSpacingKm, -1.0);
    }

    void pathLength_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("shortForm");
        QTest::addColumn<QString>("used");
        QTest::addColumn<bool>("yellow");
        QTest::addColumn<bool>("message");
        QTest::addColumn<bool>("asksShortForm");

        const auto pathOf = [](int length) {
            return QStringLiteral("/d/") + QString(length - 7, QLatin1Char('x')) +
                   QStringLiteral(".m3d");
        };
        const QString p132 = pathOf(132);
        const QString p133 = pathOf(133);
        const QString p140 = pathOf(140);
        const QString s90 = pathOf(90);
        QTest::newRow("132 characters") << p132 << QString() << p132 << false << false << false;
        QTest::newRow("133 characters with a short form")
            << p133 << s90 << s90 << false << false << true;
        QTest::newRow("short form of 132 characters")
            << p140 << p132 << p132 << false << false << true;
        QTest::newRow("short form of 133 characters")
            << p140 << p133 << QString() << true << true << true;
        QTest::newRow("no short form") << p140 << QString() << QString() << false << false << true;
        const QString accented =
            QStringLiteral("/d/") + QString(125, QChar(0x00e9)) + QStringLiteral(".m3d");
        QTest::newRow("132 characters of two bytes each")
            << accented << QString() << accented << false << false << false;
        const QString accented133 = accented + QStringLiteral("x");
        QTest::newRow("133 characters of two bytes each")
            << accented133 << QString() << QString() << false << false << true;
    }
    void pathLength()
    {
        QFETCH(QString, path);
        QFETCH(QString, shortForm);
        QFETCH(QString, used);
        QFETCH(bool, yellow);
        QFETCH(bool, message);
        QFETCH(bool, asksShortForm);

        bool asked = false;
        const auto check = checkPathLength(path.toStdString(), [&](const std::string& p) {
            asked = true;
            if (p != path.toStdString())
                return std::string("wrong path asked for");
            return shortForm.toStdString();
        });
        QCOMPARE(QString::fromStdString(check.path), used);
        QCOMPARE(check.colour == ListColour::Yellow, yellow);
        QCOMPARE(check.tooLong, message);
        QCOMPARE(asked, asksShortForm);
    }

    void charactersOfACodePageCountOneByteEach()
    {
        // "\xe9" alone is no UTF-8: a path in a Windows code page, where it is one character.
        QCOMPARE(characterCount(std::string(132, '\xe9')), std::size_t{132});
        QCOMPARE(characterCount(std::string(66, '\xe9') + std::string(66, 'a')), std::size_t{132});
        QCOMPARE(characterCount("/d/\xc3\xa9t\xc3\xa9.m3d"), std::size_t{10});
        QCOMPARE(characterCount("\xe2\x82\xac\xf0\x9f\x98\x80"), std::size_t{2});
        QCOMPARE(characterCount("\xc3"), std::size_t{1});
        QCOMPARE(checkPathLength(std::string(133, '\xe9'),
                                 [](const std::string&) { return std::string(133, '\xe9'); })
                     .tooLong,
                 true);
    }

    void listedFiles_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("listed");

        const QStringList entries = {QStringLiteral("/data/a.m3d"), QStringLiteral("/data/b.m3d")};
        QTest::newRow("empty list") << QStringList{} << QStringLiteral("/data/a.m3d") << false;
        QTest::newRow("first entry") << entries << QStringLiteral("/data/a.m3d") << true;
        QTest::newRow("last entry") << entries << QStringLiteral("/data/b.m3d") << true;
        QTest::newRow("other letter case") << entries << QStringLiteral("/data/A.m3d") << false;
        QTest::newRow("prefix of an entry") << entries << QStringLiteral("/data/a.m3") << false;
        QTest::newRow("trailing blank") << entries << QStringLiteral("/data/a.m3d ") << false;
    }
    void listedFiles()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, path);
        QFETCH(bool, listed);
        std::vector<std::string> list;
        for (const auto& entry : entries)
            list.push_back(entry.toStdString());
        QCOMPARE(isFileListed(list, path.toStdString()), listed);
    }

    void limitTextsFromARecord()
    {
        InputFileInfo info;
        info.iStart = -3;
        info.jStart = 1;
        info.iEnd = 32767;
        info.jEnd = -32768;
        info.levelStart = 0;
        info.levelEnd = 23;
        info.lonStart = -120.5;
        info.lonEnd = 1e-5;
        info.latStart = 0.1 + 0.2;
        info.latEnd = 50.0;
        QCOMPARE(qt(limitTextsOf(info)), split("-3 1 32767 -32768 0 23 -120.5 1E-05 0.3 50"));
    }
};

QTEST_GUILESS_MAIN(InputRulesTest)
#include "input_rules_test.moc"
