// The main window's own behaviour: its state in each mode, the coordinate options, the output
// name that follows the start of the period, the fields' key filters and limits, the focus
// order and the ways out.
#include "app/main_window.h"
#include "app/output_name.h"
#include "fixtures/fixture_writer.h"
#include "support/data_rows.h"
#include "support/fake_services.h"

#include <QAction>
#include <QApplication>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace gridloom;
using gridloom::testing::addRow;
using gridloom::testing::FakeServices;

namespace {

template <typename T = QWidget> T* find(QWidget& window, const char* name)
{
    auto* widget = window.findChild<T*>(QLatin1String(name));
    if (!widget)
        qFatal("no control named %s", name);
    return widget;
}

QString text(QWidget& window, const char* name)
{
    if (auto* label = window.findChild<QLabel*>(QLatin1String(name)))
        return label->text();
    return find<QLineEdit>(window, name)->text();
}

// What the mode and the coordinate type show: visible controls (+), the captions that change,
// the selected type and the output name.
QString state(MainWindow& window)
{
    QStringList parts;
    for (const char* name :
         {"XYOption", "LatLonOption", "ijkOption", "Label17", "DaysPerFileCountBox"})
        if (find(window, name)->isVisible())
            parts << QLatin1String(name);
    if (find(window, "DaysPerFileCountBox")->isEnabled())
        parts << QStringLiteral("days enabled");
    for (const char* name : {"LabelX", "LabelY", "LabelZ", "Label5"})
        parts << text(window, name);
    const char* types[] = {"None", "XY", "LatLon", "IJK"};
    parts << QLatin1String(types[int(window.coordinateType())])
          << QLatin1Char('"') + text(window, "OutFileBaseNameBox") + QLatin1Char('"');
    return parts.join(QStringLiteral(", "));
}

QString limits(QWidget& window)
{
    QStringList texts;
    for (int i = 0; i < 6; ++i)
        texts << text(window, qPrintable(QStringLiteral("Domain%1").arg(i)));
    return texts.join(QLatin1Char(' '));
}

} // namespace

class MainWindowTest final : public QObject {
    Q_OBJECT

    FakeServices m_fakes;

private Q_SLOTS:
    void suggestion_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("expected"); // empty: the name stays as it is
        addRow("empty name", "", "0", "merged_2009031600.m3d");
        addRow("blank name", "   ", "0", "merged_2009031600.m3d");
        addRow("all after the first underscore replaced", "run_a_b.dat", "12",
               "run_2009031612.m3d");
        addRow("underscore first", "_x", "1", "_2009031601.m3d");
        addRow("no underscore stays", "domain3", "1", "");
        addRow("leading zero in the hour", "", "01", "merged_2009031601.m3d");
        addRow("empty hour", "a_b", "", "");
        addRow("slash in the hour", "a_b", "1/2", "");
        addRow("hour beyond 16 bits", "a_b", "40000", "");
    }
    void suggestion()
    {
        QFETCH(QString, current);
        QFETCH(QString, hour);
        QFETCH(QString, expected);
        using namespace std::chrono;
        const auto name =
            suggestOutputName(current.toStdString(), year{2009} / March / 16, hour.toStdString());
        QCOMPARE(QString::fromStdString(name.value_or("")), expected);
    }

    void modesReshapeTheWindow()
    {
        MainWindow window(m_fakes.services());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget(), find(window, "TitleBox"));
        const QString merge = QStringLiteral(
            "XYOption, LatLonOption, Lon:, Lat:, Z:, File name for output 3D.DAT file(s):, ");
        QCOMPARE(state(window), merge + QStringLiteral("None, \"\""));
        QCOMPARE(limits(window), QStringLiteral("--- --- --- --- --- ---"));
        for (const char* picker : {"StartDate", "EndDate"})
            QCOMPARE(find<QDateTimeEdit>(window, picker)->date(), QDate(2008, 9, 18));

        find<QLineEdit>(window, "OutFileBaseNameBox")->setText(QStringLiteral("kept_name"));
        QTest::mouseClick(find(window, "MergingOptionButton1"), Qt::LeftButton);
        QCOMPARE(state(window),
                 QStringLiteral("Label17, DaysPerFileCountBox, days enabled, Index i:, Index j:, "
                                "Index k:, Base name for output 3D.DAT file(s):, IJK, \"\""));
        // Back in Merge the hidden index option stays selected, and nothing is suggested until
        // the start changes.
        QTest::mouseClick(find(window, "MergingOptionButton0"), Qt::LeftButton);
        QCOMPARE(state(window), merge + QStringLiteral("IJK, \"\""));
        QTest::keyClick(find(window, "StartHour"), Qt::Key_5);
        QCOMPARE(text(window, "OutFileBaseNameBox"), QStringLiteral("merged_2008091805.m3d"));
        window.applyMode(2);
        QCOMPARE(window.mode(), ProcessingMode::Merge);
    }

    void coordinateOptionsRedrawTheLastFilesLimits()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("fine.m3d"));
        fixtures::writeFixture(path.toStdString(), {});
        MainWindow window(m_fakes.services());
        window.show();
        m_fakes.files.answers = {{path}};
        QTest::mouseClick(find(window, "AddFileButton"), Qt::LeftButton);
        const QString geographic = QStringLiteral("120.5W 25.25N 95W 50N 1 23");
        QCOMPARE(limits(window), geographic);
        QTest::mouseClick(find(window, "MergingOptionButton1"), Qt::LeftButton);
        QCOMPARE(limits(window), QStringLiteral("1 1 60 50 1 23"));
        // X/Y changes the captions but leaves the values drawn; Lat/Lon redraws them.
        QTest::mouseClick(find(window, "MergingOptionButton0"), Qt::LeftButton);
        find<QRadioButton>(window, "XYOption")->setChecked(true);
        QCOMPARE(text(window, "LabelX") + QLatin1Char(' ') + limits(window),
                 QStringLiteral("Lon: 1 1 60 50 1 23"));
        find<QRadioButton>(window, "LatLonOption")->setChecked(true);
        QCOMPARE(limits(window), geographic);
        // With the list emptied there is nothing to redraw.
        QTest::mouseClick(find(window, "ClearAllFileButton"), Qt::LeftButton);
        find<QRadioButton>(window, "XYOption")->setChecked(true);
        find<QRadioButton>(window, "LatLonOption")->setChecked(true);
        QCOMPARE(limits(window), QStringLiteral("--- --- --- --- --- ---"));
        QVERIFY(m_fakes.messages.shown.empty());
    }

    void outputNameFollowsTheStartOnly()
    {
        MainWindow window(m_fakes.services());
        window.show();
        auto* startHour = find<QLineEdit>(window, "StartHour");
        auto* outputName = find<QLineEdit>(window, "OutFileBaseNameBox");
        startHour->setFocus();
        startHour->end(false);
        QTest::keyClick(startHour, Qt::Key_1);
        QCOMPARE(outputName->text(), QStringLiteral("merged_2008091801.m3d"));
        find<QDateTimeEdit>(window, "StartDate")->setDate(QDate(2009, 3, 16));
        QCOMPARE(outputName->text(), QStringLiteral("merged_2009031601.m3d"));
        find<QDateTimeEdit>(window, "EndDate")->setDate(QDate(2010, 1, 1));
        QTest::keyClicks(find(window, "EndHour"), QStringLiteral("5"));
        QCOMPARE(outputName->text(), QStringLiteral("merged_2009031601.m3d"));
        // Extract mode suggests nothing.
        QTest::mouseClick(find(window, "MergingOptionButton1"), Qt::LeftButton);
        QTest::keyClick(startHour, Qt::Key_3);
        QCOMPARE(outputName->text(), QString());
    }

    void fieldsFilterKeysAndHoldTheirLimits_data()
    {
        // The keys typed, then "é" (a code-page character above 127), Home and Delete, which
        // carries no character and still edits.
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        const QString a132(132, QLatin1Char('a'));
        addRow("start hour", "StartHour", "1a -.+,2/:", "2/é");
        addRow("end hour", "EndHour", "1a -.+,2/:", "2/é");
        addRow("days per file", "DaysPerFileCountBox", "1a -.+,2/:", "2/é");
        addRow("title, 133 characters", "TitleBox", a132 + u'a', a132.mid(1));
        addRow("output name, 133 characters", "OutFileBaseNameBox", a132 + u'a', a132.mid(1));
        addRow("working directory takes every key", "WorkingDirBox", "a b-c.%", " b-c.%é");
    }
    void fieldsFilterKeysAndHoldTheirLimits()
    {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        MainWindow window(m_fakes.services());
        QTest::mouseClick(find(window, "MergingOptionButton1"), Qt::LeftButton);
        window.show();
        auto* edit = find<QLineEdit>(window, qPrintable(name));
        edit->clear();
        QTest::keyClicks(edit, typed);
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QStringLiteral("é"), {});
        QTest::keyClick(edit, Qt::Key_Home);
        QTest::keyClick(edit, Qt::Key_Delete);
        QCOMPARE(edit->text(), kept);
    }

    void tabVisitsTheControlsInOrder()
    {
        MainWindow window(m_fakes.services());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QStringList visited;
        for (int i = 0; i < 16; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        // The days field is hidden in Merge mode and one option of each group takes the focus.
        QCOMPARE(visited.join(QLatin1Char(' ')),
                 QStringLiteral("RunButton StartHour EndHour StartDate EndDate OutFileBaseNameBox "
                                "FileListBox AddFileButton ClearAllFileButton WorkingDirBox "
                                "WorkDirButton MergingOptionButton0 LatLonOption Command1 "
                                "Command2 TitleBox"));
        // In Extract mode the days field follows the output name.
        QTest::mouseClick(find(window, "MergingOptionButton1"), Qt::LeftButton);
        find(window, "OutFileBaseNameBox")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), find(window, "DaysPerFileCountBox"));
        // The arrow keys choose within an option group, so the keyboard reaches every option.
        QTest::mouseClick(find(window, "MergingOptionButton0"), Qt::LeftButton);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(window.coordinateType(), CoordinateType::XY);
    }

    void exitClosesTheWindow_data()
    {
        QTest::addColumn<bool>("fromMenu");
        addRow("Exit button", false);
        addRow("File > Exit", true);
    }
    void exitClosesTheWindow()
    {
        QFETCH(bool, fromMenu);
        auto* window = new MainWindow(m_fakes.services());
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        QPointer<MainWindow> alive(window);
        if (fromMenu)
            window->findChild<QAction*>(QStringLiteral("Exit"))->trigger();
        else
            QTest::mouseClick(find(*window, "Command2"), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(alive.isNull());
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
