// Runs the way a click on Run does, with a real terminal on a virtual X display: the Run
// action writes the files, the terminal starter opens the console, the script starts the
// (stand-in) processor. Registered to run under xvfb-run.
#include "common/platform.h"
#include "run/control_files.h"
#include "run/run_action.h"
#include "run/terminal_starter.h"
#include "run_test_support.h"
#include "support/fake_services.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

using namespace gridloom;
using namespace gridloom::testing;
using namespace std::chrono;

namespace {

bool processAlive(qint64 id)
{
    return QFileInfo::exists(QStringLiteral("/proc/%1").arg(id));
}

/// The console waits for Enter, which no one presses here: close it by its process id.
void closeConsole(qint64 id)
{
    if (id <= 0 || !processAlive(id))
        return;
    ::kill(pid_t(id), SIGTERM);
    for (int i = 0; i < 50 && processAlive(id); ++i)
        QTest::qWait(100);
    if (processAlive(id))
        ::kill(pid_t(id), SIGKILL);
}

} // namespace

class RealTerminalTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runStartsProcessorInTerminal();
};

void RealTerminalTest::runStartsProcessorInTerminal()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QFAIL("no X display: run this test under xvfb-run");

    QTemporaryDir program;
    QTemporaryDir base;
    QVERIFY(program.isValid() && base.isValid());
    QVERIFY(placeStandIn(program.path(), QStringLiteral("wxjoin2")));
    const QString work = base.filePath(QStringLiteral("it's a run $1/"));
    QVERIFY(QDir().mkpath(work));

    JobSettings job;
    job.mode = ProcessingMode::Extract;
    job.coordinateType = CoordinateType::IJK;
    job.workingDirectory = QFile::encodeName(work).toStdString();
    job.inputPaths = {"/data/a.m3d"};
    job.domain.bounds = {1, 10, 1, 12, 1, 5};
    job.domain.domainValid = true;
    job.startDate = year_month_day{year{2010}, January, day{2}};
    job.startHour = "7";
    job.endDate = year_month_day{year{2010}, January, day{3}};
    job.endHour = "7";
    job.daysPerFile = "1";
    job.outputName = "terminal";

    RecordingMessages messages;
    TerminalStarter starter;
    RunAction action(messages, starter, program.path());
    action.run(job);
    QCOMPARE(messages.texts(), QStringList());
    const qint64 console = starter.lastProcessId();
    QVERIFY(console > 0);

    const QString record = work + QStringLiteral("stand_in_record.txt");
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(record) && clock.elapsed() < 20000)
        QTest::qWait(100);
    QTest::qWait(200); // let the stand-in finish its record
    const QByteArray recorded = fileBytes(record);
    closeConsole(console);

    QCOMPARE(recorded,
             standInRecord(QStringLiteral("wxjoin2"), QStringLiteral("wxjoin2.inp"),
                           QDir::cleanPath(work), QStringLiteral("wxjoin2.inp"),
                           QByteArray::fromStdString(extractionControlText(job, shortPath))));
    QVERIFY(!processAlive(console));
}

QTEST_MAIN(RealTerminalTest)
#include "real_terminal_test.moc"
