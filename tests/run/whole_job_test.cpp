// Whole jobs through the real main window: generated 3D.DAT files added with Add File, the
// domain entered in the coordinate dialog, the fields typed, Run pressed. The stand-in
// processor lies in a temporary program folder and the script really runs (with /bin/sh, no
// terminal), so every file the job writes and the processor's view of it are checked.
#include "app/main_window.h"
#include "domain/coordinate_dialog.h"
#include "expected_comment_blocks.h"
#include "fixtures/fixture_writer.h"
#include "run_test_support.h"
#include "support/fake_services.h"

#include <QDateTimeEdit>
#include <QDirIterator>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace gridloom;
using namespace gridloom::testing;
using namespace Qt::StringLiterals;

namespace {

/// Works the controls as a user does, one step each: "Name" clicks a button, "Name=text"
/// sets a date picker to an ISO date or clears a text field and types the text into it.
void operate(QWidget& parent, const QStringList& steps)
{
    for (const QString& step : steps) {
        auto* widget = parent.findChild<QWidget*>(step.section(QLatin1Char('='), 0, 0));
        QVERIFY2(widget, qPrintable(step));
        const QString text = step.section(QLatin1Char('='), 1);
        if (auto* date = qobject_cast<QDateTimeEdit*>(widget)) {
            date->setDate(QDate::fromString(text, Qt::ISODate));
        } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            box->setFocus();
            box->selectAll();
            QTest::keyClick(box, Qt::Key_Backspace);
            // The key simulation spells out only ASCII; other letters arrive as typed text.
            for (const QChar c : text) {
                if (c.unicode() < 0x80)
                    QTest::keyClick(box, c.toLatin1());
                else
                    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), {});
            }
            QCOMPARE(box->text(), text);
        } else {
            QTest::mouseClick(widget, Qt::LeftButton);
        }
    }
}

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

QByteArray filled(QByteArray text, const QByteArray& placeholder, const QString& value)
{
    return text.replace(placeholder, QFile::encodeName(value));
}

/// A folder name that the shell would split, expand or run if it ever saw it unquoted.
const QString hostileName = u"it's \"our\" $HOME; `touch x` $(touch y) Zürich Øre"_s;
/// The same name as it stands inside single quotes in the script.
const QByteArray hostileQuoted = "it'\\''s \"our\" $HOME; `touch x` $(touch y) Z\xc3\xbcrich "
                                 "\xc3\x98re";

const QByteArray extractionControl =
    "Valley run\r\n"
    "valley???.m3d       !Base name for output 3D.DAT file (??? is the must)\r\n"
    "2002093012       :beginning time (YYYYMMDDHH) for output 3D.DAT \r\n"
    "2        :Number of input 3D.DAT files (0 for auto-filename)\r\n"
    "{IN}a.m3d       !Input File 1\r\n"
    "{IN}b.m3d       !Input File 2\r\n"
    "2,40,3,45,1,20        :Extraction Range: i1,i2,j1,j2,k1,k2\r\n"
    "2        :Number of days in each merged file\r\n"
    "2002100206        :last date of all MM5 file\r\n" +
    extractionCommentBlock;

const QByteArray extractionScript = "#!/bin/sh\n"
                                    "cd -- '{WORK}' &&\n"
                                    "'{PROGRAM}/wxjoin2' wxjoin2.inp\n"
                                    "printf '%s' 'Press Enter to close this window '\n"
                                    "read -r answer\n";

const QByteArray mergeControl =
    "GRIDFUSE - No project title\r\n"
    "west.lst          ! Log file\r\n"
    "west.m3d       ! Output file\r\n"
    "2002093012       ! Beginning time\r\n"
    "2002100300       ! Ending time\r\n"
    "1                    ! Method of select domain (1: X/Y; 2: lon/lat)\r\n"
    "-1200,1500            ! Beg/End X(km) or longitudes\r\n"
    "-300,0            ! Beg/End Y(km) or latitudes\r\n"
    "2                    ! Number of source 3D.DAT files\r\n"
    "{IN}fine.m3d       !Input File 1\r\n"
    "{IN}coarse.m3d       !Input File 2\r\n" +
    mergeCommentBlock;

const QByteArray mergeScript = "#!/bin/sh\n"
                               "cd -- '{BASE}/" +
                               hostileQuoted + "/' &&\ncp -- '{BASE}/" + hostileQuoted +
                               "/west.inp' gridfuse.inp &&\n"
                               "'{PROGRAM}/gridfuse'\n"
                               "printf '%s' 'Press Enter to close this window '\n"
                               "read -r answer\n";

} // namespace

class WholeJobTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void extractionEndToEnd();
    void mergeInHostileFolderEndToEnd();
    void refusalsThroughTheWindow_data();
    void refusalsThroughTheWindow();

private:
    /// Writes a generated 3D.DAT file into the input folder and adds it with Add File.
    void addInput(const QString& name, double gridSpacingKm);
    /// Opens the coordinate dialog from the window and confirms the given steps.
    void enterDomain(const QStringList& steps);
    /// A runnable extraction of two inputs in the plain working folder.
    void prepareExtraction(bool withDomain);
    /// Presses Run; a script it started is run at once with /bin/sh, from the test folder,
    /// with an empty standard input so that its final wait for Enter returns.
    void run();
    QString outputName() const
    {
        return m_window->findChild<QLineEdit*>(u"OutFileBaseNameBox"_s)->text();
    }

    std::unique_ptr<QTemporaryDir> m_base;
    QString m_program;
    QString m_inputs;
    QString m_work;
    FakeServices m_fakes;
    std::unique_ptr<MainWindow> m_window;
};

void WholeJobTest::init()
{
    m_base = std::make_unique<QTemporaryDir>();
    QVERIFY(m_base->isValid());
    m_program = m_base->filePath(u"program"_s);
    m_inputs = m_base->filePath(u"in/"_s);
    m_work = m_base->filePath(u"work/"_s);
    for (const QString& folder : {m_program, m_inputs, m_work})
        QVERIFY(QDir().mkpath(folder));
    QVERIFY(placeStandIn(m_program, u"wxjoin2"_s) && placeStandIn(m_program, u"gridfuse"_s));
    m_fakes = {};
    m_window = std::make_unique<MainWindow>(
        Services{m_fakes.messages, m_fakes.files, m_fakes.starter, m_fakes.volumes, m_program});
    m_window->show();
}

void WholeJobTest::cleanup()
{
    m_window.reset();
    m_base.reset();
}

void WholeJobTest::addInput(const QString& name, double gridSpacingKm)
{
    fixtures::SampleHeader sample;
    sample.gridSpacingKm = gridSpacingKm;
    sample.lineEnd = "\r\n";
    fixtures::writeFixture(QFile::encodeName(m_inputs + name).toStdString(), sample);
    m_fakes.files.answers = {{m_inputs + name}};
    operate(*m_window, {u"AddFileButton"_s});
    QCOMPARE(m_fakes.messages.texts(), QStringList());
}

void WholeJobTest::enterDomain(const QStringList& steps)
{
    operate(*m_window, {u"Command1"_s});
    CoordinateDialog* dialog = m_window->coordinateDialogs().dialog();
    QVERIFY(dialog && dialog->isVisible());
    operate(*dialog, steps + QStringList{u"OkButton"_s});
    QCOMPARE(m_fakes.messages.texts(), QStringList());
    QVERIFY(m_window->domain().domainValid);
}

void WholeJobTest::prepareExtraction(bool withDomain)
{
    operate(*m_window, {u"MergingOptionButton1"_s});
    // Each file added widens the period, so the period is set after the last one.
    addInput(u"a.m3d"_s, 12);
    addInput(u"b.m3d"_s, 12);
    if (withDomain)
        enterDomain({u"TextIndexiStart=2"_s, u"TextIndexiEnd=40"_s, u"TextIndexjStart=3"_s,
                     u"TextIndexjEnd=45"_s, u"TextIndexkStart=1"_s, u"TextIndexkEnd=20"_s});
    operate(*m_window, {u"StartDate=2002-09-30"_s, u"EndDate=2002-10-02"_s, u"StartHour=12"_s,
                        u"EndHour=6"_s, u"TitleBox=Valley run"_s, u"WorkingDirBox="_s + m_work,
                        u"OutFileBaseNameBox=valley"_s, u"DaysPerFileCountBox=2"_s});
}

void WholeJobTest::run()
{
    operate(*m_window, {u"RunButton"_s});
    for (const auto& [script, folder] : m_fakes.starter.started) {
        QProcess shell;
        shell.setWorkingDirectory(m_base->path());
        shell.setStandardInputFile(QProcess::nullDevice());
        shell.start(u"/bin/sh"_s, {script});
        QVERIFY(shell.waitForFinished(15000));
        QCOMPARE(shell.readAllStandardError(), QByteArray());
    }
}

void WholeJobTest::extractionEndToEnd()
{
    // Older, longer files of the same names must be replaced, not left with a tail.
    for (const char* stale : {"wxjoin2.inp", "run_wxjoin2.sh"})
        fixtures::writeText(QFile::encodeName(m_work).toStdString() + stale,
                            std::string(20000, 'x'));
    prepareExtraction(true);
    run();

    QCOMPARE(m_fakes.messages.texts(), QStringList());
    QCOMPARE(filesUnder(m_work),
             (QStringList{u"run_wxjoin2.sh"_s, u"stand_in_record.txt"_s, u"wxjoin2.inp"_s}));
    const QByteArray control = filled(extractionControl, "{IN}", m_inputs);
    const QString script = m_work + u"run_wxjoin2.sh"_s;
    QCOMPARE(fileBytes(m_work + u"wxjoin2.inp"_s), control);
    QCOMPARE(fileBytes(script),
             filled(filled(extractionScript, "{WORK}", m_work), "{PROGRAM}", m_program));
    QVERIFY(QFileInfo(script).isExecutable());
    QCOMPARE(m_fakes.starter.started,
             (std::vector<std::pair<QString, QString>>{{script, QDir::cleanPath(m_work)}}));
    QCOMPARE(fileBytes(m_work + u"stand_in_record.txt"_s),
             standInRecord(u"wxjoin2"_s, u"wxjoin2.inp"_s, QDir::cleanPath(m_work),
                           u"wxjoin2.inp"_s, control));
    // An extraction's base name is completed in the control file, never in the field.
    QCOMPARE(outputName(), u"valley"_s);
}

void WholeJobTest::mergeInHostileFolderEndToEnd()
{
    const QString work = m_base->filePath(hostileName) + QLatin1Char('/');
    QVERIFY(QDir().mkpath(work));
    addInput(u"fine.m3d"_s, 4);
    addInput(u"coarse.m3d"_s, 12);
    operate(*m_window, {u"XYOption"_s});
    enterDomain({u"TextXStart=-1200"_s, u"TextXEnd=1500"_s, u"TextYStart=-300"_s, u"TextYEnd=0"_s});
    operate(*m_window,
            {u"StartDate=2002-09-30"_s, u"EndDate=2002-10-03"_s, u"StartHour=12"_s, u"EndHour=0"_s,
             u"TitleBox=   "_s, u"WorkingDirBox="_s + work, u"OutFileBaseNameBox=west"_s});
    run();

    QCOMPARE(m_fakes.messages.texts(), QStringList());
    QCOMPARE(outputName(), u"west.m3d"_s);
    const QByteArray control = filled(mergeControl, "{IN}", m_inputs);
    QCOMPARE(fileBytes(work + u"west.inp"_s), control);
    QCOMPARE(fileBytes(work + u"gridfuse.inp"_s), control);
    QCOMPARE(fileBytes(work + u"run_gridfuse.sh"_s),
             filled(filled(mergeScript, "{BASE}", m_base->path()), "{PROGRAM}", m_program));
    QCOMPARE(fileBytes(work + u"stand_in_record.txt"_s),
             standInRecord(u"gridfuse"_s, {}, QDir::cleanPath(work), u"gridfuse.inp"_s, control));
    // Nothing of the folder name ran: the only files anywhere are the ones the job makes.
    QStringList expected{u"in/coarse.m3d"_s, u"in/fine.m3d"_s, u"program/gridfuse"_s,
                         u"program/wxjoin2"_s};
    for (const QString& name :
         {u"gridfuse.inp"_s, u"run_gridfuse.sh"_s, u"stand_in_record.txt"_s, u"west.inp"_s})
        expected << hostileName + QLatin1Char('/') + name;
    expected.sort();
    QCOMPARE(filesUnder(m_base->path()), expected);
}

namespace {

/// Each check of the job in its order, as the window's steps that break it.
const std::vector<std::pair<const char*, QStringList>> checksInOrder{
    {"You must enter a working directory", {u"WorkingDirBox="_s}},
    {"Unable to find working directory /gridloom/nowhere/. Please make sure it exists",
     {u"WorkingDirBox=/gridloom/nowhere/"_s}},
    {"The start hour must be a whole number between 0 and 23", {u"StartHour="_s}},
    {"The end hour must be a whole number between 0 and 23", {u"EndHour="_s}},
    {"Start and end hours must be between 0 and 23", {u"StartHour=24"_s}},
    {"End date must be later than begin date", {u"EndDate=2002-09-30"_s, u"EndHour=12"_s}},
    {"Enter at least one MM5 file", {u"ClearAllFileButton"_s}},
    {"MM5 domain not specified or not valid", {}}, // the coordinate dialog never confirmed
    {"You must enter a output file basename first ", {u"OutFileBaseNameBox="_s}},
    {"The number of days in output 3D files must be greater than 0 ", {u"DaysPerFileCountBox=0"_s}},
};

} // namespace

void WholeJobTest::refusalsThroughTheWindow_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("withDomain");
    QTest::addColumn<QString>("executable"); // "runs", or what lies where it should
    QTest::addColumn<QString>("message");
    // A row breaks its own check and every later one: only the first may be reported. The
    // later ones are broken first, so that where two touch the same field the earlier holds.
    for (std::size_t row = 0; row < checksInOrder.size(); ++row) {
        QStringList steps;
        for (std::size_t later = checksInOrder.size(); later-- > row;)
            steps += checksInOrder[later].second;
        const bool withDomain =
            std::none_of(checksInOrder.begin() + long(row), checksInOrder.end(),
                         [](const auto& check) { return check.second.isEmpty(); });
        QTest::newRow(checksInOrder[row].first)
            << steps << withDomain << "runs" << QString::fromUtf8(checksInOrder[row].first);
    }
    const auto row = [](const char* name, const QStringList& steps, const char* executable,
                        const char* message) {
        QTest::newRow(name) << steps << true << executable << message;
    };
    row("days no number", {u"DaysPerFileCountBox="_s}, "runs",
        "The number of days in output 3D files must be a whole number");
    row("days beyond 16 bits", {u"DaysPerFileCountBox=40000"_s}, "runs",
        "The number of days in output 3D files must be at most 32767");
    const char* missing = "Can not run Fortran executable, please make sure it is in the folder ";
    row("executable missing", {}, "missing", missing);
    row("executable a file that may not run", {}, "a file", missing);
    row("executable a folder", {}, "a folder", missing);
}

void WholeJobTest::refusalsThroughTheWindow()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, withDomain);
    QFETCH(QString, executable);
    QFETCH(QString, message);
    const QString processor = m_program + u"/wxjoin2"_s;
    if (executable != u"runs"_s) {
        QVERIFY(QFile::remove(processor));
        message += m_program;
    }
    if (executable == u"a file"_s)
        fixtures::writeText(QFile::encodeName(processor).toStdString(), "#!/bin/sh\n");
    if (executable == u"a folder"_s)
        QVERIFY(QDir().mkdir(processor));
    prepareExtraction(withDomain);
    operate(*m_window, steps);
    run();

    QCOMPARE(m_fakes.messages.shown,
             (std::vector<ShownMessage>{{ShownMessage::Kind::Job, message}}));
    // A refused job writes nothing; a missing processor leaves the control file, no script.
    QCOMPARE(filesUnder(m_work),
             executable == u"runs"_s ? QStringList() : QStringList{u"wxjoin2.inp"_s});
    QVERIFY(m_fakes.starter.started.empty());
}

QTEST_MAIN(WholeJobTest)
#include "whole_job_test.moc"
