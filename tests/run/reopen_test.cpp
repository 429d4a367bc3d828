// Jobs kept on disk, through the real main window: a control file opened and run again gives
// its own bytes, a refused one (each broken line too) leaves the window as it was, Write job files
// leaves both files without a console, the recent list outlives the program, and the command line
// takes a path.
#include "app/main_window.h"
#include "common/date_hour_stamp.h"
#include "common/platform.h"
#include "fixtures/fake_services.h"
#include "fixtures/fixture_writer.h"
#include "run_test_support.h"
#include "support/data_rows.h"
#include "support/operate.h"
#include "support/qt_test_prelude.h"

#include <QSettings>
#include <QStatusBar>

using namespace gridloom;
using namespace gridloom::testing;

namespace {

/// What every control of the window and of its coordinate dialog shows, in one text.
QString windowState(MainWindow& window)
{
    QStringList parts{QString::number(window.domain().domainValid)};
    for (const double bound : window.domain().bounds)
        parts << QString::number(bound);
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (const auto* field = qobject_cast<const QLineEdit*>(widget))
            parts << field->text();
        else if (const auto* label = qobject_cast<const QLabel*>(widget))
            parts << label->text();
        else if (const auto* option = qobject_cast<const QRadioButton*>(widget))
            parts << QString::number(option->isChecked());
        else if (const auto* date = qobject_cast<const QDateTimeEdit*>(widget))
            parts << date->dateTime().toString(Qt::ISODate);
        else if (const auto* list = qobject_cast<const QListWidget*>(widget))
            for (int row = 0; row < list->count(); ++row)
                parts << list->item(row)->text() << list->palette().base().color().name();
    }
    return parts.join(u'|');
}

} // namespace

class ReopenTest final : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_base;
    QTemporaryDir m_settings;
    QString m_program, m_inputs, m_work;
    FakeServices m_fakes;
    std::unique_ptr<MainWindow> m_window;

    /// A worked example's control file in the working folder, naming the test's inputs.
    QString placeGolden(const QString& golden, const QString& name)
    {
        // In their short form, which the control file is written with (the same on Linux).
        const QByteArray inputs =
            QByteArray::fromStdString(shortPath(QFile::encodeName(m_inputs).toStdString()));
        const QByteArray bytes =
            goldenFile(golden).replace("C:\\DATA\\", inputs).replace("C:\\D\\", inputs);
        writeFile(m_work + name, bytes);
        return m_work + name;
    }
    void newWindow()
    {
        m_window = std::make_unique<MainWindow>(
            Services{m_fakes.messages, m_fakes.files, m_fakes.starter, m_fakes.volumes, m_program});
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    QStringList recentMenu()
    {
        auto* menu = m_window->findChild<QMenu*>(u"RecentControlFiles"_s);
        Q_EMIT menu->aboutToShow();
        QStringList entries;
        for (const QAction* action : menu->actions())
            entries << action->text();
        return entries;
    }

private Q_SLOTS:
    // The recent list lives in a scratch settings file, on every system, so that the test
    // neither reads another run's list nor clears the developer's own.
    void initTestCase()
    {
        QVERIFY(m_settings.isValid());
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
    }
    void init()
    {
        QSettings(QSettings::IniFormat, QSettings::UserScope, u"Gridloom"_s, u"Gridloom"_s).clear();
        m_base = std::make_unique<QTemporaryDir>();
        QVERIFY(makeJobFolders(m_base->path(), m_program, m_inputs, m_work));
        const std::tuple<const char*, double, const char*, int> inputs[] = {
            {"A.M3D", 12, "2002100100", 97},   {"B.M3D", 36, "2002100100", 97},
            {"FINE.M3D", 4, "2001070100", 72}, {"COARSE.M3D", 12, "2001070100", 72},
            {"MID.M3D", 12, "2001070100", 72}, {"LOW.M3D", 36, "2001070100", 72}};
        for (const auto& [name, km, stamp, hours] : inputs)
            fixtures::writeFixture(QFile::encodeName(m_inputs).toStdString() + name,
                                   {.gridSpacingKm = km, .startStamp = stamp, .hourCount = hours});
        m_fakes = {};
        newWindow();
    }
    void cleanup()
    {
        m_window.reset();
        m_base.reset();
    }

    void openedGoldenJobRunsToTheSameBytes_data()
    {
        columns<QString, QString, bool>("golden", "name", "kilometres");
        addRow("extraction", "extract_example.inp", "wxjoin2.inp", false);
        addRow("merge", "merge_example.inp", "west.inp", false);
        addRow("merge in kilometres", "merge_example.inp", "west.inp", true);
    }
    void openedGoldenJobRunsToTheSameBytes()
    {
        auto [golden, name, kilometres] = fetchRow<QString, QString, bool>();
        // Whatever the window held before goes: another mode, another file, a typed name.
        operate(*m_window, {u"MergingOptionButton1"_s, u"OutFileBaseNameBox=other"_s});
        m_fakes.files.answers = {{m_inputs + u"LOW.M3D"_s}};
        operate(*m_window, {u"AddFileButton"_s});
        const QString path = placeGolden(golden, name);
        if (kilometres)
            QVERIFY(writeFile(
                path, fileBytes(path)
                          .replace("2                    ! Method", "1                    ! Method")
                          .replace("-106.5,-104", "-100,120")
                          .replace("38.25,40", "-50,60")));
        const QByteArray before = fileBytes(path);
        m_fakes.files.answers = {{path}};
        QTest::keyClick(m_window.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(m_fakes.messages.shown, QStringList());
        QCOMPARE(m_window->jobSettings().workingDirectory, m_work.toStdString());
        QCOMPARE(m_window->findChild<QAction*>(u"OpenControlFile"_s)->text(),
                 u"Open control file\u2026"_s);
        QFile::remove(path);
        operate(*m_window, {u"RunButton"_s});
        QCOMPARE(m_fakes.messages.shown, QStringList());
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(m_fakes.starter.started.size(), std::size_t(1));
    }

    void refusedFilesLeaveTheWindowAsItWas_data()
    {
        columns<QByteArray, QString>("text", "message");
        const QByteArray merge = goldenFile(u"merge_example.inp"_s);
        const auto mergeWith = [&merge](const char* from, const char* to) {
            return QByteArray(merge).replace(from, to);
        };
        addRow("missing input", mergeWith("COARSE.M3D", "GONE.M3D"),
               "Line 11: expected an existing input file; {in}GONE.M3D was not found.");
        addRow("header refused", mergeWith("C:\\D\\COARSE.M3D", "{work}bad.inp"),
               "Line 11: {work}bad.inp: Unable to read the MM5 file header, please check the "
               "format");
        addRow("listed twice", mergeWith("COARSE.M3D", "FINE.M3D"),
               "Line 11: {in}FINE.M3D is listed twice");
        addRow("four merged",
               mergeWith("2                    ! Number", "4                    ! Number")
                   .replace("COARSE.M3D       !Input File 2\r\n",
                            "COARSE.M3D       !Input File 2\r\nC:\\D\\MID.M3D       "
                            "!Input File 3\r\nC:\\D\\LOW.M3D       !Input File 4\r\n"),
               "Line 13: {in}LOW.M3D: A maximum of 3 files can be merged in space");
        addRow("box refused",
               mergeWith("2                    ! Method", "1                    ! Method")
                   .replace("-106.5,-104", "10,5"),
               "Line 7: Starting values for X and Y must be smaller than ending values");
        addRow("title too long", mergeWith("west\r\n", QByteArray(133, 't').append("\r\n")),
               "Line 1: expected a title of at most 132 characters.");
        addRow("date beyond the pickers",
               mergeWith("2001070100       ! Beginning", "1700070100       ! Beginning"),
               "Line 4: expected a date from");
        for (const BrokenControlFile& broken : brokenControlFiles())
            QTest::newRow(broken.name.constData())
                << broken.text << u"Line %1: "_s.arg(broken.line);
    }
    void refusedFilesLeaveTheWindowAsItWas()
    {
        auto [text, message] = fetchRow<QByteArray, QString>();
        // A job of the user's own, with a confirmed domain and a hidden dialog holding it.
        m_fakes.files.answers = {{m_inputs + u"A.M3D"_s}};
        operate(*m_window, {u"MergingOptionButton1"_s, u"AddFileButton"_s, u"TitleBox=mine"_s,
                            u"WorkingDirBox=/elsewhere/"_s, u"DaysPerFileCountBox=2"_s,
                            u"OutFileBaseNameBox=kept"_s, u"Command1"_s});
        operate(*m_window->findChild<QDialog*>(u"frmCoordBox"_s),
                {u"TextIndexiEnd=5"_s, u"TextIndexjEnd=5"_s, u"TextIndexkEnd=5"_s, u"OkButton"_s});
        QVERIFY(m_window->domain().domainValid);
        const QString before = windowState(*m_window);
        fixtures::writeText(QFile::encodeName(m_work + u"bad.inp"_s).toStdString(), "no header");
        const QString job = m_work + u"job.inp"_s;
        QVERIFY(writeFile(job, text.replace("C:\\D\\", QFile::encodeName(m_inputs))
                                   .replace("{work}", QFile::encodeName(m_work))));

        QVERIFY(!m_window->openControlFile(job));
        QCOMPARE(m_fakes.messages.shown.size(), 1);
        const QString shown = m_fakes.messages.shown.front();
        QVERIFY2(shown.startsWith(u"job: Unable to open the control file "_s + job),
                 qPrintable(shown));
        QVERIFY2(shown.contains(
                     QString(message).replace(u"{in}"_s, m_inputs).replace(u"{work}"_s, m_work)),
                 qPrintable(shown));
        QCOMPARE(windowState(*m_window), before);
        QVERIFY(before.contains(u"|kept|"_s) && before.contains(u"|5|"_s));
        QCOMPARE(m_window->recentControlFiles(), QStringList());
    }

    void writeJobFilesLeavesBothFilesAndStartsNothing()
    {
        const QString control = placeGolden(u"merge_example.inp"_s, u"west.inp"_s);
        const QByteArray bytes = fileBytes(control);
        QVERIFY(m_window->openControlFile(control));
        QFile::remove(control);
        QTest::keyClick(m_window.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(m_fakes.messages.shown, QStringList());
        QCOMPARE(m_fakes.starter.started.size(), std::size_t(0));
        const QString script = onWindows ? u"run_gridfuse.bat"_s : u"run_gridfuse.sh"_s;
        QCOMPARE(QDir(m_work).entryList(QDir::Files), (QStringList{script, u"west.inp"_s}));
        QCOMPARE(fileBytes(control), bytes);
        QCOMPARE(m_window->statusBar()->currentMessage(),
                 u"Wrote %1 and %2"_s.arg(control, m_work + script));
        // The job check comes first, with Run's message and nothing written.
        QFile::remove(control);
        operate(*m_window, {u"WorkingDirBox="_s});
        QTest::keyClick(m_window.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(m_fakes.messages.shown, QStringList{u"job: You must enter a working directory"_s});
        QVERIFY(!QFile::exists(control));
    }

    void recentListOutlivesTheProgram()
    {
        const QString extract = placeGolden(u"extract_example.inp"_s, u"wxjoin2.inp"_s);
        const QString merge = placeGolden(u"merge_example.inp"_s, u"west.inp"_s);
        m_fakes.files.answers = {{merge}, {extract}};
        QTest::keyClick(m_window.get(), Qt::Key_O, Qt::ControlModifier);
        QTest::keyClick(m_window.get(), Qt::Key_O, Qt::ControlModifier);
        // The file dialog starts in the working folder of the job on the screen.
        QCOMPARE(m_fakes.files.initialFolders, (QStringList{QString(), m_work}));
        operate(*m_window, {u"RunButton"_s});
        QCOMPARE(m_fakes.messages.shown, QStringList());
        newWindow();
        QCOMPARE(recentMenu(), (QStringList{extract, merge}));
        // A file gone since is dropped when the menu opens; an entry opens its file.
        QFile::remove(extract);
        QCOMPARE(recentMenu(), QStringList{merge});
        m_window->findChild<QMenu*>(u"RecentControlFiles"_s)->actions().front()->trigger();
        QCOMPARE(m_window->jobSettings().title, std::string("west"));
        QCOMPARE(m_window->recentControlFiles(), QStringList{merge});
    }

    void commandLineTakesOnePath()
    {
        // The path is a relative one, opened from the folder the program starts in.
        placeGolden(u"extract_example.inp"_s, u"wxjoin2.inp"_s);
        const QString start = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_work));
        const bool opened = m_window->openControlFile(u"wxjoin2.inp"_s);
        QDir::setCurrent(start);
        QVERIFY(opened);
        QCOMPARE(m_window->jobSettings().workingDirectory, m_work.toStdString());

        QProcess program;
        program.start(QStringLiteral(GRIDLOOM_PROGRAM), {u"a.inp"_s, u"b.inp"_s});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), 1);
        QVERIFY(program.readAllStandardError().contains("[PATH]"));
    }
};

QTEST_MAIN(ReopenTest)
#include "reopen_test.moc"
