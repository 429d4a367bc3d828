#include "run/terminal_starter.h"
#include "run_test_support.h"

#include <QTemporaryDir>
#include <QTest>

using namespace gridloom;
using namespace gridloom::testing;

namespace {

/// Puts a program of the given name into `folder` that writes its arguments and its current
/// folder, one a line, into `record`.
bool placeFakeTerminal(const QString& folder, const QString& name, const QString& record)
{
    QFile file(QDir(folder).filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + QFile::encodeName(record) + "'\npwd >> '" +
               QFile::encodeName(record) + "'\n");
    file.close();
    return file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                               QFileDevice::ExeOwner);
}

/// Replaces PATH for the life of the object.
class SearchPath final {
public:
    explicit SearchPath(const QString& folders) : m_saved(qgetenv("PATH"))
    {
        qputenv("PATH", QFile::encodeName(folders));
    }
    ~SearchPath() { qputenv("PATH", m_saved); }

private:
    QByteArray m_saved;
};

bool waitForFile(const QString& path)
{
    for (int i = 0; i < 100 && !QFile::exists(path); ++i)
        QTest::qWait(50);
    QTest::qWait(50); // the fake writes its record in two steps
    return QFile::exists(path);
}

} // namespace

class TerminalStarterTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startsFirstTerminalFound_data();
    void startsFirstTerminalFound();
    void noTerminalFound();
    void terminalThatCannotStart();
};

void TerminalStarterTest::startsFirstTerminalFound_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("used");
    QTest::addColumn<QString>("option");
    QTest::newRow("xterm") << QStringList{QStringLiteral("xterm")} << "xterm"
                           << "-e";
    QTest::newRow("gnome-terminal takes the command after --")
        << QStringList{QStringLiteral("gnome-terminal")} << "gnome-terminal"
        << "--";
    QTest::newRow("xfce4-terminal takes the rest of the line after -x")
        << QStringList{QStringLiteral("xfce4-terminal")} << "xfce4-terminal"
        << "-x";
    QTest::newRow("konsole before xterm")
        << QStringList{QStringLiteral("xterm"), QStringLiteral("konsole")} << "konsole"
        << "-e";
    QTest::newRow("the system's choice first")
        << QStringList{QStringLiteral("gnome-terminal"), QStringLiteral("x-terminal-emulator")}
        << "x-terminal-emulator"
        << "-e";
}

void TerminalStarterTest::startsFirstTerminalFound()
{
    QFETCH(QStringList, installed);
    QFETCH(QString, used);
    QFETCH(QString, option);

    QTemporaryDir bin;
    QTemporaryDir work;
    QVERIFY(bin.isValid() && work.isValid());
    for (const QString& name : installed)
        QVERIFY(placeFakeTerminal(bin.path(), name, work.filePath(name + QStringLiteral(".txt"))));
    const QString script = work.filePath(QStringLiteral("run_wxjoin2.sh"));

    TerminalStarter starter;
    {
        const SearchPath path(bin.path());
        QCOMPARE(starter.startInConsole(script, work.path()), std::nullopt);
    }
    QVERIFY(starter.lastProcessId() > 0);
    const QString record = work.filePath(used + QStringLiteral(".txt"));
    QVERIFY2(waitForFile(record), qPrintable(used));
    QCOMPARE(QString::fromUtf8(fileBytes(record)), option + QStringLiteral("\n/bin/sh\n") + script +
                                                       QLatin1Char('\n') + work.path() +
                                                       QLatin1Char('\n'));
}

void TerminalStarterTest::noTerminalFound()
{
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    const SearchPath path(empty.path());
    TerminalStarter starter;
    const auto failure =
        starter.startInConsole(QStringLiteral("/w/run_gridfuse.sh"), QStringLiteral("/w"));
    QVERIFY(failure.has_value());
    QVERIFY(failure->contains(QStringLiteral("No terminal program was found")));
    QVERIFY(failure->contains(QStringLiteral("/w/run_gridfuse.sh")));
    QCOMPARE(starter.lastProcessId(), 0);
}

void TerminalStarterTest::terminalThatCannotStart()
{
    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    // Executable by its mode, but no program the system can load.
    QFile broken(bin.filePath(QStringLiteral("xterm")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray("\x7f"
                            "ELF garbage",
                            12));
    broken.close();
    QVERIFY(broken.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner));

    const SearchPath path(bin.path());
    TerminalStarter starter;
    const auto failure = starter.startInConsole(QStringLiteral("/w/run_wxjoin2.sh"), bin.path());
    QVERIFY(failure.has_value());
    QVERIFY2(failure->startsWith(QStringLiteral("Unable to start ") +
                                 bin.filePath(QStringLiteral("xterm"))),
             qPrintable(*failure));
}

QTEST_GUILESS_MAIN(TerminalStarterTest)
#include "terminal_starter_test.moc"
