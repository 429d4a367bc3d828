// Which terminal program the starter picks and how it hands it the script, with made-up
// terminals on a search path of the test's own.
#include "run/terminal_starter.h"
#include "run_test_support.h"

#include <QTemporaryDir>
#include <QTest>

using namespace gridloom;
using namespace gridloom::testing;
using namespace Qt::StringLiterals;

namespace {

/// Puts an executable of the given name and content into `folder`.
bool placeProgram(const QString& folder, const QString& name, const QByteArray& content)
{
    QFile file(QDir(folder).filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
           file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
}

} // namespace

class TerminalStarterTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startsFirstTerminalFound_data();
    void startsFirstTerminalFound();
};

void TerminalStarterTest::startsFirstTerminalFound_data()
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

void TerminalStarterTest::startsFirstTerminalFound()
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

QTEST_GUILESS_MAIN(TerminalStarterTest)
#include "terminal_starter_test.moc"
