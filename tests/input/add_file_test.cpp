// The input list through the real main window: Add File with generated 3D.DAT files (and
// things that are not), Clear All, the click and the arrow keys on the list, dropped files,
// and where the file dialog opens.
#include "app/main_window.h"
#include "fixtures/fixture_writer.h"
#include "input/dialog_file_chooser.h"
#include "input/input_list_rules.h"
#include "support/data_rows.h"
#include "support/fake_services.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <sys/stat.h>

using namespace gridloom;
using gridloom::testing::addRow;
using gridloom::testing::FakeServices;
using gridloom::testing::ShownMessage;

namespace {

QString qt(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

const QString programFolder = QStringLiteral("/opt/gridloom");

// The real main window on recording stand-ins, with the reads and clicks the tests need.
struct Window {
    FakeServices fakes;
    MainWindow main;

    Window() : main((fakes.programFolder = programFolder, fakes.services()))
    {
        main.show();
        if (!QTest::qWaitForWindowActive(&main))
            qFatal("the main window is not active");
    }
    template <typename T = QWidget> T* find(const char* name)
    {
        return main.findChild<T*>(QLatin1String(name));
    }
    void click(const char* name) { QTest::mouseClick(find(name), Qt::LeftButton); }
    void press(const QStringList& chosen)
    {
        fakes.files.answers.push_back(chosen);
        click("AddFileButton");
    }
    void clickRow(int row)
    {
        auto* list = find<QListWidget>("FileListBox");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    QString limits()
    {
        QStringList texts;
        for (int i = 0; i < 6; ++i)
            texts << main.findChild<QLabel*>(QStringLiteral("Domain%1").arg(i))->text();
        return texts.join(QLatin1Char(' '));
    }
    QString period()
    {
        const QString format = QStringLiteral("yyyy-MM-dd");
        return find<QDateTimeEdit>("StartDate")->date().toString(format) + QLatin1Char('/') +
               find<QLineEdit>("StartHour")->text() + QStringLiteral(" - ") +
               find<QDateTimeEdit>("EndDate")->date().toString(format) + QLatin1Char('/') +
               find<QLineEdit>("EndHour")->text();
    }
    int listed() { return int(main.jobSettings().inputPaths.size()); }
};

} // namespace

class AddFileTest final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_count = 0;

    // A readable file of "spacing [stamp [hours [ten extent fields]]]".
    QString file(const QString& description)
    {
        const QStringList parts = description.split(QLatin1Char(' '));
        fixtures::SampleHeader sample;
        sample.gridSpacingKm = parts[0].toDouble();
        sample.startStamp = parts.value(1, QStringLiteral("2002093012")).toStdString();
        sample.hourCount = parts.value(2, QStringLiteral("109")).toInt();
        for (int n = 3; n < parts.size(); ++n)
            sample.extent[std::size_t(n - 3)] = parts[n].toStdString();
        const QString path = m_dir.filePath(QStringLiteral("w%1.m3d").arg(++m_count));
        fixtures::writeFixture(path.toStdString(), sample);
        return path;
    }
    // Something the header reader must refuse: a text that is no header, or a named pipe
    // that nobody writes to.
    QString unreadable(bool pipe = false)
    {
        const QString path = m_dir.filePath(QStringLiteral("w%1.dat").arg(++m_count));
        if (pipe)
            ::mkfifo(QFile::encodeName(path).constData(), 0600);
        else
            fixtures::writeText(path.toStdString(), "3D.DAT\nno header\n");
        return path;
    }
    // A path of exactly `length` characters; a readable file lies there when `create`.
    QString pathOfLength(int length, bool create)
    {
        const QString prefix = m_dir.filePath(QStringLiteral("%1_").arg(++m_count));
        const QString path = prefix + QString(length - prefix.size(), QLatin1Char('x'));
        if (create)
            fixtures::writeFixture(path.toStdString(), {});
        return path;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid() && m_dir.path().size() < 100); }

    void addFileMessages_data()
    {
        // Presses of Add File, split at "|", each with the files the dialog answers, split at
        // ",": "spacing [stamp [hours]]" for a readable file, "unreadable", "pipe", "long" (133
        // characters), "exact" (132 characters), "first" (the first file again), "FIRST" (its
        // name in capitals). "merge" and "extract" select that mode instead of pressing.
        QTest::addColumn<QString>("presses");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("listed");
        QTest::addColumn<bool>("yellow");
        using L = QStringList;
        const QString unreadable = qt(unreadableHeaderMessage);
        const QString tooMany = qt(tooManyMergeFilesMessage);
        const QString tooLong = qt(pathTooLongMessage);
        addRow("fourth file, read before it is counted", "4|12|36|unreadable|36",
               L{unreadable, tooMany}, 3, false);
        addRow("a named pipe is refused at once", "pipe|12", L{unreadable}, 1, false);
        addRow("other end", "12|12 2002093012 110", L{qt(differentEndMessage)}, 1, false);
        addRow("same path twice, then in other letter case", "12|12|first|FIRST", L{}, 3, false);
        addRow("132 characters turn it white again", "long|exact", L{tooLong}, 1, false);
        addRow("several at once, compared with the last accepted one",
               "4,unreadable,2,36 2002093013,12,first,36,48",
               L{unreadable, qt(finerGridMessage), qt(differentStartMessage), tooMany}, 3, false);
        addRow("cancel", "", L{}, 0, false);
        addRow("extract takes any files",
               "extract|36|4 2002100500 48|unreadable,1 2003010100 5|first,long",
               L{unreadable, tooLong}, 3, true);
        addRow("extract files stay listed in Merge mode", "extract|36|4|12|1|merge|36", L{tooMany},
               4, false);
    }
    void addFileMessages()
    {
        QFETCH(QString, presses);
        QFETCH(QStringList, shown);
        QFETCH(int, listed);
        QFETCH(bool, yellow);
        Window window;
        QString first;
        for (const QString& press : presses.split(QLatin1Char('|'))) {
            if (press == QStringLiteral("merge") || press == QStringLiteral("extract")) {
                window.click(press == QStringLiteral("merge") ? "MergingOptionButton0"
                                                              : "MergingOptionButton1");
                continue;
            }
            QStringList chosen;
            for (const QString& what : press.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                if (what == QStringLiteral("unreadable") || what == QStringLiteral("pipe")) {
                    chosen << unreadable(what == QStringLiteral("pipe"));
                } else if (what == QStringLiteral("long") || what == QStringLiteral("exact")) {
                    const bool exact = what == QStringLiteral("exact");
                    chosen << pathOfLength(exact ? 132 : 133, exact);
                } else if (what == QStringLiteral("first")) {
                    chosen << first;
                } else if (what == QStringLiteral("FIRST")) {
                    chosen << QFileInfo(first).path() + QLatin1Char('/') +
                                  QFileInfo(first).fileName().toUpper();
                    QVERIFY(QFile::copy(first, chosen.last()));
                } else {
                    chosen << file(what);
                    first = first.isEmpty() ? chosen.last() : first;
                }
            }
            window.press(chosen);
        }
        QCOMPARE(window.fakes.messages.texts(), shown);
        for (const auto& message : window.fakes.messages.shown)
            QCOMPARE(message.kind, message.text == qt(pathTooLongMessage)
                                       ? ShownMessage::Kind::Path
                                       : ShownMessage::Kind::Job);
        QCOMPARE(window.listed(), listed);
        QCOMPARE(window.find<QListWidget>("FileListBox")->palette().color(QPalette::Base),
                 yellow ? QColor(255, 255, 0) : QColor(255, 255, 255));
    }

    void mergeSetsPeriodLimitsNameAndLatLonThenClickAndClearAll()
    {
        Window window;
        window.press({file(QStringLiteral("4 2002093012 109 1 1 6 5 1 3 -120.5 -95 25 50"))});
        QCOMPARE(window.period(), QStringLiteral("2002-09-30/12 - 2002-10-05/0"));
        QCOMPARE(window.limits(), QStringLiteral("120.5W 25N 95W 50N 1 3"));
        QCOMPARE(window.main.coordinateType(), CoordinateType::LatLon);
        QCOMPARE(window.find<QLineEdit>("OutFileBaseNameBox")->text(),
                 QStringLiteral("merged_2002093012.m3d"));

        // Later files overwrite the whole period, whatever the user set.
        window.find<QDateTimeEdit>("StartDate")->setDate(QDate(2001, 1, 1));
        window.find<QLineEdit>("EndHour")->setText(QStringLiteral("7"));
        window.press({unreadable(),
                      file(QStringLiteral("12 2002093012 109 1 1 7 8 2 2 -100.250 -90.0 30 45.5")),
                      file(QStringLiteral("36 2002093012 109 5 5 9 9 1 9 1 2 3 4"))});
        QCOMPARE(window.period(), QStringLiteral("2002-09-30/12 - 2002-10-05/0"));
        QCOMPARE(window.limits(), QStringLiteral("1E 3N 2E 4N 1 9"));
        // A click shows that entry's limits, also after a refused file in between.
        window.clickRow(1);
        QCOMPARE(window.limits(), QStringLiteral("100.25W 30N 90W 45.5N 2 2"));

        window.click("ClearAllFileButton");
        QCOMPARE(window.listed(), 0);
        QCOMPARE(window.limits(), QStringLiteral("--- --- --- --- --- ---"));
        QCOMPARE(window.period(), QStringLiteral("2002-09-30/12 - 2002-10-05/0"));
        // The first file after clearing is compared with nothing.
        window.press({file(QStringLiteral("1 2003010100 5"))});
        QCOMPARE(window.listed(), 1);
        QCOMPARE(window.fakes.messages.texts(), QStringList{qt(unreadableHeaderMessage)});
    }

    void extractWidensThePeriodAndShowsIndices()
    {
        Window window;
        window.click("MergingOptionButton1");
        window.press({file(QStringLiteral("12 2002093012 109"))});
        window.press({file(QStringLiteral("36 2002100500 48 003 4.0 70 80 +2 20 0 0 0 0"))});
        QCOMPARE(window.limits(), QStringLiteral("003 4.0 70 80 +2 20"));
        window.press({file(QStringLiteral("4 2002092900 24"))});
        QCOMPARE(window.period(), QStringLiteral("2002-09-29/0 - 2002-10-06/23"));
        QCOMPARE(window.main.coordinateType(), CoordinateType::IJK);
        QVERIFY(window.find<QLineEdit>("OutFileBaseNameBox")->text().isEmpty());
        // A click shows the entry's limits rebuilt from the stored numbers.
        window.clickRow(1);
        QCOMPARE(window.limits(), QStringLiteral("3 4 70 80 2 20"));
    }

    void onlyAChoiceOfAnEntryShowsItsLimits()
    {
        Window window;
        window.press({file(QStringLiteral("4 2002093012 109 1 1 6 5 1 3 1 2 3 4")),
                      file(QStringLiteral("12 2002093012 109 1 1 7 8 2 2 5 6 7 8"))});
        const QString last = QStringLiteral("5E 7N 6E 8N 2 2");
        QCOMPARE(window.limits(), last);
        // Tab into the list: the focus lands on an entry, but nobody chose it.
        window.find("OutFileBaseNameBox")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), window.find("FileListBox"));
        QCOMPARE(window.limits(), last);
        // The arrow keys choose, as a click would.
        QTest::keyClick(window.find("FileListBox"), Qt::Key_Down);
        QTest::keyClick(window.find("FileListBox"), Qt::Key_Up);
        QCOMPARE(window.limits(), QStringLiteral("1E 3N 2E 4N 1 3"));
    }

    void droppedFilesAreAdded()
    {
        Window window;
        const QString a = file(QStringLiteral("12"));
        const QString b = file(QStringLiteral("36"));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(a), QUrl(QStringLiteral("https://example.org/x.m3d")),
                      QUrl::fromLocalFile(unreadable()), QUrl::fromLocalFile(b)});
        QWidget* viewport = window.find<QListWidget>("FileListBox")->viewport();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &drop);
        std::vector<std::string> expected{a.toStdString(), b.toStdString()};
        QCOMPARE(window.main.jobSettings().inputPaths, expected);
        QCOMPARE(window.fakes.messages.texts(), QStringList{qt(unreadableHeaderMessage)});
    }

    void initialFolderOfTheDialog_data()
    {
        QTest::addColumn<QString>("workingDir");
        QTest::addColumn<bool>("usesWorkingDir");
        QDir(m_dir.path()).mkpath(QStringLiteral("full"));
        fixtures::writeFixture(m_dir.filePath(QStringLiteral("full/a.m3d")).toStdString(), {});
        const QString full = m_dir.filePath(QStringLiteral("full"));
        addRow("blanks only", QStringLiteral("   "), false);
        addRow("folder with a file", full + QStringLiteral("/"), true);
        addRow("the folder without a separator", full, false);
        addRow("pattern matching a file", full + QStringLiteral("/*.m3d"), true);
        addRow("a leading blank is kept", QStringLiteral(" ") + full + QStringLiteral("/"), false);
    }
    void initialFolderOfTheDialog()
    {
        QFETCH(QString, workingDir);
        QFETCH(bool, usesWorkingDir);
        Window window;
        window.find<QLineEdit>("WorkingDirBox")->setText(workingDir);
        window.press({});
        QCOMPARE(window.fakes.files.initialFolders,
                 QStringList{usesWorkingDir ? workingDir : programFolder});
    }

    void theRealDialogOpensInTheNamedFolderWithItsFilters()
    {
        // The working-directory text may name a file or a pattern; the dialog wants its folder.
        QString folder;
        QStringList filters;
        QFileDialog::FileMode mode = QFileDialog::AnyFile;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(qobject_cast<QFileDialog*>(QApplication::activeModalWidget()));
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            folder = dialog->directory().absolutePath();
            filters = dialog->nameFilters();
            mode = dialog->fileMode();
            dialog->reject();
        });
        DialogFileChooser chooser;
        QVERIFY(
            chooser.chooseInputFiles(nullptr, m_dir.filePath(QStringLiteral("*.m3d"))).isEmpty());
        QCOMPARE(folder, QDir(m_dir.path()).absolutePath());
        QCOMPARE(filters,
                 (QStringList{QStringLiteral("3D.DAT(*.m3d)"), QStringLiteral("3D.DAT (*.dat)"),
                              QStringLiteral("All (*)")}));
        QCOMPARE(mode, QFileDialog::ExistingFiles);
    }
};

QTEST_MAIN(AddFileTest)
#include "add_file_test.moc"
