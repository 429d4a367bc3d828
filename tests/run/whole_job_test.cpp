// Whole jobs through the real main window: generated 3D.DAT files added with Add File, the
// domain entered in the coordinate dialog, the fields typed, Run pressed. The stand-in
// processor lies in a temporary program folder and the script really runs (with /bin/sh, no
// terminal), so the written files, the processor's view of them and every way a run can end
// are checked. Then the working-directory chooser that Browse opens.
#include "app/main_window.h"
#include "common/platform.h"
#include "domain/coordinate_dialog.h"
#include "domain/coordinate_dialog_host.h"
#include "fixtures/fake_services.h"
#include "fixtures/fixture_writer.h"
#include "run/directory_chooser.h"
#include "run_test_support.h"
#include "support/data_rows.h"
#include "support/messages.h"
#include "support/operate.h"
#include "support/qt_test_prelude.h"
#include "support/test_platform.h"

using namespace gridloom;
using namespace gridloom::testing;

namespace {

/// Every file below `folder`, hidden ones too, relative to it and sorted.
QStringList filesUnder(const QString& folder)
{
    QStringList files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();)
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

/// A folder name that the shell would split, expand or run if it ever saw it unquoted; for
/// cmd.exe, which has other specials and where file names cannot hold quotes, one of its own.
const QString hostileName = onWindows ? u"it's 100%PATH% (our) & ^x; y=z !n!"_s
                                      : u"it's \"our\" $HOME; `touch x` $(touch y) Zürich"_s;

/// The run script's name for the tool, in the platform's form.
QString scriptName(const char* tool)
{
    return u"run_"_s + QLatin1String(tool) + (onWindows ? u".bat"_s : u".sh"_s);
}

/// Windows' executables carry a suffix.
const QString exe = onWindows ? u".exe"_s : QString();

/// Each check of the job in its order, as the window's steps that break it.
const std::vector<std::pair<const char*, QStringList>> checksInOrder{
    {"noWorkingDirectory", {u"WorkingDirBox="_s}},
    {"workingDirectoryMissing", {u"WorkingDirBox=/gridloom/nowhere/"_s}},
    {"hoursOutOfRange", {u"StartHour=24"_s}},
    {"endNotAfterStart", {u"EndDate=2002-10-01"_s, u"EndHour=0"_s}},
    {"noInputFile", {u"ClearAllFileButton"_s}},
    {"noDomain", {}}, // the coordinate dialog never confirmed
    {"noOutputName", {u"OutFileBaseNameBox="_s}},
    {"noDaysPerFile", {u"DaysPerFileCountBox=0"_s}},
};

} // namespace

class WholeJobTest final : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_base;
    // The chooser's folders: "volume" stands for a second mounted disk, "/offline" for one
    // without a medium and "plain.txt" for a drive that is there but cannot be listed.
    // On Windows "/" is the test folder's drive and "/offline" a drive letter nobody uses.
    QTemporaryDir m_volumes;
    QString m_root = onWindows ? QDir::toNativeSeparators(m_volumes.path().left(3)) : u"/"_s;
    QString volumePath(const QString& p) const
    {
        if (p == u"/"_s)
            return m_root;
        if (p == u"/offline"_s && onWindows)
            return u"B:\\"_s;
        return QDir::toNativeSeparators(QDir(m_volumes.path()).filePath(p));
    }
    QString m_program, m_inputs, m_work;
    FakeServices m_fakes;
    std::unique_ptr<MainWindow> m_window;

    /// A golden file with the worked example's folders replaced by the test's: the inputs in
    /// their short forms, the folders of a batch script with every "%" doubled, those of a
    /// shell script single-quoted.
    QByteArray golden(const QString& name, const QString& work) const
    {
        QByteArray bytes = goldenFile(name);
        for (const char* input : {"A.M3D", "B.M3D", "FINE.M3D", "COARSE.M3D"}) {
            const QByteArray path = QFile::encodeName(m_inputs) + input;
            const QByteArray shortForm = QByteArray::fromStdString(shortPath(path.toStdString()));
            bytes.replace("C:\\DATA\\" + QByteArray(input), shortForm)
                .replace("C:\\D\\" + QByteArray(input), shortForm);
        }
        if (name.endsWith(u".bat"_s)) {
            const auto literal = [](const QString& path) {
                return QFile::encodeName(path).replace("%", "%%");
            };
            return bytes.replace("C:\\work\\", literal(work))
                .replace("C:\\tools", literal(m_program))
                .replace("C:\r\n", literal(work.left(2)) + "\r\n");
        }
        QByteArray quoted = QFile::encodeName(work);
        quoted.replace('\'', "'\\''");
        return bytes.replace("/work/", quoted).replace("/tools", QFile::encodeName(m_program));
    }
    /// Writes a generated 3D.DAT file of the period into the input folder and adds it.
    void addInput(const QString& name, double km, const std::string& stamp, int hours)
    {
        fixtures::writeFixture(
            QFile::encodeName(m_inputs + name).toStdString(),
            {.lineEnd = "\r\n", .gridSpacingKm = km, .startStamp = stamp, .hourCount = hours});
        m_fakes.files.answers = {{m_inputs + name}};
        operate(*m_window, {u"AddFileButton"_s});
        QCOMPARE(m_fakes.messages.shown, QStringList());
    }
    /// Opens the coordinate dialog from the window and confirms the given steps.
    void enterDomain(const QStringList& steps)
    {
        operate(*m_window, {u"Command1"_s});
        CoordinateDialog* dialog = m_window->coordinateDialogs().dialog();
        QVERIFY(dialog && dialog->isVisible());
        operate(*dialog, steps + QStringList{u"OkButton"_s});
        QCOMPARE(m_fakes.messages.shown, QStringList());
        QVERIFY(m_window->domain().domainValid);
    }
    /// The extraction of the worked example, ready to run.
    void prepareExtraction(bool withDomain)
    {
        operate(*m_window, {u"MergingOptionButton1"_s});
        // Both files hold 1 October 2002 0 h to 5 October 0 h, the period they preset.
        addInput(u"A.M3D"_s, 12, "2002100100", 97);
        addInput(u"B.M3D"_s, 36, "2002100100", 97);
        if (withDomain)
            enterDomain({u"TextIndexiStart=25"_s, u"TextIndexiEnd=32"_s, u"TextIndexjStart=27"_s,
                         u"TextIndexjEnd=33"_s, u"TextIndexkStart=1"_s, u"TextIndexkEnd=28"_s});
        operate(*m_window, {u"WorkingDirBox="_s + m_work, u"OutFileBaseNameBox=out"_s,
                            u"DaysPerFileCountBox=4"_s});
    }
    /// Presses Run; a script it started is run at once with /bin/sh from the test folder (with
    /// cmd.exe on Windows), with an empty standard input so that its final wait for a key
    /// returns.
    void run()
    {
        operate(*m_window, {u"RunButton"_s});
        for (const auto& [script, folder] : m_fakes.starter.started)
            QCOMPARE(runScript(script, m_base->path()), QByteArray());
    }
    QString outputName() const
    {
        return m_window->findChild<QLineEdit*>(u"OutFileBaseNameBox"_s)->text();
    }

private Q_SLOTS:
    void init()
    {
        m_base = std::make_unique<QTemporaryDir>();
        QVERIFY(m_base->isValid() && makeJobFolders(m_base->path(), m_program, m_inputs, m_work));
        m_fakes = {};
        m_window = std::make_unique<MainWindow>(
            Services{m_fakes.messages, m_fakes.files, m_fakes.starter, m_fakes.volumes, m_program});
        m_window->show();
    }

    void cleanup()
    {
        QDir::setCurrent(QDir::rootPath());
        m_window.reset();
        m_base.reset();
    }

    void extractionEndToEnd()
    {
        // Older, longer files of the same names must be replaced, not left with a tail.
        for (const QString& stale : {u"wxjoin2.inp"_s, scriptName("wxjoin2")})
            fixtures::writeText(QFile::encodeName(m_work + stale).toStdString(),
                                std::string(20000, 'x'));
        prepareExtraction(true);
        // The console does not start in this program's folder: a relative working directory goes
        // into the script in full.
        QVERIFY(QDir::setCurrent(m_base->path()));
        operate(*m_window, {u"WorkingDirBox="_s + QDir::toNativeSeparators(u"work/"_s)});
        run();

        QCOMPARE(m_fakes.messages.shown, QStringList());
        QCOMPARE(filesUnder(m_work),
                 (QStringList{scriptName("wxjoin2"), u"stand_in_record.txt"_s, u"wxjoin2.inp"_s}));
        const QByteArray control = golden(u"extract_example.inp"_s, m_work);
        const QString script = m_work + scriptName("wxjoin2");
        QCOMPARE(fileBytes(script),
                 golden(onWindows ? u"extract_example.bat"_s : u"extract_example.sh"_s, m_work));
        // Windows has no execute permission to set; the suffix makes a batch file runnable.
        QVERIFY(onWindows || QFileInfo(script).isExecutable());
        QCOMPARE(m_fakes.starter.started,
                 (std::vector<std::pair<QString, QString>>{{script, QDir::cleanPath(m_work)}}));
        QVERIFY(m_fakes.starter.busy);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(fileBytes(m_work + u"stand_in_record.txt"_s),
                 standInRecord(u"wxjoin2"_s, u"wxjoin2.inp"_s, QDir::cleanPath(m_work),
                               u"wxjoin2.inp"_s, control));
        // An extraction's base name is completed in the control file, never in the field.
        QCOMPARE(outputName(), u"out"_s);
    }

    void mergeInHostileFolderEndToEnd()
    {
        const QString work = QDir::toNativeSeparators(m_base->filePath(hostileName) + u'/');
        QVERIFY(QDir().mkpath(work));
        // Both hold 1 July 2001 0 h to 3 July 23 h; the first file turns to Lat/Lon.
        addInput(u"FINE.M3D"_s, 4, "2001070100", 72);
        addInput(u"COARSE.M3D"_s, 12, "2001070100", 72);
        enterDomain({u"txtLon1=106.5"_s, u"cboLonLL1=W"_s, u"txtLon2=104"_s, u"cboLonLL2=W"_s,
                     u"txtLat1=38.25"_s, u"txtLat2=40"_s});
        operate(*m_window,
                {u"TitleBox=west"_s, u"WorkingDirBox="_s + work, u"OutFileBaseNameBox=west"_s});
        run();

        QCOMPARE(m_fakes.messages.shown, QStringList());
        QCOMPARE(outputName(), u"west.m3d"_s);
        const QByteArray control = golden(u"merge_example.inp"_s, work);
        QCOMPARE(fileBytes(work + u"west.inp"_s), control);
        QCOMPARE(fileBytes(work + scriptName("gridfuse")),
                 golden(onWindows ? u"merge_example.bat"_s : u"merge_example.sh"_s, work));
        QCOMPARE(
            fileBytes(work + u"stand_in_record.txt"_s),
            standInRecord(u"gridfuse"_s, {}, QDir::cleanPath(work), u"gridfuse.inp"_s, control));
        // Nothing of the folder name ran: the only files anywhere are the ones the job makes.
        QStringList expected{u"in/COARSE.M3D"_s, u"in/FINE.M3D"_s,
                             u"program/"_s + u"gridfuse"_s + exe,
                             u"program/"_s + u"wxjoin2"_s + exe};
        for (const QString& name :
             {u"gridfuse.inp"_s, scriptName("gridfuse"), u"stand_in_record.txt"_s, u"west.inp"_s})
            expected << hostileName + u'/' + name;
        expected.sort();
        QCOMPARE(filesUnder(m_base->path()), expected);
    }

    void outputNameFieldShowsWhatIsWritten()
    {
        // A suggestion may be longer than the 132 characters a user can type, and so may the name
        // the job check completes; the field keeps either whole.
        addInput(u"FINE.M3D"_s, 4, "2001070100", 72);
        const QString typed = QString(131, u'n') + u"_"_s;
        operate(*m_window, {u"OutFileBaseNameBox="_s + typed, u"StartHour=1"_s});
        QCOMPARE(outputName(), QString(131, u'n') + u"_2001070101.m3d"_s);
        // Typed over a few of its characters it takes none; over more, what fits under 132.
        auto* field = m_window->findChild<QLineEdit*>(u"OutFileBaseNameBox"_s);
        field->setSelection(0, 5);
        QTest::keyClicks(field, u"xyz"_s);
        QCOMPARE(outputName().size(), 146);
        field->setSelection(0, 20);
        field->insert(u"0123456789"_s);
        QCOMPARE(outputName(), u"012345"_s + QString(111, u'n') + u"_2001070101.m3d"_s);

        const QString written = QString(130, u'n') + u".m3d"_s;
        operate(*m_window, {u"OutFileBaseNameBox="_s + written.left(130),
                            u"WorkingDirBox="_s + m_work, u"XYOption"_s});
        enterDomain({u"TextXStart=0"_s, u"TextXEnd=10"_s, u"TextYStart=0"_s, u"TextYEnd=10"_s});
        for (int press = 0; press < 2; ++press) {
            run();
            QCOMPARE(outputName(), written);
            QVERIFY(fileBytes(m_work + written.left(130) + u".inp"_s)
                        .contains("\r\n" + written.toLatin1() + "       ! Output file\r\n"));
        }
        // What the user types is still held to 132 characters.
        QTest::keyClick(m_window->findChild<QLineEdit*>(u"OutFileBaseNameBox"_s), Qt::Key_X);
        QCOMPARE(outputName(), written);
    }

    void everyOtherEndIsOneMessage_data()
    {
        // setup: what is in the way, if anything
        // written: files in the working folder afterwards
        columns<QStringList, bool, QString, QString, QStringList>("steps", "withDomain", "setup",
                                                                  "message", "written");
        // A row breaks its own check and every later one: only the first may be reported. The
        // later ones are broken first, so that where two touch the same field the earlier holds.
        for (std::size_t row = 0; row < checksInOrder.size(); ++row) {
            QStringList steps;
            for (std::size_t later = checksInOrder.size(); later-- > row;)
                steps += checksInOrder[later].second;
            const bool withDomain =
                std::none_of(checksInOrder.begin() + long(row), checksInOrder.end(),
                             [](const auto& check) { return check.second.isEmpty(); });
            addRow(checksInOrder[row].first, steps, withDomain, QString(),
                   message(checksInOrder[row].first, u"/gridloom/nowhere/"_s), QStringList());
        }
        const auto row = [](const char* name, const QStringList& steps, const char* setup,
                            const QString& expected, const QStringList& written) {
            addRow(name, steps, true, setup, expected, written);
        };
        const QString missing = message("noProcessor", u"{PROGRAM}"_s);
        const QStringList control{u"wxjoin2.inp"_s};
        row("executable missing", {}, "missing", missing, control);
        row("executable a file that may not run", {}, "a file", missing, control);
        row("executable a folder", {}, "a folder", missing, control);
        // Even root may not create files in /proc, which Wine shows as drive Z:'s.
        row("control file cannot be written", {u"WorkingDirBox={PROC}"_s}, "",
            u"The control file {PROC}wxjoin2.inp could not be written: "_s, {});
        row("script cannot be written", {}, "script blocked",
            u"The run script {WORK}{SCRIPT} could not be written: "_s, control);
        row("console cannot be started", {}, "no console", u"no console"_s,
            {scriptName("wxjoin2"), u"wxjoin2.inp"_s});
    }

    void everyOtherEndIsOneMessage()
    {
        auto [steps, withDomain, setup, message, written] =
            fetchRow<QStringList, bool, QString, QString, QStringList>();
        const QString processor = m_program + QDir::separator() + u"wxjoin2"_s + exe;
        // Windows has no execute permission: any file of the processor's name may run.
        if (onWindows && setup == u"a file"_s)
            QSKIP("Windows runs any file named wxjoin2.exe; there is no permission to lack");
        const QString proc = onWindows ? u"Z:\\proc\\"_s : u"/proc/"_s;
        message.replace(u"{PROC}"_s, proc).replace(u"{SCRIPT}"_s, scriptName("wxjoin2"));
        for (QString& step : steps)
            step.replace(u"{PROC}"_s, proc);
        if (message.contains(u"{PROGRAM}"_s)) {
            QVERIFY(QFile::remove(processor));
            message.replace(u"{PROGRAM}"_s, m_program);
        }
        if (setup == u"a file"_s)
            fixtures::writeText(QFile::encodeName(processor).toStdString(), "#!/bin/sh\n");
        if (setup == u"a folder"_s)
            QVERIFY(QDir().mkdir(processor));
        if (setup == u"script blocked"_s)
            QVERIFY(QDir().mkpath(m_work + scriptName("wxjoin2")));
        if (setup == u"no console"_s)
            m_fakes.starter.failure = message;
        message.replace(u"{WORK}"_s, m_work);
        prepareExtraction(withDomain);
        operate(*m_window, steps);
        operate(*m_window, {u"RunButton"_s});

        QCOMPARE(m_fakes.messages.shown.size(), 1);
        QVERIFY2(m_fakes.messages.shown[0].startsWith(u"job: "_s + message),
                 qPrintable(m_fakes.messages.shown[0]));
        QCOMPARE(filesUnder(m_work), written);
        QCOMPARE(m_fakes.starter.started.size(), std::size_t(setup == u"no console"_s));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    // The Change Directory dialog as Browse opens it, worked with keys and the mouse.
    void initTestCase()
    {
        for (const char* folder : {"volume/program", "volume/data", "run 1/sub b", "run 1/Sub a"})
            QVERIFY(QDir(m_volumes.path()).mkpath(QString::fromLatin1(folder)));
        QVERIFY(writeFile(volumePath(u"plain.txt"_s), {}));
    }

    void chooseAndClose_data()
    {
        // Paths are relative to the test folder; "/" is the root.
        // start: the working-directory text; "" for none
        // how: "enter", "double click", "click" (select only), "drive" picked with the arrow
        // keys, "same drive" chosen again, "cancel" after the root is picked
        // shown: the folder, the drive list's choice, any message
        columns<QString, QString, QString, QString, QString>("start", "how", "target", "shown",
                                                             "written");
        addRow("starts in the working directory", "run 1/", "", "", "run 1 | / |", "run 1/");
        for (const char* start : {"", "gone/", "plain.txt"})
            addRow(start, start, "", "", "volume/program | volume |", "volume/program/");
        addRow("starts at a drive's own root", "volume", "", "", "volume | volume |", "volume/");
        addRow("subfolder opened by Enter", "run 1/", "enter", "Sub a", "run 1/Sub a | / |",
               "run 1/Sub a/");
        addRow("subfolder only selected", "run 1/", "click", "sub b", "run 1 | / |", "run 1/");
        addRow("root gets one separator", "run 1/", "double click", "/", "/ | / |", "/");
        addRow("another drive", "run 1/", "drive", "volume", "volume | volume |", "volume/");
        addRow("drive not ready", "run 1/", "drive", "/offline",
               u"volume | volume | "_s + message("driveOffline", volumePath(u"/offline"_s)),
               "volume/");
        addRow("the drive shown chosen again", "run 1/Sub a", "same drive", "", "run 1/Sub a | / |",
               "run 1/Sub a/");
        addRow("drive that cannot be read", "volume/data", "drive", "plain.txt",
               u"volume/data | volume | "_s + message("driveFailure", u"Not a directory"_s),
               "volume/data/");
        addRow("cancel keeps the text", "typed by hand", "cancel", "/", "/ | / |", "typed by hand");
    }
    void chooseAndClose()
    {
        auto [start, how, target, shown, written] =
            fetchRow<QString, QString, QString, QString, QString>();
        FakeVolumes volumes;
        // Each drive a row picks is next to the one it starts on: no other is passed on the way.
        volumes.rootList = {volumePath(u"/offline"_s), m_root, volumePath(u"volume"_s),
                            volumePath(u"plain.txt"_s)};
        volumes.notReady = {volumePath(u"/offline"_s)};
        RecordingMessages messages;
        QLineEdit box(start.isEmpty() ? start : volumePath(start));
        QPointer<DirectoryChooser> chooser =
            openDirectoryChooser(nullptr, &box, volumePath(u"volume/program"_s), volumes, messages);
        // Reaching this line means Browse did not wait; the main window is blocked all the same.
        QCOMPARE(chooser->windowModality(), Qt::ApplicationModal);
        QCOMPARE(chooser->windowTitle(), u"Change Directory"_s);
        auto* drives = chooser->findChild<QComboBox*>(u"Drive1"_s);
        auto* folders = chooser->findChild<QTreeWidget*>(u"Dir1"_s);
        // The drive list stands left of the directory list, level with its top.
        QVERIFY(drives->y() == folders->y() && drives->geometry().right() < folders->x());
        if (how == u"same drive"_s) {
            Q_EMIT drives->activated(drives->currentIndex());
        } else if (how == u"drive"_s || how == u"cancel"_s) {
            // Count the steps first: the dialog may move the list itself after the last one.
            const int steps = drives->findText(volumePath(target)) - drives->currentIndex();
            for (int i = 0; i < qAbs(steps); ++i)
                QTest::keyClick(drives, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
        } else if (!how.isEmpty()) {
            const auto found = folders->findItems(target == u"/"_s ? m_root : target,
                                                  Qt::MatchExactly | Qt::MatchRecursive);
            const QPoint centre = folders->visualItemRect(found.value(0)).center();
            QTest::mouseClick(folders->viewport(), Qt::LeftButton, {}, centre);
            if (how == u"enter"_s)
                QTest::keyClick(folders, Qt::Key_Return);
            if (how == u"double click"_s)
                QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, centre);
        }
        const auto relative = [this](const QString& p) {
            return p == m_root
                       ? u"/"_s
                       : QDir(m_volumes.path()).relativeFilePath(QDir::fromNativeSeparators(p));
        };
        QCOMPARE(relative(chooser->findChild<QLabel*>(u"lblCurDir"_s)->text()) + u" | "_s +
                     relative(drives->currentText()) + u" |"_s +
                     messages.shown.join(u' ').remove(u"plain:"_s),
                 shown);
        QVERIFY(chooser->isVisible()); // Enter in the folder list enters a folder, it is no OK
        QTest::mouseClick(
            chooser->findChild<QPushButton*>(how == u"cancel"_s ? u"cmdCancel"_s : u"cmdOK"_s),
            Qt::LeftButton);
        QCOMPARE(box.text(), volumePath(written));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(chooser.isNull());
    }
};

QTEST_MAIN(WholeJobTest)
#include "whole_job_test.moc"
