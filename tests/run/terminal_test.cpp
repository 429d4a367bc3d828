// The console start: which terminal program the starter picks and how it hands it the script,
// with made-up terminals on a search path of the test's own; and once the whole way with a real
// terminal on a virtual X display, where the script starts the stand-in processor.
#include "common/platform.h"
#include "run/control_files.h"
#include "run/run_action.h"
#include "run/terminal_starter.h"
#include "run_test_support.h"
#include "support/data_rows.h"
#include "support/fake_services.h"

#include <QTemporaryDir>
#include <QTest>
#include <csignal>

using namespace gridloom;
using namespace gridloom::testing;

class TerminalTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startsFirstTerminalFound_data()
    {
        // installed: "xterm!" is an xterm that cannot be loaded
        // used: with the option that hands it the command
        // failure: how its start fails; "{BIN}": the search path
        columns<QString, QString, QString>("installed", "used", "failure");
        addRow("xterm", "xterm", "xterm -e", "");
        addRow("gnome-terminal takes the command after --", "gnome-terminal", "gnome-terminal --",
               "");
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
        auto [installed, used, failure] =
            fetchRow<QString, QString, QString>("installed", "used", "failure");
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

    // Needs an X display: registered on its own, under xvfb-run.
    void runStartsProcessorInTerminal()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "run this test under xvfb-run");
        QTemporaryDir program;
        QTemporaryDir base;
        QVERIFY(placeStandIn(program.path(), u"wxjoin2"_s));
        const QString work = base.filePath(u"it's a run $1/"_s);
        QVERIFY(QDir().mkpath(work));
        JobSettings job;
        editJob(job, u"type=IJK;inputs=1;domainValid=1;startDate=2010-01-02;endDate=2010-01-03;"
                     u"days=1;output=terminal"_s);
        job.mode = ProcessingMode::Extract;
        job.workingDirectory = QFile::encodeName(work).toStdString();
        RecordingMessages messages;
        TerminalStarter starter;
        RunAction(messages, starter, program.path()).run(job);
        QCOMPARE(messages.shown, QStringList());

        const QString record = work + u"stand_in_record.txt"_s;
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 20000);
        QTest::qWait(200); // let the stand-in finish its record
        QCOMPARE(fileBytes(record),
                 standInRecord(u"wxjoin2"_s, u"wxjoin2.inp"_s, QDir::cleanPath(work),
                               u"wxjoin2.inp"_s,
                               QByteArray::fromStdString(extractionControlText(job, shortPath))));
        // The console waits for Enter, which no one presses here: close it by its process id.
        ::kill(pid_t(starter.lastProcessId()), SIGTERM);
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(u"/proc/%1"_s.arg(starter.lastProcessId())),
                                 5000);
    }
};

QTEST_MAIN(TerminalTest)
#include "terminal_test.moc"
