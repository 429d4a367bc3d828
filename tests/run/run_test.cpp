// What a run writes, as text: the worked examples byte for byte against the golden files,
// each naming and line rule one row, the job check, and the shell script's steps run for real.
// Then the console start: which terminal program is picked and how it is handed the script,
// with made-up terminals on a search path of the test's own. Last, reading control files back:
// names and spacing as written or typed by hand, counts and layout rules refused at their own
// line, and files that are no control files at all refused without waiting on them. Each data
// line broken in turn is refused at its line through the window (reopen_test), which also checks
// that a file read back is written again byte for byte, from Open to Run.
#include "fixtures/fake_services.h"
#include "run/control_file_reader.h"
#include "run/control_files.h"
#include "run/job_validation.h"
#include "run/recent_control_files.h"
#include "run/run_script.h"
#include "run/storage_volumes.h"
#include "run/terminal_starter.h"
#include "run_test_support.h"
#include "support/data_rows.h"
#include "support/messages.h"
#include "support/qt_test_prelude.h"
#include "support/test_platform.h"

#include <QRegularExpression>

using namespace gridloom;
using namespace gridloom::testing;

Q_DECLARE_METATYPE(gridloom::TextEncoding)

namespace {

// The examples' paths are short already; of the made-up inputs "/in/k.m3d" the first has no
// short form and the others are shortened to "S" and the path.
std::string shortened(const std::string& path)
{
    return !path.starts_with("/in/") ? path : path == "/in/1.m3d" ? std::string() : "S" + path;
}

JobSettings example(ProcessingMode mode)
{
    JobSettings job;
    job.mode = mode;
    job.workingDirectory = "C:\\work\\";
    if (mode == ProcessingMode::Extract) {
        editJob(job, u"type=IJK;title=;output=out;startDate=2002-10-01;startHour=0;"
                     u"endDate=2002-10-05;endHour=0;bounds=25,32,27,33,1,28;days=4;"
                     u"domainValid=1"_s);
        job.inputPaths = {"C:\\DATA\\A.M3D", "C:\\DATA\\B.M3D"};
    } else {
        editJob(job, u"type=LatLon;title=west;output=west.m3d;startDate=2001-07-01;startHour=0;"
                     u"endDate=2001-07-03;endHour=23;bounds=-106.5,-104,38.25,40,0,0;"
                     u"domainValid=1"_s);
        job.inputPaths = {"C:\\D\\FINE.M3D", "C:\\D\\COARSE.M3D"};
    }
    return job;
}

QByteArray textOf(const JobSettings& job)
{
    return QByteArray::fromStdString(job.mode == ProcessingMode::Extract
                                         ? extractionControlText(checked(job), shortened)
                                         : mergeControlText(checked(job), shortened));
}

} // namespace

class RunTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void examples_data()
    {
        columns<int, QString, QString>("mode", "golden", "controlPath");
        addRow("extract", int(ProcessingMode::Extract), "extract_example", "C:\\work\\wxjoin2.inp");
        addRow("merge", int(ProcessingMode::Merge), "merge_example", "C:\\work\\west.inp");
    }
    void examples()
    {
        auto [mode, golden, controlPath] = fetchRow<int, QString, QString>();
        const JobSettings job = example(ProcessingMode(mode));
        QCOMPARE(textOf(job), goldenFile(golden + u".inp"_s));
        QCOMPARE(QString::fromStdString(job.mode == ProcessingMode::Extract
                                            ? extractionControlPath(checked(job))
                                            : mergeControlPath(checked(job))),
                 controlPath);
        // The batch scripts are written and compared on Windows' own file system (windows_check).
        const ScriptJob shell{checked(job), "/work/", "/tools/"};
        QCOMPARE(QByteArray::fromStdString(shellScriptText(shell)), goldenFile(golden + u".sh"_s));
    }

    void scriptsTakePathsLiterally()
    {
        // cmd.exe expands %name% even inside quotes; the drive comes from the trimmed text.
        JobSettings merge = example(ProcessingMode::Merge);
        merge.outputName = "a%b.c.m3d";
        const ScriptJob batch{checked(merge), " D:\\100%\\", "E:\\%PATH%\\"};
        QCOMPARE(QByteArray::fromStdString(batchScriptText(batch)),
                 QByteArray("D:\r\ncd \" D:\\100%%\\\"\r\nCopy \" D:\\100%%\\a%%b.inp\" "
                            "gridfuse.inp\r\n\"E:\\%%PATH%%\\gridfuse.exe\"\r\npause\r\n"));
    }

    void names_data()
    {
        // base: line 2 of an extraction
        // stem: a merge's control and log file names
        // completed: a merge's name after the job check
        columns<QByteArray, TextEncoding, QByteArray, QByteArray, QByteArray>(
            "name", "encoding", "base", "stem", "completed");
        const auto row = [](const char* name, const char* base, const char* stem,
                            const char* completed, TextEncoding encoding = TextEncoding::Utf8) {
            addRow(name, QByteArray(name), encoding, QByteArray(base), QByteArray(stem),
                   QByteArray(completed));
        };
        row("out???.m3d", "out???.m3d", "out???", "out???.m3d");
        row("out.m3d", "out???.m3d", "out", "out.m3d");
        row(" out ", " out ???.m3d", " out ", "out.m3d");
        row("west.m3", "wes???t.m3", "west", "west.m3.m3d");
        row(".m3d", "???.m3d", "", ".m3d");
        row("a.b", "???a.b", "a", "a.b.m3d");
        row(" west.m3d ", " west.???m3d ", " west", " west.m3d ");
        row("w\xc3\xb6rk.d\xc3\xa4ta", "w\xc3\xb6rk.???d\xc3\xa4ta", "w\xc3\xb6rk",
            "w\xc3\xb6rk.d\xc3\xa4ta.m3d");
        // The degree and micro signs of a Windows code page look like UTF-8 continuations.
        row("ab.c\xb5\xb0", "ab???.c\xb5\xb0", "ab", "ab.c\xb5\xb0", TextEncoding::SingleByte);
        row("ab.\xb0\xb5", "a???b.\xb0\xb5", "ab", "ab.\xb0\xb5.m3d", TextEncoding::SingleByte);
    }
    void names()
    {
        auto [name, encoding, base, stem, completed] =
            fetchRow<QByteArray, TextEncoding, QByteArray, QByteArray, QByteArray>();
        QCOMPARE(QByteArray::fromStdString(extractionBaseName(name.toStdString(), encoding)), base);
        QCOMPARE(QByteArray::fromStdString(completeMergeOutputName(name.toStdString(), encoding)),
                 completed);
        QCOMPARE(QByteArray::fromStdString(outputStem(name.toStdString())), stem);
        // What is written follows the name the check completed.
        JobSettings job = example(ProcessingMode::Merge);
        job.outputName = name.toStdString();
        const QByteArray checkedStem =
            QByteArray::fromStdString(outputStem(completed.toStdString()));
        QCOMPARE(QByteArray::fromStdString(mergeControlPath(checked(job))),
                 "C:\\work\\" + checkedStem + ".inp");
        QCOMPARE(textOf(job).split('\n').at(1), checkedStem + ".lst          ! Log file\r");
    }

    void lines_data()
    {
        // line: counted from 0
        columns<int, QString, int, QByteArray>("mode", "steps", "line", "expected");
        const auto row = [](const char* name, ProcessingMode mode, const char* steps, int line,
                            const char* expected) {
            addRow(name, int(mode), QString::fromUtf8(steps), line, QByteArray(expected));
        };
        using enum ProcessingMode;
        row("blank title", Extract, "title=   ", 0, "WXJOIN - No project title");
        row("title keeps its blanks", Extract, "title=  my  title ", 0, "  my  title ");
        row("hour padded to two digits", Extract, "startHour=7", 2,
            "2002100107       :beginning time (YYYYMMDDHH) for output 3D.DAT ");
        row("days as entered", Extract, "days= 12", 7,
            " 12        :Number of days in each merged file");
        row("number format", Extract, "bounds=-3,2.5,0.1,1e-5,123456789012345,0.333333333333333333",
            6,
            "-3,2.5,0.1,1E-05,123456789012345,0.333333333333333        :Extraction Range: "
            "i1,i2,j1,j2,k1,k2");
        row("input without a short form", Extract, "inputs=3", 4, "       !Input File 1");
        row("method X/Y", Merge, "type=XY", 5,
            "1                    ! Method of select domain (1: X/Y; 2: lon/lat)");
        row("method grid indices", Merge, "type=IJK", 5, "");
        row("third input", Merge, "inputs=3", 11, "S/in/3.m3d       !Input File 3");
    }
    void lines()
    {
        auto [mode, steps, line, expected] = fetchRow<int, QString, int, QByteArray>();
        JobSettings job = example(ProcessingMode(mode));
        editJob(job, steps);
        const QByteArray text = textOf(job);
        const bool extraction = job.mode == ProcessingMode::Extract;
        const QList<QByteArray> lines = text.split('\n');
        // The data lines, the comment block (38 or 11 lines), each line ended by CR LF.
        QCOMPARE(lines.size(),
                 (extraction ? 7 + 38 : 9 + 11) + qsizetype(job.inputPaths.size()) + 1);
        QCOMPARE(lines.at(line), expected + '\r');
        QCOMPARE(text.count('\n'), text.count("\r\n"));
    }

    void jobCheck_data()
    {
        // message: empty: the job passes
        columns<int, QString, QString>("mode", "steps", "message");
        const auto row = [](const char* name, ProcessingMode mode, const char* steps,
                            const QString& expected) {
            addRow(name, int(mode), QString::fromUtf8(steps), expected);
        };
        using enum ProcessingMode;
        const QString hours = message("hoursOutOfRange");
        row("runnable", Extract, "", {});
        row("directory looked up trimmed", Extract, "dir=  /data/run/ ", {});
        row("missing directory quoted untrimmed", Extract, "dir= /gone/ ",
            message("workingDirectoryMissing", u" /gone/ "_s));
        row("start hour -1", Extract, "startHour=-1", hours);
        row("end hour 24", Extract, "endHour=24", hours);
        row("hour beyond 16 bits", Extract, "endHour=99999", hours);
        row("hour no number", Extract, "endHour=1/2",
            u"The end hour must be a whole number between 0 and 23"_s);
        row("one hour apart", Extract, "endDate=2002-10-01;endHour=1", {});
        row("23 h to 0 h over a leap day", Extract,
            "startDate=2004-02-29;endDate=2004-03-01;startHour=23;endHour=0", {});
        row("blank name keeps its blanks", Merge, "output=  ", message("noOutputName"));
        row("days no number", Extract,
            "days=", u"The number of days in output 3D files must be a whole number"_s);
        row("days beyond 16 bits", Extract, "days=40000",
            u"The number of days in output 3D files must be at most 32767"_s);
        row("merge ignores the hidden day count", Merge, "days=0", {});
    }
    void jobCheck()
    {
        auto [mode, steps, message] = fetchRow<int, QString, QString>();
        JobSettings job;
        job.mode = ProcessingMode(mode);
        editJob(job, u"dir=/data/run/;inputs=1;domainValid=1;startDate=2002-10-01;"
                     u"endDate=2002-10-05;startHour=0;endHour=0;days=4;output=out"_s);
        editJob(job, steps);
        const JobCheck check =
            validateJob(job, [](const std::string& path) { return path == "/data/run/"; });
        QCOMPARE(QString::fromStdString(check.refusal.value_or("")), message);
        // Completing a Merge name is the last step: only a job that passes has a name to use.
        QCOMPARE(check.passed(), message.isEmpty());
        if (check.job)
            QCOMPARE(check.job->settings().outputName,
                     job.mode == ProcessingMode::Merge ? "out.m3d" : job.outputName);
    }

    void scriptSteps_data()
    {
        // control: what the processor read; empty: it never ran
        columns<QString, bool, QString>("output", "folderExists", "control");
        // The control file of an output named after the processor is the processor's own.
        addRow("copy onto itself skipped", "gridfuse.m3d", true, "gridfuse.inp");
        addRow("no processor outside the folder", "west", false, "");
    }
    void scriptSteps()
    {
        auto [output, folderExists, control] = fetchRow<QString, bool, QString>();
        QTemporaryDir base;
        const QString work = QDir::toNativeSeparators(base.filePath(u"work/"_s));
        QVERIFY(placeStandIn(base.path(), u"gridfuse"_s));
        const QByteArray content = "the control file\r\n";
        if (folderExists)
            QVERIFY(QDir().mkpath(work) &&
                    writeFile(work + output.section(u'.', 0, 0) + u".inp"_s, content));
        JobSettings merge = example(ProcessingMode::Merge);
        merge.outputName = output.toStdString();
        const ScriptJob job{checked(merge), QFile::encodeName(work).toStdString(),
                            QFile::encodeName(QDir::toNativeSeparators(base.path())).toStdString()};
        const QString script = base.filePath(onWindows ? u"run.bat"_s : u"run.sh"_s);
        QVERIFY(
            writeFile(script, QByteArray::fromStdString(runScriptText(nativeScriptForm(), job))));
        const QByteArray errors = runScript(script, base.path());
        QVERIFY(errors != "(did not finish)");
        const QByteArray record =
            fileBytes((folderExists ? work : base.path() + u"/"_s) + u"stand_in_record.txt"_s);
        if (onWindows && !folderExists) {
            // cmd.exe goes on after a failed cd, as the original's batch files do: the processor
            // runs where the console started and finds no control file there.
            QCOMPARE(record, standInRecord(u"gridfuse"_s, {}, base.path(),
                                           u"gridfuse.inp (missing)"_s, {}));
            return;
        }
        // The shell script says nothing unless it fails; cmd.exe also reports its Copy.
        QVERIFY(onWindows || errors.isEmpty() == folderExists);
        QCOMPARE(record, control.isEmpty() ? QByteArray()
                                           : standInRecord(u"gridfuse"_s, {}, QDir::cleanPath(work),
                                                           control, content));
    }

    // The chooser's drive list: each disk a working directory can live on once, never the
    // kernel's own mounts.
    void realVolumesAreFolders()
    {
        // On Windows the drives, each a letter, a colon and a backslash; the system's is there.
        QStringList roots = StorageVolumes().roots();
        const QString systemRoot = QDir::toNativeSeparators(QDir::rootPath());
        QVERIFY(onWindows ? roots.contains(systemRoot) : roots.value(0) == u"/"_s);
        QCOMPARE(roots.removeDuplicates(), 0);
        const QRegularExpression drive(u"^[A-Z]:\\\\$"_s);
        for (const QString& root : roots)
            QVERIFY2(QFileInfo(root).isDir() && !root.startsWith(u"/proc"_s) &&
                         !root.startsWith(u"/sys"_s) &&
                         (!onWindows || drive.match(root).hasMatch()),
                     qPrintable(root));
        QVERIFY(StorageVolumes().isReady(systemRoot));
    }

    void startsFirstTerminalFound_data()
    {
        // installed: "xterm!" is an xterm that cannot be loaded
        // used: with the option that hands it the command
        // failure: how its start fails; "{BIN}": the search path
        columns<QString, QString, QString>("installed", "used", "failure");
        if (onWindows) {
            addRow("no terminal programs on Windows", "", "", "");
            return;
        }
        addRow("xterm", "xterm", "xterm -e", "");
        addRow("gnome-terminal: command after --", "gnome-terminal", "gnome-terminal --", "");
        addRow("xfce4-terminal takes the rest after -x", "xfce4-terminal", "xfce4-terminal -x", "");
        addRow("the system's choice first", "xterm gnome-terminal x-terminal-emulator",
               "x-terminal-emulator -e", "");
        addRow("none found", "", "",
               "No terminal program was found to run {BIN}/run_wxjoin2.sh in. Please install "
               "one of x-terminal-emulator, gnome-terminal, konsole, xfce4-terminal, xterm, or "
               "run the script yourself.");
        addRow("found but cannot start", "xterm!", "",
               "Unable to start {BIN}/xterm to run {BIN}/run_wxjoin2.sh: ");
    }
    void startsFirstTerminalFound()
    {
        auto [installed, used, failure] = fetchRow<QString, QString, QString>();
        if (onWindows)
            QSKIP("Windows starts every script through cmd.exe (startsBatchInConsole)");
        QTemporaryDir bin;
        const QString work = bin.filePath(u"work"_s);
        QVERIFY(QDir().mkdir(work));
        // Each made-up terminal writes its arguments and its folder, one a line, to <name>.txt.
        for (const QString& name : installed.split(u' ', Qt::SkipEmptyParts)) {
            QFile program(bin.filePath(name.chopped(name.endsWith(u'!'))));
            QVERIFY(program.open(QIODevice::WriteOnly));
            program.write(name.endsWith(u'!')
                              ? QByteArray("\x7f"
                                           "ELF junk")
                              : "#!/bin/sh\nprintf '%s\\n' \"$@\" \"$(pwd)\" > '" +
                                    QFile::encodeName(program.fileName()) + ".txt'\n");
            program.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        }
        const QString script = bin.filePath(u"run_wxjoin2.sh"_s);
        TerminalStarter starter;
        // The search path is the test's own only while the starter looks for a terminal.
        const QByteArray searchPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        const std::optional<QString> result = starter.startInConsole(script, work);
        qputenv("PATH", searchPath);
        failure.replace(u"{BIN}"_s, bin.path());
        QCOMPARE(result.value_or(QString()).left(failure.size()), failure);
        QCOMPARE(starter.lastProcessId() > 0, failure.isEmpty());
        if (used.isEmpty())
            return;
        const QStringList terminal = used.split(u' ');
        QTRY_COMPARE_WITH_TIMEOUT(
            fileBytes(bin.filePath(terminal[0] + u".txt"_s)),
            QFile::encodeName(terminal[1] + u"\n/bin/sh\n"_s + script + u'\n' + work + u'\n'),
            5000);
    }

    // Windows' console start for real: cmd.exe's start opens a console of its own for the
    // batch file in the working directory, which runs in that folder. cmd.exe expands "%PATH%"
    // on its command line, quoted or not, and takes "&" for the end of a command.
    void startsBatchInConsole()
    {
        if (!onWindows)
            QSKIP("cmd.exe and batch files are Windows' (startsFirstTerminalFound covers Linux)");
        QTemporaryDir base;
        const QString work = QDir::toNativeSeparators(base.filePath(u"work & %PATH% more"_s));
        QVERIFY(QDir().mkpath(work));
        const QString record = QDir::toNativeSeparators(base.filePath(u"started.txt"_s));
        const QString script = work + u"\\run_wxjoin2.bat"_s;
        QVERIFY(writeFile(script,
                          "@echo off\r\ncd > \"" + QFile::encodeName(record) + "\"\r\nexit\r\n"));
        TerminalStarter starter;
        QCOMPARE(starter.startInConsole(script, work), std::nullopt);
        QVERIFY(starter.lastProcessId() > 0);
        QTRY_COMPARE_WITH_TIMEOUT(fileBytes(record).trimmed(), QFile::encodeName(work), 15000);
    }

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
        addRow("LF ends", QByteArray(extract).replace("\r\n", "\n"), "out.m3d", "C:\\DATA\\A.M3D");
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
            const auto* error = std::get_if<ReadError>(&read);
            QVERIFY2(error && error->line == 0 &&
                         error->expected.find(expected) != std::string::npos,
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

QTEST_MAIN(RunTest)
#include "run_test.moc"
