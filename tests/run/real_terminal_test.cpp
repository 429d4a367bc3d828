// Runs the way a click on Run does, with a real terminal on a virtual X display: the Run
// action writes the files, the terminal starter opens the console, the script starts the
// (stand-in) processor. Registered to run under xvfb-run.
#include "common/platform.h"
#include "run/control_files.h"
#include "run/run_action.h"
#include "run/terminal_starter.h"
#include "run_test_support.h"
#include "support/fake_services.h"

#include <QTemporaryDir>
#include <QTest>
#include <csignal>

using namespace gridloom;
using namespace gridloom::testing;

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
    editJob(job, QStringLiteral("type=IJK;inputs=1;bounds=1,10,1,12,1,5;domainValid=1;"
                                "startDate=2010-01-02;startHour=7;endDate=2010-01-03;endHour=7;"
                                "days=1;output=terminal"));
    job.workingDirectory = QFile::encodeName(work).toStdString();
    RecordingMessages messages;
    TerminalStarter starter;
    RunAction(messages, starter, program.path()).run(job);
    QCOMPARE(messages.texts(), QStringList());
    const qint64 console = starter.lastProcessId();
    QVERIFY(console > 0);

    const QString record = work + QStringLiteral("stand_in_record.txt");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 20000);
    QTest::qWait(200); // let the stand-in finish its record
    const QByteArray recorded = fileBytes(record);
    // The console waits for Enter, which no one presses here: close it by its process id.
    const QString alive = QStringLiteral("/proc/%1").arg(console);
    ::kill(pid_t(console), SIGTERM);
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(alive), 5000);

    QCOMPARE(recorded,
             standInRecord(QStringLiteral("wxjoin2"), QStringLiteral("wxjoin2.inp"),
                           QDir::cleanPath(work), QStringLiteral("wxjoin2.inp"),
                           QByteArray::fromStdString(extractionControlText(job, shortPath))));
}

QTEST_MAIN(RealTerminalTest)
#include "real_terminal_test.moc"
