#include "app/main_window.h"
#include "fixtures/fixture_writer.h"
#include "support/fake_services.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace gridloom;
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

} // namespace

class MainWindowTest final : public QObject {
    Q_OBJECT

private:
    FakeServices m_fakes;

private Q_SLOTS:
    void startState()
    {
        MainWindow window(m_fakes.services());
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("Gridloom - Graphical User Interface"));
        QCOMPARE(window.centralWidget()->size(), QSize(639, 600));
        QCOMPARE(window.mode(), ProcessingMode::Merge);
        QVERIFY(find<QRadioButton>(window, "MergingOptionButton0")->isChecked());
        QCOMPARE(window.coordinateType(), CoordinateType::None);
        QVERIFY(find(window, "LatLonOption")->isVisible());
        QVERIFY(find(window, "XYOption")->isVisible());
        QVERIFY(!find(window, "ijkOption")->isVisible());
        QVERIFY(!find(window, "DaysPerFileCountBox")->isVisible());
        QVERIFY(!find(window, "DaysPerFileCountBox")->isEnabled());
        QVERIFY(!find(window, "Label17")->isVisible());
        QCOMPARE(text(window, "Label5"), QStringLiteral("File name for output 3D.DAT file(s):"));
        QCOMPARE(text(window, "StartHour"), QStringLiteral("0"));
        QCOMPARE(text(window, "EndHour"), QStringLiteral("0"));
        QCOMPARE(text(window, "DaysPerFileCountBox"), QStringLiteral("0"));
        QCOMPARE(text(window, "TitleBox"), QString());
        QCOMPARE(text(window, "WorkingDirBox"), QString());
        QCOMPARE(text(window, "OutFileBaseNameBox"), QString());
        for (const char* picker : {"StartDate", "EndDate"}) {
            QCOMPARE(find<QDateTimeEdit>(window, picker)->date(), QDate(2008, 9, 18));
            QCOMPARE(find<QDateTimeEdit>(window, picker)->displayFormat(),
                     QStringLiteral("dd MMMM yyyy"));
        }
        for (int i = 0; i < 6; ++i)
            QCOMPARE(text(window, qPrintable(QStringLiteral("Domain%1").arg(i))),
                     QStringLiteral("---"));
        QCOMPARE(text(window, "LabelX"), QStringLiteral("Lon:"));
        QCOMPARE(text(window, "LabelY"), QStringLiteral("Lat:"));
        QCOMPARE(text(window, "LabelZ"), QStringLiteral("Z:"));
        QCOMPARE(find<QListWidget>(window, "FileListBox")->count(), 0);
        QVERIFY(!window.domain().domainValid);
        QCOMPARE(window.domain().bounds, (std::array<double, 6>{}));
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget(), find(window, "TitleBox"));
    }

    void layoutFollowsTheGivenPositions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        QTest::newRow("title") << "TitleBox" << QRect(16, 96, 473, 27);
        QTest::newRow("working dir") << "WorkingDirBox" << QRect(16, 144, 473, 27);
        QTest::newRow("browse") << "WorkDirButton" << QRect(520, 144, 89, 25);
        QTest::newRow("list") << "FileListBox" << QRect(16, 216, 473, 69);
        QTest::newRow("add file") << "AddFileButton" << QRect(520, 216, 89, 17);
        QTest::newRow("clear all") << "ClearAllFileButton" << QRect(520, 240, 89, 17);
        QTest::newRow("start date") << "StartDate" << QRect(64, 352, 161, 25);
        QTest::newRow("start hour") << "StartHour" << QRect(272, 352, 31, 21);
        QTest::newRow("end date") << "EndDate" << QRect(64, 416, 161, 25);
        QTest::newRow("end hour") << "EndHour" << QRect(272, 416, 32, 21);
        QTest::newRow("merge option") << "MergingOptionButton0" << QRect(216, 24, 177, 25);
        QTest::newRow("extract option") << "MergingOptionButton1" << QRect(440, 24, 177, 25);
        QTest::newRow("enter coordinates") << "Command1" << QRect(392, 424, 137, 25);
        QTest::newRow("output name") << "OutFileBaseNameBox" << QRect(248, 488, 329, 25);
        QTest::newRow("days") << "DaysPerFileCountBox" << QRect(320, 536, 33, 21);
        QTest::newRow("run") << "RunButton" << QRect(168, 568, 121, 25);
        QTest::newRow("exit") << "Command2" << QRect(320, 568, 121, 25);
        QTest::newRow("limits heading") << "Label18" << QRect(320, 304, 89, 57);
        QTest::newRow("first limit") << "Domain0" << QRect(480, 304, 57, 17);
        QTest::newRow("k start") << "Domain4" << QRect(488, 352, 41, 17);
    }
    void layoutFollowsTheGivenPositions()
    {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        MainWindow window(m_fakes.services());
        QWidget* control = find(window, qPrintable(name));
        const QPoint topLeft = control->mapTo(window.centralWidget(), QPoint(0, 0));
        QCOMPARE(QRect(topLeft, control->size()), place);
    }

    void switchingModesReshapesTheWindow()
    {
        MainWindow window(m_fakes.services());
        window.show();
        find<QLineEdit>(window, "OutFileBaseNameBox")->setText(QStringLiteral("kept_name"));

        QTest::mouseClick(find(window, "MergingOptionButton1"), Qt::LeftButton);
        QCOMPARE(window.mode(), ProcessingMode::Extract);
        QCOMPARE(window.coordinateType(), CoordinateType::IJK);
        QCOMPARE(text(window, "OutFileBaseNameBox"), QString());
        QVERIFY(find(window, "DaysPerFileCountBox")->isVisible());
        QVERIFY(find(window, "DaysPerFileCountBox")->isEnabled());
        QVERIFY(find(window, "Label17")->isVisible());
        QVERIFY(!find(window, "XYOption")->isVisible());
        QVERIFY(!find(window, "LatLonOption")->isVisible());
        QVERIFY(!find(window, "ijkOption")->isVisible());
        QCOMPARE(text(window, "LabelX"), QStringLiteral("Index i:"));
        QCOMPARE(text(window, "LabelY"), QStringLiteral("Index j:"));
        QCOMPARE(text(window, "LabelZ"), QStringLiteral("Index k:"));
        QCOMPARE(text(window, "Label5"), QStringLiteral("Base name for output 3D.DAT file(s):"));

        QTest::mouseClick(find(window, "MergingOptionButton0"), Qt::LeftButton);
        QCOMPARE(window.mode(), ProcessingMode::Merge);
        // The hidden index option stays selected until the user picks another type.
        QCOMPARE(window.coordinateType(), CoordinateType::IJK);
        QVERIFY(find(window, "XYOption")->isVisible());
        QVERIFY(find(window, "LatLonOption")->isVisible());
        QVERIFY(!find(window, "ijkOption")->isVisible());
        QVERIFY(!find(window, "DaysPerFileCountBox")->isVisible());
        QVERIFY(!find(window, "DaysPerFileCountBox")->isEnabled());
        QCOMPARE(text(window, "LabelX"), QStringLiteral("Lon:"));
        QCOMPARE(text(window, "LabelY"), QStringLiteral("Lat:"));
        QCOMPARE(text(window, "LabelZ"), QStringLiteral("Z:"));
        QCOMPARE(text(window, "Label5"), QStringLiteral("File name for output 3D.DAT file(s):"));
        QCOMPARE(text(window, "OutFileBaseNameBox"), QString());

        // Only a change of the start date or hour brings the suggestion back.
        QTest::keyClick(find(window, "StartHour"), Qt::Key_5);
        QCOMPARE(text(window, "OutFileBaseNameBox"), QStringLiteral("merged_2008091805.m3d"));

        window.applyMode(2);
        QCOMPARE(window.mode(), ProcessingMode::Merge);
    }

    void coordinateOptionsRedrawTheLastFilesLimits()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("fine.m3d"));
        fixtures::writeFixture(path.toStdString(), fixtures::SampleHeader{});
        MainWindow window(m_fakes.services());
        window.show();
        const auto limits = [&window] {
            QStringList texts;
            for (int i = 0; i < 6; ++i)
                texts << text(window, qPrintable(QStringLiteral("Domain%1").arg(i)));
            return texts.join(QLatin1Char(' '));
        };

        // Adding a file in Merge mode turns to lat/lon and names the output after its start.
        m_fakes.files.answers = {{path}};
        QTest::mouseClick(find(window, "AddFileButton"), Qt::LeftButton);
        QCOMPARE(window.coordinateType(), CoordinateType::LatLon);
        QCOMPARE(limits(), QStringLiteral("120.5W 25.25N 95W 50N 1 23"));
        QCOMPARE(text(window, "OutFileBaseNameBox"), QStringLiteral("merged_2002093012.m3d"));

        QTest::mouseClick(find(window, "MergingOptionButton1"), Qt::LeftButton);
        QCOMPARE(limits(), QStringLiteral("1 1 60 50 1 23"));
        QCOMPARE(text(window, "LabelX"), QStringLiteral("Index i:"));

        // X/Y changes the captions but leaves the values drawn.
        QTest::mouseClick(find(window, "MergingOptionButton0"), Qt::LeftButton);
        find<QRadioButton>(window, "XYOption")->setChecked(true);
        QCOMPARE(text(window, "LabelX"), QStringLiteral("Lon:"));
        QCOMPARE(limits(), QStringLiteral("1 1 60 50 1 23"));
        find<QRadioButton>(window, "LatLonOption")->setChecked(true);
        QCOMPARE(limits(), QStringLiteral("120.5W 25.25N 95W 50N 1 23"));

        // With the list emptied there is nothing to redraw.
        QTest::mouseClick(find(window, "ClearAllFileButton"), Qt::LeftButton);
        find<QRadioButton>(window, "XYOption")->setChecked(true);
        find<QRadioButton>(window, "LatLonOption")->setChecked(true);
        QCOMPARE(limits(), QStringLiteral("--- --- --- --- --- ---"));
        QVERIFY(m_fakes.messages.shown.empty());
    }

    void outputNameFollowsTheStart()
    {
        MainWindow window(m_fakes.services());
        window.show();
        auto* startHour = find<QLineEdit>(window, "StartHour");
        auto* outputName = find<QLineEdit>(window, "OutFileBaseNameBox");

        startHour->setFocus();
        startHour->end(false);
        QTest::keyClick(startHour, Qt::Key_1);
        QCOMPARE(startHour->text(), QStringLiteral("01"));
        QCOMPARE(outputName->text(), QStringLiteral("merged_2008091801.m3d"));

        // An hour that cannot be read leaves the name as it was.
        QTest::keyClick(startHour, Qt::Key_Backspace);
        QCOMPARE(outputName->text(), QStringLiteral("merged_2008091800.m3d"));
        QTest::keyClick(startHour, Qt::Key_Backspace);
        QCOMPARE(startHour->text(), QString());
        QCOMPARE(outputName->text(), QStringLiteral("merged_2008091800.m3d"));
        QTest::keyClick(startHour, Qt::Key_Slash);
        QCOMPARE(outputName->text(), QStringLiteral("merged_2008091800.m3d"));
        QTest::keyClick(startHour, Qt::Key_Backspace);
        QTest::keyClick(startHour, Qt::Key_1);
        QCOMPARE(outputName->text(), QStringLiteral("merged_2008091801.m3d"));

        find<QDateTimeEdit>(window, "StartDate")->setDate(QDate(2009, 3, 16));
        QCOMPARE(outputName->text(), QStringLiteral("merged_2009031601.m3d"));

        // The end of the period is not the name's business.
        find<QDateTimeEdit>(window, "EndDate")->setDate(QDate(2010, 1, 1));
        QTest::keyClicks(find(window, "EndHour"), QStringLiteral("5"));
        QCOMPARE(outputName->text(), QStringLiteral("merged_2009031601.m3d"));

        outputName->setText(QStringLiteral("myrun"));
        QTest::keyClick(startHour, Qt::Key_2);
        QCOMPARE(outputName->text(), QStringLiteral("myrun"));
        outputName->setText(QStringLiteral("myrun_x"));
        QTest::keyClick(startHour, Qt::Key_Backspace);
        QCOMPARE(outputName->text(), QStringLiteral("myrun_2009031601.m3d"));

        // Extract mode suggests nothing.
        QTest::mouseClick(find(window, "MergingOptionButton1"), Qt::LeftButton);
        QTest::keyClick(startHour, Qt::Key_3);
        QCOMPARE(outputName->text(), QString());
    }

    void filtersDropKeysBeforeTheField_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("start hour") << "StartHour";
        QTest::newRow("end hour") << "EndHour";
        QTest::newRow("days per file") << "DaysPerFileCountBox";
    }
    void filtersDropKeysBeforeTheField()
    {
        QFETCH(QString, name);
        MainWindow window(m_fakes.services());
        QTest::mouseClick(find(window, "MergingOptionButton1"), Qt::LeftButton);
        window.show();
        auto* edit = find<QLineEdit>(window, qPrintable(name));
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("1a -.+,2/"));
        // A character of the code page above 127 passes, as it would on the original keyboard.
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QStringLiteral("é"), {});
        QTest::keyClicks(edit, QStringLiteral(":3"));
        QCOMPARE(edit->text(), QStringLiteral("12/é3"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QStringLiteral("12/é"));
        // Keys without a character still edit the field.
        QTest::keyClick(edit, Qt::Key_Home);
        QTest::keyClick(edit, Qt::Key_Delete);
        QCOMPARE(edit->text(), QStringLiteral("2/é"));
    }

    void otherFieldsTakeEveryKeyUpTo132Characters_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("limit");
        QTest::newRow("title") << "TitleBox" << 132;
        QTest::newRow("output name") << "OutFileBaseNameBox" << 132;
        QTest::newRow("working directory") << "WorkingDirBox" << 32767;
    }
    void otherFieldsTakeEveryKeyUpTo132Characters()
    {
        QFETCH(QString, name);
        QFETCH(int, limit);
        MainWindow window(m_fakes.services());
        auto* edit = find<QLineEdit>(window, qPrintable(name));
        QTest::keyClicks(edit, QStringLiteral("a b-c"));
        QCOMPARE(edit->text(), QStringLiteral("a b-c"));
        edit->clear();
        QTest::keyClicks(edit, QString(limit == 132 ? 133 : 140, QLatin1Char('x')));
        QCOMPARE(edit->text().size(), limit == 132 ? 132 : 140);
    }

    void tabVisitsTheControlsInOrder()
    {
        MainWindow window(m_fakes.services());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget(), find(window, "TitleBox"));
        QStringList visited;
        for (int i = 0; i < 16; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        // The days field is hidden in Merge mode and one option of each group takes the focus.
        const QStringList expected{QStringLiteral("RunButton"),
                                   QStringLiteral("StartHour"),
                                   QStringLiteral("EndHour"),
                                   QStringLiteral("StartDate"),
                                   QStringLiteral("EndDate"),
                                   QStringLiteral("OutFileBaseNameBox"),
                                   QStringLiteral("FileListBox"),
                                   QStringLiteral("AddFileButton"),
                                   QStringLiteral("ClearAllFileButton"),
                                   QStringLiteral("WorkingDirBox"),
                                   QStringLiteral("WorkDirButton"),
                                   QStringLiteral("MergingOptionButton0"),
                                   QStringLiteral("LatLonOption"),
                                   QStringLiteral("Command1"),
                                   QStringLiteral("Command2"),
                                   QStringLiteral("TitleBox")};
        QCOMPARE(visited, expected);

        // In Extract mode the days field takes its place after the output name.
        QTest::mouseClick(find(window, "MergingOptionButton1"), Qt::LeftButton);
        find(window, "OutFileBaseNameBox")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("DaysPerFileCountBox"));
        // Each option group is one tab stop; the arrow keys choose within it, so the keyboard
        // alone reaches every option.
        QTest::mouseClick(find(window, "MergingOptionButton0"), Qt::LeftButton);
        find(window, "MergingOptionButton0")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(window.mode(), ProcessingMode::Extract);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
        QCOMPARE(window.mode(), ProcessingMode::Merge);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("LatLonOption"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("XYOption"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(window.coordinateType(), CoordinateType::XY);
    }

    void everyFieldHasAnAccessibleName()
    {
        MainWindow window(m_fakes.services());
        window.show();
        for (const char* name :
             {"TitleBox", "WorkingDirBox", "FileListBox", "StartDate", "StartHour", "EndDate",
              "EndHour", "OutFileBaseNameBox", "DaysPerFileCountBox"}) {
            QAccessibleInterface* accessible =
                QAccessible::queryAccessibleInterface(find(window, name));
            QVERIFY(accessible);
            QVERIFY2(!accessible->text(QAccessible::Name).isEmpty(), name);
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(find(window, "StartHour"))
                     ->text(QAccessible::Name),
                 QStringLiteral("Start hour"));
        QCOMPARE(QAccessible::queryAccessibleInterface(find(window, "TitleBox"))
                     ->text(QAccessible::Name),
                 QStringLiteral("Title"));
    }

    void exitClosesTheWindow_data()
    {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("Exit button") << false;
        QTest::newRow("File > Exit") << true;
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
