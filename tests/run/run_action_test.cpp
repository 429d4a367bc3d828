// What the Run action does when writing or starting fails, which the window tests
// (whole_job_test) cannot bring about, and where it puts a relative working directory.
#include "run/run_action.h"
#include "run_test_support.h"
#include "support/fake_services.h"

#include <QApplication>
#include <QCursor>
#include <QTemporaryDir>
#include <QTest>

using namespace gridloom;
using namespace gridloom::testing;

namespace {

/// Records each start and whether the busy pointer was up then; can be told to fail.
class WatchingStarter final : public ProcessStarter {
public:
    std::optional<QString> startInConsole(const QString& script, const QString& folder) override
    {
        started << script << folder;
        const QCursor* pointer = QApplication::overrideCursor();
        busy = pointer && pointer->shape() == Qt::WaitCursor;
        return failure;
    }
    QStringList started;
    bool busy = false;
    std::optional<QString> failure;
};

} // namespace

class RunActionTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void failuresAndFolders_data();
    void failuresAndFolders();
};

void RunActionTest::failuresAndFolders_data()
{
    QTest::addColumn<QString>("directory"); // "{T}" stands for a temporary folder
    QTest::addColumn<QString>("blocked");   // a folder made where a file must go
    QTest::addColumn<QString>("startFailure");
    QTest::addColumn<QString>("message"); // its start; empty: none
    const auto row = [](const char* name, const char* directory, const char* blocked,
                        const char* startFailure, const char* message) {
        QTest::newRow(name) << directory << blocked << startFailure << message;
    };
    // Even root may not create files in /proc.
    row("unwritable working directory", "/proc/", "", "",
        "The control file /proc/wxjoin2.inp could not be written: ");
    row("script cannot be written", "{T}/", "run_wxjoin2.sh", "",
        "The run script {T}/run_wxjoin2.sh could not be written: ");
    row("start fails", "{T}/", "", "no console", "no console");
    // The console does not start in this program's folder, so the script names it in full.
    row("relative working directory", "rel/", "", "", "");
}

void RunActionTest::failuresAndFolders()
{
    QFETCH(QString, directory);
    QFETCH(QString, blocked);
    QFETCH(QString, startFailure);
    QFETCH(QString, message);
    QTemporaryDir program;
    QTemporaryDir temporary;
    QVERIFY(program.isValid() && temporary.isValid());
    QVERIFY(placeStandIn(program.path(), QStringLiteral("wxjoin2")));
    const QString base = temporary.path();
    QVERIFY(QDir(base).mkpath(QStringLiteral("rel")));
    QVERIFY(blocked.isEmpty() || QDir(base).mkdir(blocked));
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(base));
    directory.replace(QStringLiteral("{T}"), base);
    message.replace(QStringLiteral("{T}"), base);

    JobSettings job;
    job.mode = ProcessingMode::Extract;
    editJob(job, QStringLiteral("inputs=1;domainValid=1;startDate=2009-03-16;endDate=2009-03-17;"
                                "days=1;output=o;dir=") +
                     directory);
    RecordingMessages messages;
    WatchingStarter starter;
    if (!startFailure.isEmpty())
        starter.failure = startFailure;
    RunAction(messages, starter, program.path()).run(job);
    QVERIFY(QDir::setCurrent(previous));

    QCOMPARE(messages.shown.size(), std::size_t(message.isEmpty() ? 0 : 1));
    QVERIFY2(message.isEmpty() || (messages.shown[0].kind == ShownMessage::Kind::Job &&
                                   messages.last().startsWith(message)),
             qPrintable(messages.last()));
    const bool written = message.isEmpty() || !startFailure.isEmpty();
    const QString folder = QDir::cleanPath(QDir(base).filePath(directory)) + QStringLiteral("/");
    const QString script = folder + QStringLiteral("run_wxjoin2.sh");
    QCOMPARE(starter.started,
             written ? (QStringList{script, QDir::cleanPath(folder)}) : QStringList());
    QCOMPARE(starter.busy, written);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    if (written)
        QVERIFY(fileBytes(script).contains("cd -- '" + QFile::encodeName(folder) + "' &&\n"));
}

QTEST_MAIN(RunActionTest)
#include "run_action_test.moc"
