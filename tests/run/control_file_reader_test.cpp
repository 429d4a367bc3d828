// Reading control files back: names and spacing as written or typed by hand, counts and layout
// rules refused at their own line, and files that are no control files at all refused without
// waiting on them. Each data line broken in turn is refused at its line through the window. That a
// file read back is written again byte for byte is checked through the window, from Open to Run.
#include "run/control_file_reader.h"
#include "run/recent_control_files.h"
#include "run_test_support.h"
#include "support/data_rows.h"
#include "support/test_platform.h"

#include <QTemporaryDir>
#include <QTest>

using namespace gridloom;
using namespace gridloom::testing;

class ControlFileReaderTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void namesAndSpacingAsWritten_data()
    {
        columns<QByteArray, QString, QString>("text", "outputName", "firstPath");
        const QByteArray merge = goldenFile(u"merge_example.inp"_s);
        const QByteArray extract = goldenFile(u"extract_example.inp"_s);
        // A merge output name keeps a trailing blank the job check let through; a typed "???"
        // stays as typed.
        addRow("trailing blank kept", QByteArray(merge).replace("west.m3d  ", "west.m3d   "),
               "west.m3d ", "C:\\D\\FINE.M3D");
        addRow("typed placeholder", QByteArray(extract).replace("out???.m3d", "a???b.m3d"),
               "a???b.m3d", "C:\\DATA\\A.M3D");
        addRow("LF line ends", QByteArray(extract).replace("\r\n", "\n"), "out.m3d",
               "C:\\DATA\\A.M3D");
        // Spaced by hand: one blank or none before each fixed text, blanks after values.
        addRow("spaced by hand",
               QByteArray(extract)
                   .replace("       !Input File", "  !Input File")
                   .replace("        :", " :")
                   .replace("       :", "   :")
                   .replace("       !Base", "!Base"),
               "out.m3d", "C:\\DATA\\A.M3D");
    }
    void namesAndSpacingAsWritten()
    {
        auto [text, outputName, firstPath] = fetchRow<QByteArray, QString, QString>();
        const ControlFileRead read = parseControlFile(text.toStdString());
        QVERIFY(std::holds_alternative<ReadJob>(read));
        const ReadJob& job = std::get<ReadJob>(read);
        QCOMPARE(QString::fromStdString(job.outputName), outputName);
        QCOMPARE(QString::fromStdString(job.inputPaths.front()), firstPath);
        QCOMPARE(job.bounds.size(), std::size_t(job.mode == ProcessingMode::Merge ? 4 : 6));
    }

    void brokenFilesAreRefusedAtTheirLine_data()
    {
        columns<QByteArray, int, QString>("text", "line", "expected");
        // Counts that disagree with the lines that follow, and the layouts' own rules.
        const char* x = "extract_example.inp";
        const char* m = "merge_example.inp";
        const char* xCount = "        :Number of input 3D.DAT files (0 for auto-filename)";
        const char* mCount = "                    ! Number of source 3D.DAT files";
        addRow("x title gone", damaged(x, 1, nullptr), 2, "base name");
        addRow("x count high", damaged(x, 4, QByteArray("3").append(xCount)), 7, "input file 3");
        addRow("x count low", damaged(x, 4, QByteArray("1").append(xCount)), 6, "extraction range");
        addRow("x auto-filename", damaged(x, 4, QByteArray("0").append(xCount)), 4,
               "auto-filename");
        addRow("x date", damaged(x, 9, "2002023100        :last date of all MM5 file"), 9,
               "real date");
        addRow("x year 999", damaged(x, 9, "0999100500        :last date of all MM5 file"), 9,
               "year 1000");
        addRow("x hour 24", damaged(x, 9, "2002100524        :last date of all MM5 file"), 9,
               "00 to 23");
        addRow("x range five",
               damaged(x, 7, "1,2,3,4,5        :Extraction Range: i1,i2,j1,j2,k1,k2"), 7,
               "6 numbers");
        addRow("x input numbered 3", damaged(x, 6, "B.M3D       !Input File 3"), 6,
               "!Input File 2");
        addRow("x input no path", damaged(x, 6, "       !Input File 2"), 6, "path of input file 2");
        addRow("m log other name", damaged(m, 2, "east.lst          ! Log file"), 2,
               "\"west.lst\"");
        addRow("m method 3",
               damaged(m, 6, "3                    ! Method of select domain (1: X/Y; 2: lon/lat)"),
               6, "1 (X/Y) or 2");
        addRow("m x three", damaged(m, 7, "1,2,3            ! Beg/End X(km) or longitudes"), 7,
               "2 numbers");
        addRow("m count zero", damaged(m, 9, QByteArray("0").append(mCount)), 9, "1 or more");
        addRow("m count high", damaged(m, 9, QByteArray("3").append(mCount)), 12, "input file 3");
        addRow("m count low", damaged(m, 9, QByteArray("1").append(mCount)), 11,
               "not another input");
        addRow("neither layout", QByteArray("title\r\nsomething else\r\n"), 2,
               "or a merge control file");
        addRow("empty", QByteArray(), 1, "title line, not the end");
        addRow("binary", QByteArray("WXJOIN\r\nab\0cd", 14), 2, "not binary data");
    }
    void brokenFilesAreRefusedAtTheirLine()
    {
        auto [text, line, expected] = fetchRow<QByteArray, int, QString>();
        const ControlFileRead read = parseControlFile(text.toStdString());
        QVERIFY(std::holds_alternative<ReadError>(read));
        const auto& error = std::get<ReadError>(read);
        QCOMPARE(error.line, std::size_t(line));
        QVERIFY2(QString::fromStdString(error.expected).contains(expected), error.expected.c_str());
        QVERIFY(controlFileRefusal("/w/x.inp", error)
                    .starts_with("Unable to open the control file /w/x.inp.\nLine " +
                                 std::to_string(line) + ": expected "));
    }

    void filesThatAreNoControlFilesAreRefusedWithoutWaiting()
    {
        QTemporaryDir folder;
        const std::string base = folder.path().toStdString() + "/";
        const std::string pipe = makeWaitingPipe(base + "pipe");
        QVERIFY(!pipe.empty());
        QFile big(folder.filePath(u"big.inp"_s));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(maximumControlFileSize + 1));
        big.close();
        const std::pair<std::string, const char*> cases[] = {
            // Windows answers questions about a pipe's name as if there were none.
            {pipe, onWindows ? "an existing file" : "an ordinary file"},
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
