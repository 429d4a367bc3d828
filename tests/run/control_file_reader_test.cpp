// Reading control files back: the worked examples give their own bytes again through the
// writers, every data line of both layouts refuses its damage at its own line, and the files
// that are no control files at all are refused without waiting on them.
#include "common/numbers.h"
#include "run/control_file_reader.h"
#include "run/control_files.h"
#include "run/recent_control_files.h"
#include "run_test_support.h"
#include "support/data_rows.h"

#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace gridloom;
using namespace gridloom::testing;

namespace {

/// The job the window would hold after taking in what was read, as the writers see it.
JobSettings settingsOf(const ReadJob& read)
{
    JobSettings job;
    job.mode = read.mode;
    job.coordinateType = read.coordinateType;
    job.title = read.title;
    job.outputName = read.outputName;
    job.inputPaths = read.inputPaths;
    job.startDate = read.start.date;
    job.startHour = std::to_string(read.start.hour);
    job.endDate = read.end.date;
    job.endHour = std::to_string(read.end.hour);
    if (!read.daysPerFile.empty())
        job.daysPerFile = read.daysPerFile;
    for (std::size_t i = 0; i < read.bounds.size(); ++i)
        job.domain.bounds[i] = *parseRealNumber(read.bounds[i]);
    return job;
}

std::string writtenAgain(const ReadJob& read)
{
    const auto same = [](const std::string& path) { return path; };
    const JobSettings job = settingsOf(read);
    return read.mode == ProcessingMode::Merge ? mergeControlText(job, same)
                                              : extractionControlText(job, same);
}

/// The golden file with line `line` (from 1) replaced, or removed when `replacement` is null.
QByteArray damaged(const char* golden, int line, const char* replacement)
{
    QList<QByteArray> lines = goldenFile(QString::fromLatin1(golden)).split('\n');
    if (replacement)
        lines[line - 1] = QByteArray(replacement) + '\r';
    else
        lines.removeAt(line - 1);
    return lines.join('\n');
}

} // namespace

class ControlFileReaderTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void goldenFilesAreWrittenAgainByteForByte_data()
    {
        columns<QString, QString, QString>("golden", "outputName", "lfOnly");
        addRow("extraction", "extract_example.inp", "out.m3d", "");
        addRow("merge", "merge_example.inp", "west.m3d", "");
        addRow("extraction, LF line ends", "extract_example.inp", "out.m3d", "lf");
    }
    void goldenFilesAreWrittenAgainByteForByte()
    {
        auto [golden, outputName, lfOnly] =
            fetchRow<QString, QString, QString>("golden", "outputName", "lfOnly");
        QByteArray bytes = goldenFile(golden);
        const QByteArray expected = bytes;
        if (!lfOnly.isEmpty())
            bytes.replace("\r\n", "\n");
        const ControlFileRead read = parseControlFile(bytes.toStdString());
        QVERIFY(std::holds_alternative<ReadJob>(read));
        const ReadJob& job = std::get<ReadJob>(read);
        QCOMPARE(QString::fromStdString(job.outputName), outputName);
        QCOMPARE(QByteArray::fromStdString(writtenAgain(job)), expected);
    }

    void namesAndSpacingAsWritten_data()
    {
        columns<QByteArray, QString, QString>("text", "outputName", "paths");
        const QByteArray merge = goldenFile(u"merge_example.inp"_s);
        const QByteArray extract = goldenFile(u"extract_example.inp"_s);
        // A merge output name keeps a trailing blank the job check let through.
        addRow("trailing blank kept", QByteArray(merge).replace("west.m3d  ", "west.m3d   "),
               "west.m3d ", "C:\\D\\FINE.M3D|C:\\D\\COARSE.M3D");
        // An extraction base whose "???" was typed stays as typed.
        addRow("typed placeholder", QByteArray(extract).replace("out???.m3d", "a???b.m3d"),
               "a???b.m3d", "C:\\DATA\\A.M3D|C:\\DATA\\B.M3D");
        // Lines spaced by hand: one blank before each fixed text, blanks after values.
        QByteArray hand = extract;
        hand.replace("       !Input File", " !Input File")
            .replace("        :", " :")
            .replace("       :", "   :")
            .replace("       !Base", "!Base");
        addRow("spaced by hand", hand, "out.m3d", "C:\\DATA\\A.M3D|C:\\DATA\\B.M3D");
    }
    void namesAndSpacingAsWritten()
    {
        auto [text, outputName, paths] =
            fetchRow<QByteArray, QString, QString>("text", "outputName", "paths");
        const ControlFileRead read = parseControlFile(text.toStdString());
        QVERIFY(std::holds_alternative<ReadJob>(read));
        const ReadJob& job = std::get<ReadJob>(read);
        QCOMPARE(QString::fromStdString(job.outputName), outputName);
        QStringList read_paths;
        for (const auto& path : job.inputPaths)
            read_paths << QString::fromStdString(path);
        QCOMPARE(read_paths.join(u'|'), paths);
        QCOMPARE(job.bounds.size(), std::size_t(job.mode == ProcessingMode::Merge ? 4 : 6));
    }

    void brokenFilesAreRefusedAtTheirLine_data()
    {
        columns<QByteArray, int, QString>("text", "line", "expected");
        const char* x = "extract_example.inp";
        const char* m = "merge_example.inp";
        // Each data line of each layout: gone, a wrong count, no number, another layout's text.
        addRow("x title gone", damaged(x, 1, nullptr), 2, "base name");
        addRow("x base gone", damaged(x, 2, nullptr), 2, "base name");
        addRow("x base empty",
               damaged(x, 2, "       !Base name for output 3D.DAT file (??? is the must)"), 2,
               "base name");
        addRow("x start gone", damaged(x, 3, nullptr), 3, "beginning time");
        addRow("x start no number",
               damaged(x, 3, "2002x00100       :beginning time (YYYYMMDDHH) for output 3D.DAT "), 3,
               "YYYYMMDDHH");
        addRow("x start no date",
               damaged(x, 3, "2002023100       :beginning time (YYYYMMDDHH) for output 3D.DAT "), 3,
               "real date");
        addRow("x start hour 24",
               damaged(x, 3, "2002100124       :beginning time (YYYYMMDDHH) for output 3D.DAT "), 3,
               "00 to 23");
        addRow("x start merge text", damaged(x, 3, "2002100100       ! Beginning time"), 3,
               ":beginning time");
        addRow("x count gone", damaged(x, 4, nullptr), 4, "number of input files");
        addRow("x count no number",
               damaged(x, 4, "two        :Number of input 3D.DAT files (0 for auto-filename)"), 4,
               "whole number");
        addRow("x count too high",
               damaged(x, 4, "3        :Number of input 3D.DAT files (0 for auto-filename)"), 7,
               "input file 3");
        addRow("x count too low",
               damaged(x, 4, "1        :Number of input 3D.DAT files (0 for auto-filename)"), 6,
               "extraction range");
        addRow("x auto-filename",
               damaged(x, 4, "0        :Number of input 3D.DAT files (0 for auto-filename)"), 4,
               "auto-filename");
        addRow("x input gone", damaged(x, 5, nullptr), 5, "input file 1");
        addRow("x input without path", damaged(x, 6, "       !Input File 2"), 6,
               "path of input file 2");
        addRow("x input numbered wrong", damaged(x, 6, "C:\\DATA\\B.M3D       !Input File 3"), 6,
               "!Input File 2");
        addRow("x range gone", damaged(x, 7, nullptr), 7, "extraction range");
        addRow("x range five",
               damaged(x, 7, "25,32,27,33,1        :Extraction Range: i1,i2,j1,j2,k1,k2"), 7,
               "6 numbers");
        addRow("x range no number",
               damaged(x, 7, "25,32,27,3x,1,28        :Extraction Range: i1,i2,j1,j2,k1,k2"), 7,
               "6 numbers");
        addRow("x days gone", damaged(x, 8, nullptr), 8, "number of days");
        addRow("x days no number", damaged(x, 8, "four        :Number of days in each merged file"),
               8, "whole number");
        addRow("x end gone", damaged(x, 9, nullptr), 9, "last date");
        addRow("x end no number", damaged(x, 9, "20021005        :last date of all MM5 file"), 9,
               "YYYYMMDDHH");
        addRow("x end merge text", damaged(x, 9, "2002100500       ! Ending time"), 9, "last date");
        addRow("m log gone", damaged(m, 2, nullptr), 2, "merge control file");
        addRow("m log other name", damaged(m, 2, "east.lst          ! Log file"), 2,
               "\"west.lst\"");
        addRow("m output gone", damaged(m, 3, nullptr), 3, "output file");
        addRow("m start gone", damaged(m, 4, nullptr), 4, "beginning time");
        addRow("m start no number", damaged(m, 4, "200107010       ! Beginning time"), 4,
               "YYYYMMDDHH");
        addRow("m start extraction text",
               damaged(m, 4, "2001070100       :beginning time (YYYYMMDDHH) for output 3D.DAT "), 4,
               "! Beginning time");
        addRow("m end gone", damaged(m, 5, nullptr), 5, "ending time");
        addRow("m end no number", damaged(m, 5, "2001073x23       ! Ending time"), 5, "YYYYMMDDHH");
        addRow("m method gone", damaged(m, 6, nullptr), 6, "method");
        addRow("m method empty", damaged(m, 6, ""), 6, "method");
        addRow("m method 3",
               damaged(m, 6, "3                    ! Method of select domain (1: X/Y; 2: lon/lat)"),
               6, "1 (X/Y) or 2");
        addRow("m x gone", damaged(m, 7, nullptr), 7, "X or longitude");
        addRow("m x three", damaged(m, 7, "-106.5,-104,1            ! Beg/End X(km) or longitudes"),
               7, "2 numbers");
        addRow("m x no number",
               damaged(m, 7, "-106.5,west            ! Beg/End X(km) or longitudes"), 7,
               "2 numbers");
        addRow("m y gone", damaged(m, 8, nullptr), 8, "Y or latitude");
        addRow("m y one", damaged(m, 8, "38.25            ! Beg/End Y(km) or latitudes"), 8,
               "2 numbers");
        addRow("m count gone", damaged(m, 9, nullptr), 9, "number of source files");
        addRow("m count no number",
               damaged(m, 9, "2.5                    ! Number of source 3D.DAT files"), 9,
               "whole number");
        addRow("m count zero",
               damaged(m, 9, "0                    ! Number of source 3D.DAT files"), 9,
               "1 or more");
        addRow("m count too high",
               damaged(m, 9, "3                    ! Number of source 3D.DAT files"), 12,
               "input file 3");
        addRow("m count too low",
               damaged(m, 9, "1                    ! Number of source 3D.DAT files"), 11,
               "not another input file");
        addRow("m input gone", damaged(m, 11, nullptr), 11, "input file 2");
        addRow("neither layout", QByteArray("title\r\nsomething else\r\n"), 2,
               "or a merge control file");
        addRow("empty", QByteArray(), 1, "title line, not the end");
        addRow("binary", QByteArray("WXJOIN\r\nab\0cd", 14), 2, "not binary data");
    }
    void brokenFilesAreRefusedAtTheirLine()
    {
        auto [text, line, expected] =
            fetchRow<QByteArray, int, QString>("text", "line", "expected");
        const ControlFileRead read = parseControlFile(text.toStdString());
        QVERIFY(std::holds_alternative<ReadError>(read));
        const auto& error = std::get<ReadError>(read);
        QCOMPARE(error.line, std::size_t(line));
        QVERIFY2(QString::fromStdString(error.expected).contains(expected), error.expected.c_str());
        const std::string message = controlFileRefusal("/w/x.inp", error);
        QVERIFY(message.starts_with("Unable to open the control file /w/x.inp.\nLine " +
                                    std::to_string(line) + ": expected "));
    }

    void filesThatAreNoControlFilesAreRefusedWithoutWaiting()
    {
        QTemporaryDir folder;
        const std::string base = folder.path().toStdString() + "/";
        QVERIFY(::mkfifo((base + "pipe").c_str(), 0600) == 0);
        QFile big(folder.filePath(u"big.inp"_s));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(maximumControlFileSize + 1));
        big.close();
        const std::pair<std::string, const char*> cases[] = {
            {base + "pipe", "an ordinary file"},
            {base, "an ordinary file"},
            {base + "missing.inp", "an existing file"},
            {base + "big.inp", "at most 1048576 bytes"}};
        for (const auto& [path, expected] : cases) {
            const ControlFileRead read = readControlFile(path);
            QVERIFY(std::holds_alternative<ReadError>(read));
            QCOMPARE(std::get<ReadError>(read).line, std::size_t(0));
            QVERIFY2(std::get<ReadError>(read).expected.find(expected) != std::string::npos,
                     path.c_str());
        }
        QCOMPARE(controlFileRefusal("/a.inp", {0, "x"}),
                 "Unable to open the control file /a.inp.\nexpected x.");
    }

    void recentListKeepsTheNewestEight()
    {
        std::vector<std::string> recent;
        for (int n = 1; n <= 10; ++n)
            recent = withRecentControlFile(recent, std::to_string(n));
        recent = withRecentControlFile(recent, "5");
        QCOMPARE(recent, (std::vector<std::string>{"5", "10", "9", "8", "7", "6", "4", "3"}));
        recent = withoutGoneControlFiles(recent, [](const std::string& p) { return p != "9"; });
        QCOMPARE(recent, (std::vector<std::string>{"5", "10", "8", "7", "6", "4", "3"}));
    }
};

QTEST_GUILESS_MAIN(ControlFileReaderTest)
#include "control_file_reader_test.moc"
