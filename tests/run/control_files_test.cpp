#include "expected_comment_blocks.h"
#include "run/control_files.h"
#include "run_test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace gridloom;
using namespace gridloom::testing;
using namespace std::chrono;

namespace {

std::string unchanged(const std::string& path)
{
    return path;
}

JobSettings extractionExample()
{
    JobSettings job;
    job.mode = ProcessingMode::Extract;
    job.coordinateType = CoordinateType::IJK;
    job.title = "";
    job.outputName = "out";
    job.startDate = year_month_day{year{2002}, October, day{1}};
    job.startHour = "0";
    job.endDate = year_month_day{year{2002}, October, day{5}};
    job.endHour = "0";
    job.inputPaths = {"C:\\DATA\\A.M3D", "C:\\DATA\\B.M3D"};
    job.domain.bounds = {25, 32, 27, 33, 1, 28};
    job.domain.domainValid = true;
    job.daysPerFile = "4";
    job.workingDirectory = "C:\\work\\";
    return job;
}

JobSettings mergeExample()
{
    JobSettings job;
    job.mode = ProcessingMode::Merge;
    job.coordinateType = CoordinateType::LatLon;
    job.title = "west";
    job.outputName = "west.m3d";
    job.startDate = year_month_day{year{2001}, July, day{1}};
    job.startHour = "0";
    job.endDate = year_month_day{year{2001}, July, day{3}};
    job.endHour = "23";
    job.inputPaths = {"C:\\D\\FINE.M3D", "C:\\D\\COARSE.M3D"};
    job.domain.bounds = {-106.5, -104, 38.25, 40, 0, 0};
    job.domain.domainValid = true;
    job.workingDirectory = "C:\\work\\";
    return job;
}

const QByteArray extractionExampleText =
    "WXJOIN - No project title\r\n"
    "out???.m3d       !Base name for output 3D.DAT file (??? is the must)\r\n"
    "2002100100       :beginning time (YYYYMMDDHH) for output 3D.DAT \r\n"
    "2        :Number of input 3D.DAT files (0 for auto-filename)\r\n"
    "C:\\DATA\\A.M3D       !Input File 1\r\n"
    "C:\\DATA\\B.M3D       !Input File 2\r\n"
    "25,32,27,33,1,28        :Extraction Range: i1,i2,j1,j2,k1,k2\r\n"
    "4        :Number of days in each merged file\r\n"
    "2002100500        :last date of all MM5 file\r\n" +
    extractionCommentBlock;

const QByteArray mergeExampleText =
    "west\r\n"
    "west.lst          ! Log file\r\n"
    "west.m3d       ! Output file\r\n"
    "2001070100       ! Beginning time\r\n"
    "2001070323       ! Ending time\r\n"
    "2                    ! Method of select domain (1: X/Y; 2: lon/lat)\r\n"
    "-106.5,-104            ! Beg/End X(km) or longitudes\r\n"
    "38.25,40            ! Beg/End Y(km) or latitudes\r\n"
    "2                    ! Number of source 3D.DAT files\r\n"
    "C:\\D\\FINE.M3D       !Input File 1\r\n"
    "C:\\D\\COARSE.M3D       !Input File 2\r\n" +
    mergeCommentBlock;

QList<QByteArray> linesOf(const std::string& text)
{
    QList<QByteArray> lines = QByteArray::fromStdString(text).split('\n');
    lines.removeLast(); // after the final line end
    for (QByteArray& line : lines) {
        if (!line.endsWith('\r'))
            return {};
        line.chop(1);
    }
    return lines;
}

} // namespace

class ControlFilesTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void extractionExampleByteForByte();
    void mergeExampleByteForByte();
    void baseName_data();
    void baseName();
    void stem_data();
    void stem();
    void extractionLines_data();
    void extractionLines();
    void mergeLines_data();
    void mergeLines();
    void lineCountFollowsInputs_data();
    void lineCountFollowsInputs();
    void writesAndReplacesFiles();
};

void ControlFilesTest::extractionExampleByteForByte()
{
    QCOMPARE(QByteArray::fromStdString(extractionControlText(extractionExample(), unchanged)),
             extractionExampleText);
    QCOMPARE(extractionControlPath(extractionExample()), std::string("C:\\work\\wxjoin2.inp"));
}

void ControlFilesTest::mergeExampleByteForByte()
{
    QCOMPARE(QByteArray::fromStdString(mergeControlText(mergeExample(), unchanged)),
             mergeExampleText);
    QCOMPARE(mergeControlPath(mergeExample()), std::string("C:\\work\\west.inp"));
}

void ControlFilesTest::baseName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("base");
    QTest::newRow("dot and placeholder") << "out???.m3d"
                                         << "out???.m3d";
    QTest::newRow("dot only") << "out.m3d"
                              << "out???.m3d";
    QTest::newRow("several dots") << "run.1.m3d"
                                  << "run.1???.m3d";
    QTest::newRow("placeholder only") << "out???"
                                      << "out???.m3d";
    QTest::newRow("neither") << "out"
                             << "out???.m3d";
    QTest::newRow("insertion before the last four whatever they are") << "my.data"
                                                                      << "my.???data";
    QTest::newRow("exactly four with a dot") << ".m3d"
                                             << "???.m3d";
    QTest::newRow("shorter than four with a dot") << "a.b"
                                                  << "???a.b";
    QTest::newRow("placeholder in the middle") << "a???b"
                                               << "a???b.m3d";
    QTest::newRow("non-ASCII letters cut as letters") << "wörk.däta"
                                                      << "wörk.???däta";
    QTest::newRow("blanks kept") << " out "
                                 << " out ???.m3d";
}

void ControlFilesTest::baseName()
{
    QFETCH(QString, name);
    QFETCH(QString, base);
    QCOMPARE(QString::fromStdString(extractionBaseName(name.toStdString())), base);
}

void ControlFilesTest::stem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stem");
    QTest::addColumn<QString>("controlPath");
    QTest::newRow("one dot") << "west.m3d"
                             << "west"
                             << "/w/west.inp";
    QTest::newRow("several dots") << "a.b.m3d"
                                  << "a"
                                  << "/w/a.inp";
    QTest::newRow("leading dot") << ".m3d"
                                 << ""
                                 << "/w/.inp";
    QTest::newRow("no dot") << "west"
                            << "west"
                            << "/w/west.inp";
}

void ControlFilesTest::stem()
{
    QFETCH(QString, name);
    QFETCH(QString, stem);
    QFETCH(QString, controlPath);
    JobSettings job = mergeExample();
    job.outputName = name.toStdString();
    job.workingDirectory = "/w/";
    QCOMPARE(QString::fromStdString(outputStem(job.outputName)), stem);
    QCOMPARE(QString::fromStdString(mergeControlPath(job)), controlPath);
    const auto lines = linesOf(mergeControlText(job, unchanged));
    QCOMPARE(lines.at(1), (stem + QStringLiteral(".lst          ! Log file")).toUtf8());
    QCOMPARE(lines.at(2), (name + QStringLiteral("       ! Output file")).toUtf8());
}

using Lines = QMap<int, QByteArray>;

void ControlFilesTest::extractionLines_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("startHour");
    QTest::addColumn<QString>("days");
    QTest::addColumn<QList<double>>("bounds");
    QTest::addColumn<Lines>("expected"); // 0-based line index -> content

    const QList<double> example{25, 32, 27, 33, 1, 28};
    QTest::newRow("blank title") << "   "
                                 << "0"
                                 << "4" << example << Lines{{0, "WXJOIN - No project title"}};
    QTest::newRow("title keeps its blanks") << "  my  title "
                                            << "0"
                                            << "4" << example << Lines{{0, "  my  title "}};
    QTest::newRow("single-digit hour padded")
        << ""
        << "7"
        << "4" << example
        << Lines{{2, "2002100107       :beginning time (YYYYMMDDHH) for output 3D.DAT "}};
    QTest::newRow("hour read as a number") << ""
                                           << "07.4"
                                           << "4" << example
                                           << Lines{{2, "2002100107       :beginning time "
                                                        "(YYYYMMDDHH) for output 3D.DAT "}};
    QTest::newRow("days text as entered") << ""
                                          << "0"
                                          << " 12" << example
                                          << Lines{{7, " 12        :Number of days in each "
                                                       "merged file"}};
    QTest::newRow("negative and fractional bounds")
        << ""
        << "0"
        << "4" << QList<double>{-3, 2.5, 0.1, 1e-5, 123456789012345.0, 1.0 / 3}
        << Lines{{6, "-3,2.5,0.1,1E-05,123456789012345,0.333333333333333        :Extraction "
                     "Range: i1,i2,j1,j2,k1,k2"}};
}

void ControlFilesTest::extractionLines()
{
    QFETCH(QString, title);
    QFETCH(QString, startHour);
    QFETCH(QString, days);
    QFETCH(QList<double>, bounds);
    QFETCH(Lines, expected);

    JobSettings job = extractionExample();
    job.title = title.toStdString();
    job.startHour = startHour.toStdString();
    job.daysPerFile = days.toStdString();
    for (int i = 0; i < 6; ++i)
        job.domain.bounds[std::size_t(i)] = bounds.at(i);
    const auto lines = linesOf(extractionControlText(job, unchanged));
    QCOMPARE(lines.size(), 9 + 38);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(lines.at(it.key()), it.value());
}

void ControlFilesTest::mergeLines_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QList<double>>("bounds");
    QTest::addColumn<Lines>("expected");

    const QList<double> box{-106.5, -104, 38.25, 40, 7, 9};
    QTest::newRow("X/Y in whole kilometres")
        << int(CoordinateType::XY) << "west" << QList<double>{-1200, 1500, -300, 0, 0, 0}
        << Lines{{5, "1                    ! Method of select domain (1: X/Y; 2: lon/lat)"},
                 {6, "-1200,1500            ! Beg/End X(km) or longitudes"},
                 {7, "-300,0            ! Beg/End Y(km) or latitudes"}};
    QTest::newRow("grid indices leave the method line empty")
        << int(CoordinateType::IJK) << "west" << box << Lines{{5, ""}};
    QTest::newRow("blank title")
        << int(CoordinateType::LatLon) << " " << box
        << Lines{{0, "GRIDFUSE - No project title"},
                 {5, "2                    ! Method of select domain (1: X/Y; 2: lon/lat)"}};
}

void ControlFilesTest::mergeLines()
{
    QFETCH(int, type);
    QFETCH(QString, title);
    QFETCH(QList<double>, bounds);
    QFETCH(Lines, expected);

    JobSettings job = mergeExample();
    job.coordinateType = CoordinateType(type);
    job.title = title.toStdString();
    for (int i = 0; i < 6; ++i)
        job.domain.bounds[std::size_t(i)] = bounds.at(i);
    const auto lines = linesOf(mergeControlText(job, unchanged));
    QCOMPARE(lines.size(), 11 + 11);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(lines.at(it.key()), it.value());
}

void ControlFilesTest::lineCountFollowsInputs_data()
{
    QTest::addColumn<int>("inputs");
    QTest::newRow("one input") << 1;
    QTest::newRow("three inputs") << 3;
}

void ControlFilesTest::lineCountFollowsInputs()
{
    QFETCH(int, inputs);
    JobSettings job = extractionExample();
    job.inputPaths.clear();
    for (int k = 1; k <= inputs; ++k)
        job.inputPaths.push_back("/in/" + std::to_string(k) + ".m3d");
    // A path without a short form is written as nothing before the fixed text.
    auto shortenAllButFirst = [](const std::string& path) {
        return path == "/in/1.m3d" ? std::string() : "S" + path;
    };

    const auto extraction = linesOf(extractionControlText(job, shortenAllButFirst));
    QCOMPARE(extraction.size(), 7 + inputs + 38);
    QCOMPARE(extraction.at(3), QByteArray::number(inputs) +
                                   "        :Number of input 3D.DAT files (0 for auto-filename)");
    QCOMPARE(extraction.at(4), QByteArray("       !Input File 1"));
    if (inputs == 3)
        QCOMPARE(extraction.at(6), QByteArray("S/in/3.m3d       !Input File 3"));
    QVERIFY(extraction.at(4 + inputs).endsWith(":Extraction Range: i1,i2,j1,j2,k1,k2"));
    QVERIFY(extraction.at(5 + inputs).endsWith(":Number of days in each merged file"));
    QVERIFY(extraction.at(6 + inputs).endsWith(":last date of all MM5 file"));
    QCOMPARE(extraction.at(7 + inputs), QByteArray(" "));

    const auto merge = linesOf(mergeControlText(job, shortenAllButFirst));
    QCOMPARE(merge.size(), 9 + inputs + 11);
    QCOMPARE(merge.at(8),
             QByteArray::number(inputs) + "                    ! Number of source 3D.DAT files");
    QCOMPARE(merge.at(9), QByteArray("       !Input File 1"));
    QCOMPARE(merge.at(8 + inputs), inputs == 1 ? QByteArray("       !Input File 1")
                                               : QByteArray("S/in/3.m3d       !Input File 3"));
}

void ControlFilesTest::writesAndReplacesFiles()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString directory = folder.path() + QLatin1Char('/');

    JobSettings extraction = extractionExample();
    extraction.workingDirectory = directory.toStdString();
    extraction.inputPaths = {"/in/a.m3d"};
    // An older, longer file of the same name must not leave a tail behind.
    QFile old(directory + QStringLiteral("wxjoin2.inp"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(20000, 'x'));
    old.close();
    QVERIFY(!writeExtractionControlFile(extraction));
    QCOMPARE(fileBytes(directory + QStringLiteral("wxjoin2.inp")),
             QByteArray::fromStdString(extractionControlText(extraction, unchanged)));

    JobSettings merge = mergeExample();
    merge.workingDirectory = directory.toStdString();
    merge.outputName = "a.b.m3d";
    QVERIFY(!writeMergeControlFile(merge));
    QCOMPARE(fileBytes(directory + QStringLiteral("a.inp")),
             QByteArray::fromStdString(mergeControlText(merge, unchanged)));
    // Nothing else is left in the folder: no temporary file survives the write.
    QCOMPARE(QDir(directory).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

QTEST_GUILESS_MAIN(ControlFilesTest)
#include "control_files_test.moc"
