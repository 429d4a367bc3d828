#include "common/platform.h"
#include "run/control_files.h"
#include "run/run_action.h"
#include "run/run_script.h"
#include "run_test_support.h"
#include "support/fake_services.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace gridloom;
using namespace gridloom::testing;
using namespace std::chrono;

namespace {

/// Remembers whether the busy pointer was up when it was asked to start something.
class PointerWatchingStarter final : public ProcessStarter {
public:
    std::optional<QString> startInConsole(const QString&, const QString&) override
    {
        busyWhileStarting = QApplication::overrideCursor() &&
                            QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        return failure;
    }
    bool busyWhileStarting = false;
    std::optional<QString> failure;
};

std::string directoryText(const QTemporaryDir& folder)
{
    return QFile::encodeName(folder.path() + QLatin1Char('/')).toStdString();
}

JobSettings extractionJob(const std::string& workingDirectory)
{
    JobSettings job;
    job.mode = ProcessingMode::Extract;
    job.coordinateType = CoordinateType::IJK;
    job.title = "valley";
    job.workingDirectory = workingDirectory;
    job.inputPaths = {"/data/a.m3d", "/data/b.m3d"};
    job.domain.bounds = {2, 40, 3, 50, 1, 20};
    job.domain.domainValid = true;
    job.startDate = year_month_day{year{2009}, March, day{16}};
    job.startHour = "6";
    job.endDate = year_month_day{year{2009}, March, day{18}};
    job.endHour = "18";
    job.daysPerFile = "1";
    job.outputName = "valley";
    return job;
}

JobSettings mergeJob(const std::string& workingDirectory)
{
    JobSettings job = extractionJob(workingDirectory);
    job.mode = ProcessingMode::Merge;
    job.coordinateType = CoordinateType::XY;
    job.domain.bounds = {-1200, 1500, -300, 0, 0, 0};
    job.outputName = "merged_2009031606";
    return job;
}

QStringList entries(const QTemporaryDir& folder)
{
    return QDir(folder.path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

const QString missingProcessorMessage =
    QStringLiteral("Can not run Fortran executable, please make sure it is in the folder ");

} // namespace

class RunActionTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void writesFilesAndStartsScript_data();
    void writesFilesAndStartsScript();
    void missingProcessor_data();
    void missingProcessor();
    void unwritableFiles_data();
    void unwritableFiles();
    void startFailureIsShown();
    void busyPointerOnlyWhileWorking();
    void relativeWorkingDirectory();

private:
    std::unique_ptr<QTemporaryDir> m_program;
    std::unique_ptr<QTemporaryDir> m_work;
};

void RunActionTest::init()
{
    m_program = std::make_unique<QTemporaryDir>();
    m_work = std::make_unique<QTemporaryDir>();
    QVERIFY(m_program->isValid() && m_work->isValid());
    QVERIFY(placeStandIn(m_program->path(), QStringLiteral("wxjoin2")));
    QVERIFY(placeStandIn(m_program->path(), QStringLiteral("gridfuse")));
}

void RunActionTest::writesFilesAndStartsScript_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("outputName");
    QTest::addColumn<QString>("completedName");
    QTest::addColumn<QString>("controlFile");
    QTest::addColumn<QString>("script");
    QTest::newRow("extract") << int(ProcessingMode::Extract) << "valley"
                             << "valley"
                             << "wxjoin2.inp"
                             << "run_wxjoin2.sh";
    QTest::newRow("merge completes the name") << int(ProcessingMode::Merge) << "merged_2009031606"
                                              << "merged_2009031606.m3d"
                                              << "merged_2009031606.inp"
                                              << "run_gridfuse.sh";
    QTest::newRow("merge keeps a complete name") << int(ProcessingMode::Merge) << " a.b.dat "
                                                 << " a.b.dat "
                                                 << " a.inp"
                                                 << "run_gridfuse.sh";
}

void RunActionTest::writesFilesAndStartsScript()
{
    QFETCH(int, mode);
    QFETCH(QString, outputName);
    QFETCH(QString, completedName);
    QFETCH(QString, controlFile);
    QFETCH(QString, script);

    RecordingMessages messages;
    RecordingStarter starter;
    RunAction action(messages, starter, m_program->path());
    JobSettings job = ProcessingMode(mode) == ProcessingMode::Merge
                          ? mergeJob(directoryText(*m_work))
                          : extractionJob(directoryText(*m_work));
    job.outputName = outputName.toStdString();
    action.run(job);

    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(QString::fromStdString(job.outputName), completedName);
    QStringList expectedEntries{controlFile, script};
    expectedEntries.sort();
    QCOMPARE(entries(*m_work), expectedEntries);

    const QByteArray control = QByteArray::fromStdString(
        job.mode == ProcessingMode::Merge ? mergeControlText(job, shortPath)
                                          : extractionControlText(job, shortPath));
    QCOMPARE(fileBytes(m_work->filePath(controlFile)), control);
    const ScriptJob scriptJob{job.mode, job.workingDirectory, job.outputName,
                              QFile::encodeName(m_program->path()).toStdString()};
    QCOMPARE(fileBytes(m_work->filePath(script)),
             QByteArray::fromStdString(shellScriptText(scriptJob)));

    QCOMPARE(starter.started.size(), std::size_t(1));
    QCOMPARE(starter.started[0].first, m_work->filePath(script));
    QCOMPARE(starter.started[0].second, m_work->path());
}

void RunActionTest::missingProcessor_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("replacement"); // what lies where the executable should
    QTest::addColumn<QString>("controlFile");
    QTest::newRow("merge, nothing there") << int(ProcessingMode::Merge) << ""
                                          << "merged_2009031606.inp";
    QTest::newRow("extract, a file that may not run") << int(ProcessingMode::Extract) << "file"
                                                      << "wxjoin2.inp";
}

void RunActionTest::missingProcessor()
{
    QFETCH(int, mode);
    QFETCH(QString, replacement);
    QFETCH(QString, controlFile);

    const QString tool = QString::fromLatin1(toolName(ProcessingMode(mode)));
    QVERIFY(QFile::remove(m_program->filePath(tool)));
    if (replacement == QStringLiteral("file")) {
        QFile file(m_program->filePath(tool));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    RecordingMessages messages;
    RecordingStarter starter;
    RunAction action(messages, starter, m_program->path());
    JobSettings job = ProcessingMode(mode) == ProcessingMode::Merge
                          ? mergeJob(directoryText(*m_work))
                          : extractionJob(directoryText(*m_work));
    action.run(job);

    QCOMPARE(messages.shown,
             (std::vector<ShownMessage>{
                 {ShownMessage::Kind::Job, missingProcessorMessage + m_program->path()}}));
    // The control file stays; no script is written and nothing starts.
    QCOMPARE(entries(*m_work), QStringList{controlFile});
    QVERIFY(starter.started.empty());
}

void RunActionTest::unwritableFiles_data()
{
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<QString>("messageStart");
    // A folder standing where a file must go cannot be replaced, whoever runs the test.
    QTest::newRow("control file") << "wxjoin2.inp"
                                  << "The control file ";
    QTest::newRow("run script") << "run_wxjoin2.sh"
                                << "The run script ";
}

void RunActionTest::unwritableFiles()
{
    QFETCH(QString, blocked);
    QFETCH(QString, messageStart);
    QVERIFY(QDir(m_work->path()).mkdir(blocked));

    RecordingMessages messages;
    RecordingStarter starter;
    RunAction action(messages, starter, m_program->path());
    JobSettings job = extractionJob(directoryText(*m_work));
    action.run(job);

    QCOMPARE(messages.shown.size(), std::size_t(1));
    QCOMPARE(messages.shown[0].kind, ShownMessage::Kind::Job);
    QVERIFY2(messages.last().startsWith(messageStart + m_work->filePath(blocked)),
             qPrintable(messages.last()));
    QVERIFY(starter.started.empty());
    QVERIFY(QFileInfo(m_work->filePath(blocked)).isDir());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void RunActionTest::startFailureIsShown()
{
    RecordingMessages messages;
    RecordingStarter starter;
    starter.failure = QStringLiteral("No terminal program was found");
    RunAction action(messages, starter, m_program->path());
    JobSettings job = extractionJob(directoryText(*m_work));
    action.run(job);
    QCOMPARE(messages.shown,
             (std::vector<ShownMessage>{{ShownMessage::Kind::Job, *starter.failure}}));
    QCOMPARE(starter.started.size(), std::size_t(1));
}

void RunActionTest::busyPointerOnlyWhileWorking()
{
    RecordingMessages messages;
    PointerWatchingStarter starter;
    starter.failure = QStringLiteral("could not start");
    RunAction action(messages, starter, m_program->path());
    JobSettings job = extractionJob(directoryText(*m_work));
    action.run(job);
    QVERIFY(starter.busyWhileStarting);
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    job.endDate = job.startDate;
    job.endHour = job.startHour;
    action.run(job);
    QCOMPARE(messages.last(), QStringLiteral("End date must be later than begin date"));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void RunActionTest::relativeWorkingDirectory()
{
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_work->path()));
    QVERIFY(QDir(m_work->path()).mkdir(QStringLiteral("rel")));

    RecordingMessages messages;
    RecordingStarter starter;
    RunAction action(messages, starter, m_program->path());
    JobSettings job = extractionJob("rel/");
    action.run(job);
    QVERIFY(QDir::setCurrent(previous));

    QCOMPARE(messages.texts(), QStringList());
    const QString folder = m_work->filePath(QStringLiteral("rel"));
    QVERIFY(QFile::exists(folder + QStringLiteral("/wxjoin2.inp")));
    QCOMPARE(starter.started.size(), std::size_t(1));
    QCOMPARE(starter.started[0].first, folder + QStringLiteral("/run_wxjoin2.sh"));
    // The console does not start where this program runs, so the script names the folder
    // in full.
    QVERIFY(fileBytes(folder + QStringLiteral("/run_wxjoin2.sh"))
                .contains("cd -- '" + QFile::encodeName(folder) + "/' &&\n"));
}

QTEST_MAIN(RunActionTest)
#include "run_action_test.moc"
