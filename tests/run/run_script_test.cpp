#include "common/platform.h"
#include "run/control_files.h"
#include "run/run_script.h"
#include "run_test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace gridloom;
using namespace gridloom::testing;

namespace {

/// A folder name that the shell would split, expand or run if it ever saw it unquoted.
const QString hostileName = QStringLiteral(
    "wörk dir 'single' \"double\" $HOME ;touch injected1; `touch injected2` $(touch injected3) "
    "* \\ Ωμέγα 目录");

} // namespace

class RunScriptTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void batchExamplesByteForByte_data();
    void batchExamplesByteForByte();
    void batchTakesPathsLiterally_data();
    void batchTakesPathsLiterally();
    void shellScriptForm_data();
    void shellScriptForm();
    void shellQuoting_data();
    void shellQuoting();
    void shellScriptRunsInHostileFolder_data();
    void shellScriptRunsInHostileFolder();
    void shellScriptStopsWhenFolderIsGone();
    void scriptFileIsReplacedAndExecutable();
    void processorPresence_data();
    void processorPresence();
};

void RunScriptTest::batchExamplesByteForByte_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("outputName");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("extract") << int(ProcessingMode::Extract) << "out"
                             << "C:\\work\\run_wxjoin2.bat"
                             << QByteArray("C:\r\n"
                                           "cd \"C:\\work\\\"\r\n"
                                           "\"C:\\tools\\wxjoin2.exe\" wxjoin2.inp\r\n"
                                           "pause\r\n");
    QTest::newRow("merge") << int(ProcessingMode::Merge) << "west.m3d"
                           << "C:\\work\\run_gridfuse.bat"
                           << QByteArray("C:\r\n"
                                         "cd \"C:\\work\\\"\r\n"
                                         "Copy \"C:\\work\\west.inp\" gridfuse.inp\r\n"
                                         "\"C:\\tools\\gridfuse.exe\"\r\n"
                                         "pause\r\n");
}

void RunScriptTest::batchExamplesByteForByte()
{
    QFETCH(int, mode);
    QFETCH(QString, outputName);
    QFETCH(QString, path);
    QFETCH(QByteArray, text);
    const ScriptJob job{ProcessingMode(mode), "C:\\work\\", outputName.toStdString(), "C:\\tools"};
    QCOMPARE(QByteArray::fromStdString(batchScriptText(job)), text);
    QCOMPARE(
        QString::fromStdString(runScriptPath(ScriptForm::Batch, job.workingDirectory, job.mode)),
        path);
}

void RunScriptTest::batchTakesPathsLiterally_data()
{
    QTest::addColumn<QString>("workingDirectory");
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("percent signs doubled everywhere")
        << "D:\\100%\\"
        << "E:\\%PATH%"
        << QByteArray("D:\r\n"
                      "cd \"D:\\100%%\\\"\r\n"
                      "Copy \"D:\\100%%\\a%%b.inp\" gridfuse.inp\r\n"
                      "\"E:\\%%PATH%%\\gridfuse.exe\"\r\n"
                      "pause\r\n");
    QTest::newRow("drive from the trimmed text, cd from the untrimmed")
        << "  \\\\server\\share\\ "
        << "C:\\tools\\"
        << QByteArray("\\\\\r\n"
                      "cd \"  \\\\server\\share\\ \"\r\n"
                      "Copy \"  \\\\server\\share\\ a%%b.inp\" gridfuse.inp\r\n"
                      "\"C:\\tools\\gridfuse.exe\"\r\n"
                      "pause\r\n");
}

void RunScriptTest::batchTakesPathsLiterally()
{
    QFETCH(QString, workingDirectory);
    QFETCH(QString, programFolder);
    QFETCH(QByteArray, text);
    const ScriptJob job{ProcessingMode::Merge, workingDirectory.toStdString(), "a%b.c.m3d",
                        programFolder.toStdString()};
    QCOMPARE(QByteArray::fromStdString(batchScriptText(job)), text);
}

void RunScriptTest::shellScriptForm_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("outputName");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("extract") << int(ProcessingMode::Extract) << "out"
                             << QByteArray("#!/bin/sh\n"
                                           "cd -- '/home/ann/it'\\''s/' &&\n"
                                           "'/opt/grid loom/wxjoin2' wxjoin2.inp\n"
                                           "printf '%s' 'Press Enter to close this window '\n"
                                           "read -r answer\n");
    QTest::newRow("merge") << int(ProcessingMode::Merge) << "west.b.m3d"
                           << QByteArray("#!/bin/sh\n"
                                         "cd -- '/home/ann/it'\\''s/' &&\n"
                                         "cp -- '/home/ann/it'\\''s/west.inp' gridfuse.inp &&\n"
                                         "'/opt/grid loom/gridfuse'\n"
                                         "printf '%s' 'Press Enter to close this window '\n"
                                         "read -r answer\n");
}

void RunScriptTest::shellScriptForm()
{
    QFETCH(int, mode);
    QFETCH(QString, outputName);
    QFETCH(QByteArray, text);
    const ScriptJob job{ProcessingMode(mode), "/home/ann/it's/", outputName.toStdString(),
                        "/opt/grid loom"};
    QCOMPARE(QByteArray::fromStdString(shellScriptText(job)), text);
}

void RunScriptTest::shellQuoting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("plain") << "/a/b"
                           << "'/a/b'";
    QTest::newRow("empty") << ""
                           << "''";
    QTest::newRow("single quotes") << "'x'"
                                   << "''\\''x'\\'''";
    QTest::newRow("everything else is left alone") << "$a `b` \"c\" ;\\ *"
                                                   << "'$a `b` \"c\" ;\\ *'";
}

void RunScriptTest::shellQuoting()
{
    QFETCH(QString, text);
    QFETCH(QString, quoted);
    QCOMPARE(QString::fromStdString(shellQuoted(text.toStdString())), quoted);

    // What the shell makes of the quoted text must be the text itself.
    QProcess shell;
    shell.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"), QStringLiteral("printf '%s' ") + quoted});
    QVERIFY(shell.waitForFinished(5000));
    QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()), text);
}

void RunScriptTest::shellScriptRunsInHostileFolder_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("extract") << int(ProcessingMode::Extract);
    QTest::newRow("merge") << int(ProcessingMode::Merge);
}

void RunScriptTest::shellScriptRunsInHostileFolder()
{
    QFETCH(int, mode);
    const auto processingMode = ProcessingMode(mode);
    const QString tool = QString::fromLatin1(toolName(processingMode));

    QTemporaryDir base;
    QVERIFY(base.isValid());
    QDir root(base.path());
    QVERIFY(root.mkpath(hostileName + QStringLiteral("/work")));
    QVERIFY(root.mkpath(hostileName + QStringLiteral("/program")));
    QVERIFY(root.mkpath(QStringLiteral("caller")));
    const QString work = root.filePath(hostileName + QStringLiteral("/work/"));
    const QString program = root.filePath(hostileName + QStringLiteral("/program"));
    QVERIFY(placeStandIn(program, tool));

    JobSettings job;
    job.mode = processingMode;
    job.workingDirectory = QFile::encodeName(work).toStdString();
    job.outputName = "my run.m3d";
    job.inputPaths = {"/in/a.m3d"};
    const std::string control = processingMode == ProcessingMode::Merge
                                    ? mergeControlText(job, gridloom::shortPath)
                                    : extractionControlText(job, gridloom::shortPath);
    QVERIFY(!(processingMode == ProcessingMode::Merge ? writeMergeControlFile(job)
                                                      : writeExtractionControlFile(job)));
    const ScriptJob script{processingMode, job.workingDirectory, job.outputName,
                           QFile::encodeName(program).toStdString()};
    QVERIFY(!writeRunScript(script));

    QProcess shell;
    shell.setWorkingDirectory(root.filePath(QStringLiteral("caller")));
    shell.setStandardInputFile(QProcess::nullDevice());
    shell.start(QStringLiteral("/bin/sh"),
                {QFile::decodeName(QByteArray::fromStdString(
                    runScriptPath(ScriptForm::Shell, job.workingDirectory, processingMode)))});
    QVERIFY(shell.waitForFinished(10000));
    QVERIFY2(shell.readAllStandardError().isEmpty(), "the script complained");
    QVERIFY(shell.readAllStandardOutput().startsWith("Press Enter"));

    const bool merge = processingMode == ProcessingMode::Merge;
    QCOMPARE(fileBytes(work + QStringLiteral("stand_in_record.txt")),
             standInRecord(tool, merge ? QString() : QStringLiteral("wxjoin2.inp"),
                           QDir::cleanPath(work), tool + QStringLiteral(".inp"),
                           QByteArray::fromStdString(control)));

    // Nothing of the folder name ran: the only files anywhere are the ones the run makes.
    QStringList files;
    for (QDirIterator it(base.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();)
        files << QDir(base.path()).relativeFilePath(it.next());
    files.sort();
    QStringList expected{hostileName + QStringLiteral("/program/") + tool,
                         hostileName + QStringLiteral("/work/run_") + tool + QStringLiteral(".sh"),
                         hostileName + QStringLiteral("/work/stand_in_record.txt")};
    if (merge)
        expected << hostileName + QStringLiteral("/work/gridfuse.inp")
                 << hostileName + QStringLiteral("/work/my run.inp");
    else
        expected << hostileName + QStringLiteral("/work/wxjoin2.inp");
    expected.sort();
    QCOMPARE(files, expected);
}

void RunScriptTest::shellScriptStopsWhenFolderIsGone()
{
    QTemporaryDir base;
    QVERIFY(base.isValid());
    QVERIFY(placeStandIn(base.path(), QStringLiteral("wxjoin2")));
    const QString script = base.filePath(QStringLiteral("run_wxjoin2.sh"));
    QFile file(script);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(
        shellScriptText({ProcessingMode::Extract,
                         QFile::encodeName(base.filePath(QStringLiteral("gone/"))).toStdString(),
                         "out", QFile::encodeName(base.path()).toStdString()})));
    file.close();

    QProcess shell;
    shell.setWorkingDirectory(base.path());
    shell.setStandardInputFile(QProcess::nullDevice());
    shell.start(QStringLiteral("/bin/sh"), {script});
    QVERIFY(shell.waitForFinished(10000));
    // The processor must not run in whatever folder the console happened to start in.
    QVERIFY(!QFile::exists(base.filePath(QStringLiteral("stand_in_record.txt"))));
    QVERIFY(shell.readAllStandardOutput().startsWith("Press Enter"));
}

void RunScriptTest::scriptFileIsReplacedAndExecutable()
{
    QTemporaryDir base;
    QVERIFY(base.isValid());
    const QString path = base.filePath(QStringLiteral("run_gridfuse.sh"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(5000, '#'));
    old.close();

    const ScriptJob job{ProcessingMode::Merge,
                        QFile::encodeName(base.path() + QLatin1Char('/')).toStdString(), "w.m3d",
                        "/opt/p"};
    QVERIFY(!writeRunScript(job));
    QCOMPARE(fileBytes(path), QByteArray::fromStdString(shellScriptText(job)));
    const auto permissions = QFile::permissions(path);
    const auto all = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                     QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                     QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    QCOMPARE(permissions & all, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                    QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                    QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                    QFileDevice::ExeOther);
}

void RunScriptTest::processorPresence_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("present");
    QTest::newRow("executable file") << "executable" << true;
    QTest::newRow("file without execute permission") << "plain" << false;
    QTest::newRow("folder of that name") << "folder" << false;
    QTest::newRow("nothing") << "none" << false;
}

void RunScriptTest::processorPresence()
{
    QFETCH(QString, kind);
    QFETCH(bool, present);
    QTemporaryDir base;
    QVERIFY(base.isValid());
    const QString path = base.filePath(QStringLiteral("wxjoin2"));
    if (kind == QStringLiteral("executable"))
        QVERIFY(placeStandIn(base.path(), QStringLiteral("wxjoin2")));
    if (kind == QStringLiteral("plain")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    if (kind == QStringLiteral("folder"))
        QVERIFY(QDir(base.path()).mkdir(QStringLiteral("wxjoin2")));
    const std::string executable = processorPath(
        ScriptForm::Shell, QFile::encodeName(base.path()).toStdString(), ProcessingMode::Extract);
    QCOMPARE(QString::fromStdString(executable), path);
    QCOMPARE(processorPresent(executable), present);
}

QTEST_GUILESS_MAIN(RunScriptTest)
#include "run_script_test.moc"
