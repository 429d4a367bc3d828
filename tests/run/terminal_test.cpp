// The console start: which terminal program the starter picks and how it hands it the script,
// with made-up terminals on a search path of the test's own; and once the whole way with a real
// terminal on a virtual X display, where the script starts the stand-in processor.
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

namespace {

/// Puts an executable of the given name and content into `folder`.
bool placeProgram(const QString& folder, const QString& name, const QByteArray& content)
{
    QFile file(QDir(folder).filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
           file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
}

} // namespace

class TerminalTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startsFirstTerminalFound_data();
    void startsFirstTerminalFound();
    // Needs an X display: registered on its own, under xvfb-run.
    void runStartsProcessorInTerminal();
};

void TerminalTest::startsFirstTerminalFound_data()
{
    QTest::addColumn<QStringList>("installed"); // "xterm!" is an xterm that cannot be loaded
    QTest::addColumn<QString>("used");          // with the option that hands it the command
    QTest::addColumn<QString>("failure");       // its start; "{BIN}" for the search path
    const auto row = [](const char* name, const char* installed, const char* used,
                        const char* failure = "") {
        QTest::newRow(name) << QString::fromLatin1(installed).split(QLatin1Char(' '),
                                                                    Qt::SkipEmptyParts)
                            << used << failure;
    };
    row("xterm", "xterm", "xterm -e");
    row("gnome-terminal takes the command after --", "gnome-terminal", "gnome-terminal --");
    row("xfce4-terminal takes the rest after -x", "xfce4-terminal", "xfce4-terminal -x");
    row("konsole before xterm", "xterm konsole", "konsole -e");
    row("the system's choice first", "gnome-terminal x-terminal-emulator",
        "x-terminal-emulator -e");
    row("none found", "", "",
        "No terminal program was found to run {BIN}/run_wxjoin2.sh in. Please install one of "
        "x-terminal-emulator, gnome-terminal, konsole, xfce4-terminal, xterm, or run the script "
        "yourself.");
    row("found but cannot start", "xterm!", "",
        "Unable to start {BIN}/xterm to run {BIN}/run_wxjoin2.sh: ");
}

void TerminalTest::startsFirstTerminalFound()
{
    QFETCH(QStringList, installed);
    QFETCH(QString, used);
    QFETCH(QString, failure);
    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    // Each fake terminal writes its arguments and its folder, one a line, into <name>.txt.
    const QString work = bin.filePath(u"work"_s);
    QVERIFY(QDir().mkdir(work));
    for (const QString& name : installed)
        QVERIFY(placeProgram(bin.path(), name.chopped(name.endsWith(QLatin1Char('!'))),
                             name.endsWith(QLatin1Char('!'))
                                 ? QByteArray("\x7f"
                                              "ELF junk")
                                 : "#!/bin/sh\nprintf '%s\\n' \"$@\" \"$(pwd)\" > '" +
                                       QFile::encodeName(bin.filePath(name)) + ".txt'\n"));
    const QString script = bin.filePath(u"run_wxjoin2.sh"_s);
    TerminalStarter starter;
    // The search path is the test's own only while the starter looks for a terminal.
    const QByteArray searchPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));
    std::optional<QString> result = starter.startInConsole(script, work);
    qputenv("PATH", searchPath);
    if (!failure.isEmpty()) {
        QVERIFY(result.has_value());
        QVERIFY2(result->startsWith(failure.replace(u"{BIN}"_s, bin.path())), qPrintable(*result));
        QCOMPARE(starter.lastProcessId(), 0);
        return;
    }
    QCOMPARE(result, std::nullopt);
    QVERIFY(starter.lastProcessId() > 0);
    const QStringList terminal = used.split(QLatin1Char(' '));
    QTRY_COMPARE_WITH_TIMEOUT(QString::fromUtf8(fileBytes(bin.filePath(terminal[0] + u".txt"_s))),
                              terminal[1] + u"\n/bin/sh\n"_s + script + QLatin1Char('\n') + work +
                                  QLatin1Char('\n'),
                              5000);
}

void TerminalTest::runStartsProcessorInTerminal()
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

QTEST_MAIN(TerminalTest)
#include "terminal_test.moc"
