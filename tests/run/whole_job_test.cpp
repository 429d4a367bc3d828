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
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace gridloom;
using namespace gridloom::testing;

using WindowEdit = std::function<void(QWidget&)>;
Q_DECLARE_METATYPE(WindowEdit)

namespace {

template <typename T = QWidget> T* find(QWidget& parent, const char* name)
{
    auto* widget = parent.findChild<T*>(QLatin1String(name));
    if (!widget)
        qFatal("no control named %s", name);
    return widget;
}

/// Replaces a field's text the way a user does: select everything, then type.
void retype(QWidget& parent, const char* name, const QString& text)
{
    auto* box = find<QLineEdit>(parent, name);
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    for (const QChar c : text) {
        // The key simulation spells out only ASCII; other letters arrive as typed text.
        if (c.unicode() < 0x80)
            QTest::keyClick(box, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    QCOMPARE(box->text(), text);
}

void click(QWidget& parent, const char* name)
{
    QTest::mouseClick(find(parent, name), Qt::LeftButton);
}

QByteArray filled(QByteArray text, const QByteArray& placeholder, const QString& value)
{
    return text.replace(placeholder, QFile::encodeName(value));
}

/// A folder name that the shell would split, expand or run if it ever saw it unquoted.
const QString hostileName = QStringLiteral("it's \"our\" $HOME; `touch x` Zürich Øre");
/// The same name as it stands inside single quotes in the script.
const QByteArray hostileQuoted = "it'\\''s \"our\" $HOME; `touch x` Z\xc3\xbcrich \xc3\x98re";

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
                               hostileQuoted +
                               "/' &&\n"
                               "cp -- '{BASE}/" +
                               hostileQuoted +
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
    void missingProcessorThroughTheWindow();

private:
    /// Writes a generated 3D.DAT file into the input folder and adds it with Add File.
    void addInput(const QString& name, double gridSpacingKm);
    /// Opens the coordinate dialog from the window and confirms the given field texts.
    void enterDomain(const QList<std::pair<const char*, QString>>& fields);
    /// A runnable extraction of the named files, in the plain working folder.
    void prepareExtraction(const QStringList& inputs = {QStringLiteral("a.m3d")});
    QStringList workFiles() const;

    std::unique_ptr<QTemporaryDir> m_base;
    QString m_program;
    QString m_inputs;
    QString m_work;
    FakeServices m_fakes;
    std::unique_ptr<ShellRunningStarter> m_starter;
    std::unique_ptr<MainWindow> m_window;
};

void WholeJobTest::init()
{
    m_base = std::make_unique<QTemporaryDir>();
    QVERIFY(m_base->isValid());
    m_program = m_base->filePath(QStringLiteral("program"));
    m_inputs = m_base->filePath(QStringLiteral("in/"));
    m_work = m_base->filePath(QStringLiteral("work/"));
    for (const QString& folder : {m_program, m_inputs, m_work})
        QVERIFY(QDir().mkpath(folder));
    QVERIFY(placeStandIn(m_program, QStringLiteral("wxjoin2")));
    QVERIFY(placeStandIn(m_program, QStringLiteral("gridfuse")));

    m_fakes.messages.clear();
    m_fakes.programFolder = m_program;
    m_starter = std::make_unique<ShellRunningStarter>(m_base->path());
    m_window = std::make_unique<MainWindow>(
        Services{m_fakes.messages, m_fakes.files, *m_starter, m_fakes.volumes, m_program});
    m_window->show();
}

void WholeJobTest::cleanup()
{
    m_window.reset();
    m_starter.reset();
    m_base.reset();
}

void WholeJobTest::addInput(const QString& name, double gridSpacingKm)
{
    fixtures::SampleHeader sample;
    sample.gridSpacingKm = gridSpacingKm;
    sample.lineEnd = "\r\n";
    const QString path = m_inputs + name;
    fixtures::writeFixture(QFile::encodeName(path).toStdString(), sample);
    m_fakes.files.answers = {{path}};
    click(*m_window, "AddFileButton");
    QCOMPARE(m_fakes.messages.texts(), QStringList());
}

void WholeJobTest::enterDomain(const QList<std::pair<const char*, QString>>& fields)
{
    click(*m_window, "Command1");
    CoordinateDialog* dialog = m_window->coordinateDialogs().dialog();
    QVERIFY(dialog && dialog->isVisible());
    for (const auto& [name, text] : fields)
        retype(*dialog, name, text);
    click(*dialog, "OkButton");
    QCOMPARE(m_fakes.messages.texts(), QStringList());
    QVERIFY(m_window->domain().domainValid);
}

void WholeJobTest::prepareExtraction(const QStringList& inputs)
{
    click(*m_window, "MergingOptionButton1");
    // Each file added widens the period, so the period is typed after the last one.
    for (const QString& input : inputs)
        addInput(input, 12);
    enterDomain({{"TextIndexiStart", QStringLiteral("2")},
                 {"TextIndexiEnd", QStringLiteral("40")},
                 {"TextIndexjStart", QStringLiteral("3")},
                 {"TextIndexjEnd", QStringLiteral("45")},
                 {"TextIndexkStart", QStringLiteral("1")},
                 {"TextIndexkEnd", QStringLiteral("20")}});
    find<QDateTimeEdit>(*m_window, "StartDate")->setDate(QDate(2002, 9, 30));
    find<QDateTimeEdit>(*m_window, "EndDate")->setDate(QDate(2002, 10, 2));
    retype(*m_window, "StartHour", QStringLiteral("12"));
    retype(*m_window, "EndHour", QStringLiteral("6"));
    retype(*m_window, "TitleBox", QStringLiteral("Valley run"));
    retype(*m_window, "WorkingDirBox", m_work);
    retype(*m_window, "OutFileBaseNameBox", QStringLiteral("valley"));
    retype(*m_window, "DaysPerFileCountBox", QStringLiteral("2"));
}

QStringList WholeJobTest::workFiles() const
{
    return QDir(m_work).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

void WholeJobTest::extractionEndToEnd()
{
    prepareExtraction({QStringLiteral("a.m3d"), QStringLiteral("b.m3d")});
    click(*m_window, "RunButton");

    QCOMPARE(m_fakes.messages.texts(), QStringList());
    QCOMPARE(workFiles(),
             (QStringList{QStringLiteral("run_wxjoin2.sh"), QStringLiteral("stand_in_record.txt"),
                          QStringLiteral("wxjoin2.inp")}));
    const QByteArray control = filled(extractionControl, "{IN}", m_inputs);
    QCOMPARE(fileBytes(m_work + QStringLiteral("wxjoin2.inp")), control);
    QCOMPARE(fileBytes(m_work + QStringLiteral("run_wxjoin2.sh")),
             filled(filled(extractionScript, "{WORK}", m_work), "{PROGRAM}", m_program));
    QCOMPARE(fileBytes(m_work + QStringLiteral("stand_in_record.txt")),
             standInRecord(QStringLiteral("wxjoin2"), QStringLiteral("wxjoin2.inp"),
                           QDir::cleanPath(m_work), QStringLiteral("wxjoin2.inp"), control));
    // An extraction's base name is completed in the control file, never in the field.
    QCOMPARE(find<QLineEdit>(*m_window, "OutFileBaseNameBox")->text(), QStringLiteral("valley"));
}

void WholeJobTest::mergeInHostileFolderEndToEnd()
{
    const QString work = m_base->filePath(hostileName) + QLatin1Char('/');
    QVERIFY(QDir().mkpath(work));

    addInput(QStringLiteral("fine.m3d"), 4);
    addInput(QStringLiteral("coarse.m3d"), 12);
    click(*m_window, "XYOption");
    enterDomain({{"TextXStart", QStringLiteral("-1200")},
                 {"TextXEnd", QStringLiteral("1500")},
                 {"TextYStart", QStringLiteral("-300")},
                 {"TextYEnd", QStringLiteral("0")}});
    find<QDateTimeEdit>(*m_window, "StartDate")->setDate(QDate(2002, 9, 30));
    find<QDateTimeEdit>(*m_window, "EndDate")->setDate(QDate(2002, 10, 3));
    retype(*m_window, "StartHour", QStringLiteral("12"));
    retype(*m_window, "EndHour", QStringLiteral("0"));
    retype(*m_window, "TitleBox", QStringLiteral("   "));
    retype(*m_window, "WorkingDirBox", work);
    retype(*m_window, "OutFileBaseNameBox", QStringLiteral("west"));
    click(*m_window, "RunButton");

    QCOMPARE(m_fakes.messages.texts(), QStringList());
    QCOMPARE(find<QLineEdit>(*m_window, "OutFileBaseNameBox")->text(), QStringLiteral("west.m3d"));
    QCOMPARE(QDir(work).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{QStringLiteral("gridfuse.inp"), QStringLiteral("run_gridfuse.sh"),
                          QStringLiteral("stand_in_record.txt"), QStringLiteral("west.inp")}));
    const QByteArray control = filled(mergeControl, "{IN}", m_inputs);
    QCOMPARE(fileBytes(work + QStringLiteral("west.inp")), control);
    QCOMPARE(fileBytes(work + QStringLiteral("gridfuse.inp")), control);
    QCOMPARE(fileBytes(work + QStringLiteral("run_gridfuse.sh")),
             filled(filled(mergeScript, "{BASE}", m_base->path()), "{PROGRAM}", m_program));
    QCOMPARE(fileBytes(work + QStringLiteral("stand_in_record.txt")),
             standInRecord(QStringLiteral("gridfuse"), QString(), QDir::cleanPath(work),
                           QStringLiteral("gridfuse.inp"), control));
    // The backquoted command in the folder name never ran, wherever it would have.
    QVERIFY(!QFile::exists(m_base->filePath(QStringLiteral("x"))));
    QVERIFY(!QFile::exists(work + QStringLiteral("x")));
}

void WholeJobTest::refusalsThroughTheWindow_data()
{
    QTest::addColumn<bool>("enterDomain");
    QTest::addColumn<WindowEdit>("edit");
    QTest::addColumn<QString>("message");

    const bool domain = true;
    auto row = [](const char* name, bool withDomain, WindowEdit edit, const char* message) {
        QTest::newRow(name) << withDomain << edit << QString::fromUtf8(message);
    };
    row(
        "working directory empty", domain, [](QWidget& w) { retype(w, "WorkingDirBox", {}); },
        "You must enter a working directory");
    row(
        "working directory blank", domain,
        [](QWidget& w) { retype(w, "WorkingDirBox", QStringLiteral("  ")); },
        "You must enter a working directory");
    row(
        "working directory gone", domain,
        [](QWidget& w) { retype(w, "WorkingDirBox", QStringLiteral("/gridloom/nowhere/")); },
        "Unable to find working directory /gridloom/nowhere/. Please make sure it exists");
    row(
        "start hour 24", domain, [](QWidget& w) { retype(w, "StartHour", QStringLiteral("24")); },
        "Start and end hours must be between 0 and 23");
    row(
        "end hour empty", domain, [](QWidget& w) { retype(w, "EndHour", {}); },
        "The end hour must be a whole number between 0 and 23");
    row(
        "end equals start", domain,
        [](QWidget& w) {
            find<QDateTimeEdit>(w, "EndDate")->setDate(QDate(2002, 9, 30));
            retype(w, "EndHour", QStringLiteral("12"));
        },
        "End date must be later than begin date");
    row(
        "input list cleared", domain, [](QWidget& w) { click(w, "ClearAllFileButton"); },
        "Enter at least one MM5 file");
    row(
        "domain never confirmed", !domain, [](QWidget&) {},
        "MM5 domain not specified or not valid");
    row(
        "output name empty", domain, [](QWidget& w) { retype(w, "OutFileBaseNameBox", {}); },
        "You must enter a output file basename first ");
    row(
        "zero days", domain,
        [](QWidget& w) { retype(w, "DaysPerFileCountBox", QStringLiteral("0")); },
        "The number of days in output 3D files must be greater than 0 ");
    row(
        "empty days", domain, [](QWidget& w) { retype(w, "DaysPerFileCountBox", {}); },
        "The number of days in output 3D files must be a whole number");
}

void WholeJobTest::refusalsThroughTheWindow()
{
    QFETCH(bool, enterDomain);
    QFETCH(WindowEdit, edit);
    QFETCH(QString, message);

    if (enterDomain) {
        prepareExtraction();
    } else {
        // Everything but the domain.
        click(*m_window, "MergingOptionButton1");
        addInput(QStringLiteral("a.m3d"), 12);
        find<QDateTimeEdit>(*m_window, "StartDate")->setDate(QDate(2002, 9, 30));
        find<QDateTimeEdit>(*m_window, "EndDate")->setDate(QDate(2002, 10, 2));
        retype(*m_window, "WorkingDirBox", m_work);
        retype(*m_window, "OutFileBaseNameBox", QStringLiteral("valley"));
        retype(*m_window, "DaysPerFileCountBox", QStringLiteral("2"));
    }
    edit(*m_window);
    click(*m_window, "RunButton");

    QCOMPARE(m_fakes.messages.shown,
             (std::vector<ShownMessage>{{ShownMessage::Kind::Job, message}}));
    QCOMPARE(workFiles(), QStringList());
    QVERIFY(m_starter->scripts.isEmpty());
}

void WholeJobTest::missingProcessorThroughTheWindow()
{
    QVERIFY(QFile::remove(m_program + QStringLiteral("/wxjoin2")));
    prepareExtraction();
    click(*m_window, "RunButton");
    QCOMPARE(m_fakes.messages.shown,
             (std::vector<ShownMessage>{
                 {ShownMessage::Kind::Job,
                  QStringLiteral(
                      "Can not run Fortran executable, please make sure it is in the folder ") +
                      m_program}}));
    QCOMPARE(workFiles(), QStringList{QStringLiteral("wxjoin2.inp")});
    QVERIFY(m_starter->scripts.isEmpty());
}

QTEST_MAIN(WholeJobTest)
#include "whole_job_test.moc"
