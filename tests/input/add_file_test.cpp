// The input list through the real main window: Add File with generated 3D.DAT files (and
// things that are not), Clear All, the click and the arrow keys on the list, dropped files,
// and where the file dialog opens.
#include "app/main_window.h"
#include "fixtures/fake_services.h"
#include "fixtures/fixture_writer.h"
#include "input/dialog_file_chooser.h"
#include "support/data_rows.h"
#include "support/messages.h"
#include "support/qt_test_prelude.h"
#include "support/test_platform.h"

using namespace gridloom;
using namespace Qt::StringLiterals;
using namespace gridloom::testing;

namespace {

QString job(const char* key)
{
    return u"job: "_s + message(key);
}

// The real main window on recording stand-ins.
struct Window {
    FakeServices fakes;
    MainWindow main{fakes.services()};

    Window()
    {
        main.show();
        if (!QTest::qWaitForWindowActive(&main))
            qFatal("the main window is not active");
    }
    QWidget* find(const char* name) { return main.findChild<QWidget*>(QLatin1String(name)); }
    void click(const char* name) { QTest::mouseClick(find(name), Qt::LeftButton); }
    void press(const QStringList& chosen)
    {
        fakes.files.answers << chosen;
        click("AddFileButton");
    }
    QListWidget* list() { return main.findChild<QListWidget*>(u"FileListBox"_s); }
    // The six limits, then the period as the pickers and hour boxes show it.
    QString shown()
    {
        QStringList texts;
        for (int i = 0; i < 6; ++i)
            texts << main.findChild<QLabel*>(u"Domain%1"_s.arg(i))->text();
        for (const char* name : {"StartDate", "StartHour", "EndDate", "EndHour"}) {
            auto* picker = qobject_cast<QDateTimeEdit*>(find(name));
            texts << (picker ? picker->date().toString(Qt::ISODate)
                             : qobject_cast<QLineEdit*>(find(name))->text());
        }
        return texts.join(u' ');
    }
};

} // namespace

class AddFileTest final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_count = 0;

    // A readable file of "spacing [stamp [hours [ten extent fields]]]".
    QString file(const QString& description)
    {
        const QStringList parts = description.split(u' ');
        fixtures::SampleHeader sample{.gridSpacingKm = parts[0].toDouble(),
                                      .startStamp = parts.value(1, u"2002093012"_s).toStdString(),
                                      .hourCount = parts.value(2, u"109"_s).toInt()};
        for (int n = 3; n < parts.size(); ++n)
            sample.extent[std::size_t(n - 3)] = parts[n].toStdString();
        const QString path = m_dir.filePath(u"w%1.m3d"_s.arg(++m_count));
        fixtures::writeFixture(path.toStdString(), sample);
        return path;
    }
    // What the header reader must refuse: a text that is no header, or a named pipe nobody
    // writes to.
    QString unreadable(bool pipe = false)
    {
        const QString path = m_dir.filePath(u"w%1.dat"_s.arg(++m_count));
        if (pipe)
            return QFile::decodeName(
                makeWaitingPipe(QFile::encodeName(path).toStdString()).c_str());
        fixtures::writeText(path.toStdString(), "3D.DAT\nno header\n");
        return path;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid() && m_dir.path().size() < 100); }

    void addFileMessages_data()
    {
        // Presses of Add File, split at "|", each with the files the dialog answers, split at
        // ",": "spacing [stamp [hours]]" for a readable file, "unreadable", "pipe", "long" (133
        // characters), "exact" (132), "first" (the first file again), "FIRST" (its name in
        // capitals). "merge" and "extract" select that mode instead of pressing.
        columns<QString, QStringList, int, bool>("presses", "shown", "listed", "yellow");
        const QString unreadable = job("unreadableHeader");
        const QString tooMany = job("tooManyMergeFiles");
        const QString tooLong = u"path: "_s + message("pathTooLong");
        addRow("fourth file, read before it is counted", "4|12|36|unreadable|36",
               QStringList{unreadable, tooMany}, 3, false);
        addRow("a named pipe is refused at once", "pipe|12", QStringList{unreadable}, 1, false);
        addRow("same path twice, then in other letter case", "12|12|first|FIRST", QStringList{}, 3,
               false);
        addRow("133 characters turn it yellow, 132 white", "long|exact", QStringList{tooLong}, 1,
               false);
        addRow(
            "several at once, compared with the last accepted one",
            "4,unreadable,2,36 2002093013,12,first,36 2002093012 110,48",
            QStringList{unreadable, job("finerGrid"), job("differentStart"), job("differentEnd")},
            3, false);
        addRow("extract takes any files",
               "extract|36|4 2002100500 48|unreadable,1 2003010100 5|long",
               QStringList{unreadable, tooLong}, 3, true);
        addRow("extract files stay listed in Merge mode", "extract|36|4|12|1|merge|36",
               QStringList{tooMany}, 4, false);
    }
    void addFileMessages()
    {
        auto [presses, shown, listed, yellow] = fetchRow<QString, QStringList, int, bool>();
        if (onWindows && presses.contains(u"long"_s))
            QSKIP("Windows lists a long path by its short form, which is far shorter here: "
                  "windows_core_check tests the length rule on short forms");
        Window window;
        QString first;
        for (const QString& press : presses.split(u'|')) {
            if (press == u"merge"_s || press == u"extract"_s) {
                window.click(press == u"merge"_s ? "MergingOptionButton0" : "MergingOptionButton1");
                continue;
            }
            QStringList chosen;
            for (const QString& what : press.split(u',')) {
                if (what == u"unreadable"_s || what == u"pipe"_s) {
                    chosen << unreadable(what == u"pipe"_s);
                } else if (what == u"long"_s || what == u"exact"_s) {
                    const QString prefix = m_dir.filePath(u"%1_"_s.arg(++m_count));
                    chosen << prefix +
                                  QString((what.size() == 4 ? 133 : 132) - prefix.size(), u'x');
                    fixtures::writeFixture(chosen.last().toStdString(), {});
                } else if (what == u"first"_s || what == u"FIRST"_s) {
                    const QFileInfo info(first);
                    chosen << info.path() + u'/' +
                                  (what == u"FIRST"_s ? info.fileName().toUpper()
                                                      : info.fileName());
                    QFile::copy(first, chosen.last());
                } else {
                    chosen << file(what);
                    first = first.isEmpty() ? chosen.last() : first;
                }
            }
            window.press(chosen);
        }
        QCOMPARE(window.fakes.messages.shown, shown);
        QCOMPARE(window.list()->count(), listed);
        QCOMPARE(window.list()->palette().color(QPalette::Base),
                 yellow ? QColor(255, 255, 0) : QColor(255, 255, 255));
    }

    void mergePresetsTheWindowThenClickTabAndClearAll()
    {
        Window window;
        window.press({file(u"4 2002093012 109 1 1 6 5 1 3 -120.5 -95 25 50"_s)});
        // Later files overwrite the whole period, whatever the user set.
        qobject_cast<QDateTimeEdit*>(window.find("StartDate"))->setDate(QDate(2001, 1, 1));
        qobject_cast<QLineEdit*>(window.find("EndHour"))->setText(u"7"_s);
        window.press(
            {unreadable(), file(u"12 2002093012 109 1 1 7 8 2 2 -100.250 -90.0 30 45.5"_s)});
        const QString period = u" 2002-09-30 12 2002-10-05 0"_s;
        QCOMPARE(window.shown(), u"100.25W 30N 90W 45.5N 2 2"_s + period);
        // Tab into the list: the focus lands on an entry, but nobody chose it.
        window.find("OutFileBaseNameBox")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), window.list());
        QCOMPARE(window.shown(), u"100.25W 30N 90W 45.5N 2 2"_s + period);
        // The arrow keys choose, as a click does.
        QTest::keyClick(window.list(), Qt::Key_Down);
        QTest::keyClick(window.list(), Qt::Key_Up);
        QCOMPARE(window.shown(), u"120.5W 25N 95W 50N 1 3"_s + period);
        QTest::mouseClick(window.list()->viewport(), Qt::LeftButton, {},
                          window.list()->visualItemRect(window.list()->item(1)).center());
        QCOMPARE(window.shown(), u"100.25W 30N 90W 45.5N 2 2"_s + period);

        // In Extract mode a click shows the entry's grid indices.
        window.click("MergingOptionButton1");
        QTest::mouseClick(window.list()->viewport(), Qt::LeftButton, {},
                          window.list()->visualItemRect(window.list()->item(0)).center());
        QCOMPARE(window.shown(), u"1 1 6 5 1 3"_s + period);
        window.click("MergingOptionButton0");
        window.click("ClearAllFileButton");
        QCOMPARE(window.shown(), u"--- --- --- --- --- ---"_s + period);
        window.press({file(u"1 2003010112 5"_s)});
        QCOMPARE(window.list()->count(), 1);
        // In Extract mode a file that starts an hour before the start pickers moves them to it.
        window.click("MergingOptionButton1");
        window.press({file(u"1 2003010111 2"_s)});
        QVERIFY2(window.shown().endsWith(u" 2003-01-01 11 2003-01-01 16"_s),
                 qPrintable(window.shown()));
    }

    void droppedFilesAreAdded()
    {
        Window window;
        const QString a = file(u"12"_s);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(a), QUrl(u"https://example.org/x.m3d"_s),
                      QUrl::fromLocalFile(unreadable())});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.list()->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.list()->viewport(), &drop);
        // Listed as any added file is, in native separators.
        QCOMPARE(window.main.jobSettings().inputPaths,
                 std::vector<std::string>{QDir::toNativeSeparators(a).toStdString()});
        QCOMPARE(window.fakes.messages.shown, QStringList{job("unreadableHeader")});
    }

    void initialFolderOfTheDialog_data()
    {
        columns<QString, bool>("workingDir", "usesWorkingDir");
        QDir(m_dir.path()).mkpath(u"full"_s);
        fixtures::writeFixture(m_dir.filePath(u"full/a.m3d"_s).toStdString(), {});
        const QString full = m_dir.filePath(u"full"_s);
        addRow("blanks only", u"   "_s, false);
        addRow("folder with a file", full + u'/', true);
        addRow("pattern matching a file", full + u"/*.m3d"_s, true);
        addRow("a leading blank is kept", u' ' + full + u'/', false);
    }
    void initialFolderOfTheDialog()
    {
        auto [workingDir, usesWorkingDir] = fetchRow<QString, bool>();
        Window window;
        qobject_cast<QLineEdit*>(window.find("WorkingDirBox"))->setText(workingDir);
        window.press({});
        QCOMPARE(window.fakes.files.initialFolders,
                 QStringList{usesWorkingDir ? workingDir : window.fakes.programFolder});
    }

    void theRealDialogOpensInTheNamedFolderWithItsFilters()
    {
        // The working-directory text may name a file or a pattern; the dialog wants its folder.
        QString seen;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(qobject_cast<QFileDialog*>(QApplication::activeModalWidget()));
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            seen = dialog->directory().absolutePath() + u' ' + dialog->nameFilters().join(u'|') +
                   u' ' + QString::number(dialog->fileMode());
            dialog->reject();
        });
        DialogFileChooser chooser;
        QVERIFY(chooser.chooseInputFiles(nullptr, m_dir.filePath(u"*.m3d"_s)).isEmpty());
        QCOMPARE(seen, QDir(m_dir.path()).absolutePath() +
                           u" 3D.DAT(*.m3d)|3D.DAT (*.dat)|All (*) "_s +
                           QString::number(QFileDialog::ExistingFiles));
    }
};

QTEST_MAIN(AddFileTest)
#include "add_file_test.moc"
