#include "common/date_hour_stamp.h"
#include "common/platform.h"

#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>

using namespace gridloom;
using namespace std::chrono;

namespace {

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

class StampsAndPlatformTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stamps_data()
    {
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("d");
        QTest::addColumn<int>("hour");
        QTest::addColumn<QString>("stamp");
        QTest::newRow("single digits padded") << 2002 << 3 << 5 << 7 << "2002030507";
        QTest::newRow("two digits kept") << 2009 << 12 << 31 << 23 << "2009123123";
        QTest::newRow("midnight") << 2008 << 9 << 18 << 0 << "2008091800";
    }
    void stamps()
    {
        QFETCH(int, y);
        QFETCH(int, m);
        QFETCH(int, d);
        QFETCH(int, hour);
        QFETCH(QString, stamp);
        const year_month_day date{year{y}, month{unsigned(m)}, day{unsigned(d)}};
        QCOMPARE(QString::fromStdString(dateHourStamp(date, hour)), stamp);
    }

    void twoDigitsPadsOnlyBelowTen()
    {
        QCOMPARE(twoDigits(7), std::string("07"));
        QCOMPARE(twoDigits(0), std::string("00"));
        QCOMPARE(twoDigits(12), std::string("12"));
        QCOMPARE(twoDigits(123), std::string("123"));
    }

    void fileQueries()
    {
        QTemporaryDir dir;
        const std::string root = dir.path().toStdString();
        const std::string file = root + "/a.m3d";
        std::ofstream(file) << "x";
        std::filesystem::create_directory(root + "/sub");

        QVERIFY(isOrdinaryFile(file));
        QVERIFY(!isOrdinaryFile(root));
        QVERIFY(dirExists(root));
        QVERIFY(dirExists(root + "/"));
        QVERIFY(!dirExists(file));
        QVERIFY(!dirExists(""));
        QVERIFY(pathExists(file));
        QVERIFY(pathExists(root + "/sub"));
        QVERIFY(!pathExists(root + "/missing"));

        QVERIFY(patternMatchesFile(root + "/"));
        QVERIFY(!patternMatchesFile(root + "/sub/"));
        QVERIFY(!patternMatchesFile(root));
        QVERIFY(patternMatchesFile(file));
        QVERIFY(patternMatchesFile(root + "/*.m3d"));
        QVERIFY(patternMatchesFile(root + "/?.m3d"));
        QVERIFY(!patternMatchesFile(root + "/*.dat"));
        QVERIFY(!patternMatchesFile(""));
        QCOMPARE(shortPath(file), file);
    }

    void atomicWriteReplacesAndLeavesNoTemporary()
    {
        QTemporaryDir dir;
        const std::string target = dir.path().toStdString() + "/out.inp";
        std::ofstream(target) << "old and longer content";
        QVERIFY(!writeFileAtomically(target, "new\r\n"));
        QCOMPARE(readAll(target), std::string("new\r\n"));
        int entries = 0;
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator(dir.path().toStdString()))
            ++entries;
        QCOMPARE(entries, 1);
    }

    void atomicWriteFailsCleanly()
    {
        QTemporaryDir dir;
        const auto error = writeFileAtomically(dir.path().toStdString() + "/gone/out.inp", "x");
        QVERIFY(error.has_value());
        QVERIFY(!error->empty());
    }
};

QTEST_APPLESS_MAIN(StampsAndPlatformTest)
#include "stamps_and_platform_test.moc"
