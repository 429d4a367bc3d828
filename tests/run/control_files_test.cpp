// The control files' and the batch scripts' text: the worked examples byte for byte, then the
// rules one row per behaviour. The shell script, and writing all of them into a real folder,
// are shown in whole_job_test.
#include "expected_comment_blocks.h"
#include "run/control_files.h"
#include "run/run_script.h"
#include "run_test_support.h"

#include <QTest>

using namespace gridloom;
using namespace gridloom::testing;

namespace {

/// The examples' paths are short already; of the made-up inputs "/in/k.m3d" the first has
/// no short form and the others are shortened to "S" and the path.
std::string shortened(const std::string& path)
{
    if (!path.starts_with("/in/"))
        return path;
    return path == "/in/1.m3d" ? std::string() : "S" + path;
}

JobSettings example(ProcessingMode mode)
{
    JobSettings job;
    job.mode = mode;
    job.workingDirectory = "C:\\work\\";
    if (mode == ProcessingMode::Extract) {
        editJob(job, QStringLiteral("type=IJK;title=;output=out;startDate=2002-10-01;startHour=0;"
                                    "endDate=2002-10-05;endHour=0;bounds=25,32,27,33,1,28;days=4"));
        job.inputPaths = {"C:\\DATA\\A.M3D", "C:\\DATA\\B.M3D"};
    } else {
        editJob(job, QStringLiteral("type=LatLon;title=west;output=west.m3d;startDate=2001-07-01;"
                                    "startHour=0;endDate=2001-07-03;endHour=23;"
                                    "bounds=-106.5,-104,38.25,40,0,0"));
        job.inputPaths = {"C:\\D\\FINE.M3D", "C:\\D\\COARSE.M3D"};
    }
    return job;
}

std::string textOf(const JobSettings& job)
{
    return job.mode == ProcessingMode::Extract ? extractionControlText(job, shortened)
                                               : mergeControlText(job, shortened);
}

const QByteArray extractionExample =
    "C:\\work\\wxjoin2.inp\n\n"
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

const QByteArray extractionBatchExample = "C:\\work\\run_wxjoin2.bat\n\n"
                                          "C:\r\n"
                                          "cd \"C:\\work\\\"\r\n"
                                          "\"C:\\tools\\wxjoin2.exe\" wxjoin2.inp\r\n"
                                          "pause\r\n";

const QByteArray mergeExample =
    "C:\\work\\west.inp\n\n"
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

const QByteArray mergeBatchExample = "C:\\work\\run_gridfuse.bat\n\n"
                                     "C:\r\n"
                                     "cd \"C:\\work\\\"\r\n"
                                     "Copy \"C:\\work\\west.inp\" gridfuse.inp\r\n"
                                     "\"C:\\tools\\gridfuse.exe\"\r\n"
                                     "pause\r\n";

} // namespace

class ControlFilesTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void examplesByteForByte_data();
    void examplesByteForByte();
    void batchTakesPathsLiterally();
    void outputNames_data();
    void outputNames();
    void lines_data();
    void lines();
};

void ControlFilesTest::examplesByteForByte_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("control"); // the file's name, a blank line, its text
    QTest::addColumn<QByteArray>("batch");   // the same for the batch script
    QTest::newRow("extraction") << int(ProcessingMode::Extract) << extractionExample
                                << extractionBatchExample;
    QTest::newRow("merge") << int(ProcessingMode::Merge) << mergeExample << mergeBatchExample;
}

void ControlFilesTest::examplesByteForByte()
{
    QFETCH(int, mode);
    QFETCH(QByteArray, control);
    QFETCH(QByteArray, batch);
    const JobSettings job = example(ProcessingMode(mode));
    const bool extraction = job.mode == ProcessingMode::Extract;
    QCOMPARE(QByteArray::fromStdString(
                 (extraction ? extractionControlPath(job) : mergeControlPath(job)) + "\n\n" +
                 textOf(job)),
             control);
    const ScriptJob script{job.mode, job.workingDirectory, job.outputName, "C:\\tools"};
    QCOMPARE(
        QByteArray::fromStdString(runScriptPath(ScriptForm::Batch, job.workingDirectory, job.mode) +
                                  "\n\n" + batchScriptText(script)),
        batch);
}

void ControlFilesTest::batchTakesPathsLiterally()
{
    // cmd.exe expands %name% even inside quotes; the drive comes from the trimmed text.
    const ScriptJob job{ProcessingMode::Merge, " D:\\100%\\", "a%b.c.m3d", "E:\\%PATH%\\"};
    QCOMPARE(QByteArray::fromStdString(batchScriptText(job)),
             QByteArray("D:\r\n"
                        "cd \" D:\\100%%\\\"\r\n"
                        "Copy \" D:\\100%%\\a%%b.inp\" gridfuse.inp\r\n"
                        "\"E:\\%%PATH%%\\gridfuse.exe\"\r\n"
                        "pause\r\n"));
}

void ControlFilesTest::outputNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("base"); // line 2 of an extraction, before its fixed text
    QTest::addColumn<QString>("stem"); // a merge's control file and log file, before the "."
    const auto row = [](const char* name, const char* base, const char* stem) {
        QTest::newRow(name) << QString::fromUtf8(name) << QString::fromUtf8(base)
                            << QString::fromUtf8(stem);
    };
    row("out???.m3d", "out???.m3d", "out???");
    row("out.m3d", "out???.m3d", "out");
    row("out???", "out???.m3d", "out???");
    row("out", "out???.m3d", "out");
    row("a.b.m3d", "a.b???.m3d", "a");
    row("my.data", "my.???data", "my");
    row(".m3d", "???.m3d", "");
    row("a.b", "???a.b", "a");
    row("wörk.däta", "wörk.???däta", "wörk");
    row(" out ", " out ???.m3d", " out ");
}

void ControlFilesTest::outputNames()
{
    QFETCH(QString, name);
    QFETCH(QString, base);
    QFETCH(QString, stem);
    QCOMPARE(QString::fromStdString(extractionBaseName(name.toStdString(), TextEncoding::Utf8)),
             base);
    JobSettings job = example(ProcessingMode::Merge);
    job.outputName = name.toStdString();
    QCOMPARE(QString::fromStdString(mergeControlPath(job)), u"C:\\work\\"_s + stem + u".inp"_s);
    QCOMPARE(QByteArray::fromStdString(textOf(job)).split('\n').at(1),
             (stem + u".lst          ! Log file\r"_s).toUtf8());
}

void ControlFilesTest::lines_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("line"); // counted from 0
    QTest::addColumn<QByteArray>("expected");
    const auto row = [](const char* name, ProcessingMode mode, const char* steps, int line,
                        const char* expected) {
        QTest::newRow(name) << int(mode) << QString::fromUtf8(steps) << line
                            << QByteArray(expected);
    };
    const auto extract = ProcessingMode::Extract;
    const auto merge = ProcessingMode::Merge;
    row("blank title", extract, "title=   ", 0, "WXJOIN - No project title");
    row("title keeps its blanks", extract, "title=  my  title ", 0, "  my  title ");
    row("hour padded to two digits", extract, "startHour=7", 2,
        "2002100107       :beginning time (YYYYMMDDHH) for output 3D.DAT ");
    row("days as entered", extract, "days= 12", 7,
        " 12        :Number of days in each merged file");
    row("number format", extract, "bounds=-3,2.5,0.1,1e-5,123456789012345,0.333333333333333333", 6,
        "-3,2.5,0.1,1E-05,123456789012345,0.333333333333333        :Extraction Range: "
        "i1,i2,j1,j2,k1,k2");
    row("input count", extract, "inputs=3", 3,
        "3        :Number of input 3D.DAT files (0 for auto-filename)");
    row("input without a short form", extract, "inputs=3", 4, "       !Input File 1");
    row("blank merge title", merge, "title= ", 0, "GRIDFUSE - No project title");
    row("method X/Y", merge, "type=XY", 5,
        "1                    ! Method of select domain (1: X/Y; 2: lon/lat)");
    row("method grid indices", merge, "type=IJK", 5, "");
    row("source count", merge, "inputs=3", 8,
        "3                    ! Number of source 3D.DAT files");
    row("third input", merge, "inputs=3", 11, "S/in/3.m3d       !Input File 3");
}

void ControlFilesTest::lines()
{
    QFETCH(int, mode);
    QFETCH(QString, steps);
    QFETCH(int, line);
    QFETCH(QByteArray, expected);
    JobSettings job = example(ProcessingMode(mode));
    editJob(job, steps);
    const QByteArray text = QByteArray::fromStdString(textOf(job));
    const bool extraction = job.mode == ProcessingMode::Extract;
    // Every file: the data lines, then the comment block, every line ended by CR LF.
    const QByteArray comments = extraction ? extractionCommentBlock : mergeCommentBlock;
    QVERIFY(text.endsWith(comments));
    const QList<QByteArray> data = text.chopped(comments.size()).split('\n');
    QCOMPARE(data.size(), (extraction ? 7 : 9) + int(job.inputPaths.size()) + 1);
    QVERIFY(data.last().isEmpty());
    QCOMPARE(data.at(line), expected + '\r');
    QCOMPARE(text.count('\n'), text.count("\r\n"));
}

QTEST_GUILESS_MAIN(ControlFilesTest)
#include "control_files_test.moc"
