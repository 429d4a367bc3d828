// The shell: the main window's state in each mode, the coordinate options, the output name
// that follows the start of the period, the fields' key filters and limits, the focus order
// and the ways out; and the splash window before it.
#include "app/main_window.h"
#include "app/output_name.h"
#include "app/splash_window.h"
#include "fixtures/fake_services.h"
#include "fixtures/fixture_writer.h"
#include "support/data_rows.h"
#include "support/operate.h"
#include "support/qt_test_prelude.h"

using namespace gridloom;
using namespace gridloom::testing;
using namespace Qt::StringLiterals;

namespace {

QString text(QWidget& window, const char* name)
{
    if (auto* label = window.findChild<QLabel*>(QLatin1String(name)))
        return label->text();
    return window.findChild<QLineEdit*>(QLatin1String(name))->text();
}

// What the mode and the coordinate type show: the visible controls among those that come and
// go, the captions that change, the limits, the selected type and the output name.
QString state(MainWindow& window)
{
    QStringList parts;
    for (const char* name :
         {"XYOption", "LatLonOption", "ijkOption", "Label17", "DaysPerFileCountBox"}) {
        const QWidget* control = window.findChild<QWidget*>(QLatin1String(name));
        if (control->isVisible())
            parts << QLatin1String(name) + QLatin1String(control->isEnabled() ? "" : " disabled");
    }
    for (const char* name : {"LabelX", "LabelY", "LabelZ", "Label5", "Domain0", "Domain1",
                             "Domain2", "Domain3", "Domain4", "Domain5"})
        parts << text(window, name);
    const char* types[] = {"None", "XY", "LatLon", "IJK"};
    return parts.join(u", "_s) + u", "_s + QLatin1String(types[int(window.coordinateType())]) +
           u", \""_s + text(window, "OutFileBaseNameBox") + u'"';
}

} // namespace

class MainWindowTest final : public QObject {
    Q_OBJECT

    FakeServices m_fakes;

private Q_SLOTS:
    void suggestion_data()
    {
        // expected: empty: the name stays as it is
        columns<QString, QString, QString>("current", "hour", "expected");
        addRow("empty name", "", "0", "merged_2009031600.m3d");
        addRow("blank name", "   ", "0", "merged_2009031600.m3d");
        addRow("after the first underscore", "run_a_b.dat", "12", "run_2009031612.m3d");
        addRow("no underscore stays", "domain3", "1", "");
        for (const char* hour : {"", "1/2", "40000"})
            addRow(hour, "a_b", hour, "");
    }
    void suggestion()
    {
        auto [current, hour, expected] = fetchRow<QString, QString, QString>();
        using namespace std::chrono;
        const auto name =
            suggestOutputName(current.toStdString(), year{2009} / March / 16, hour.toStdString());
        QCOMPARE(QString::fromStdString(name.value_or("")), expected);
    }

    void modesAndCoordinateTypesReshapeTheWindow()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(u"fine.m3d"_s);
        fixtures::writeFixture(path.toStdString(), {});
        MainWindow window(m_fakes.services());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget()->objectName(), u"TitleBox"_s);
        const QString merge = u"XYOption, LatLonOption, Lon:, Lat:, Z:, File name "
                              "for output 3D.DAT file(s):, "_s;
        QCOMPARE(state(window), merge + u"---, ---, ---, ---, ---, ---, None, \"\""_s);
        QCOMPARE(qobject_cast<QDateTimeEdit*>(window.findChild<QWidget*>(u"EndDate"_s))->date(),
                 QDate(2008, 9, 18));

        // A file added in Merge mode turns to Lat/Lon and names the output after its start.
        m_fakes.files.answers = {{path}};
        operate(window, {u"AddFileButton"_s});
        const QString geographic = u"120.5W, 25.25N, 95W, 50N, 1, 23"_s;
        QCOMPARE(state(window), merge + geographic + u", LatLon, \"merged_2002093012.m3d\""_s);
        // In Extract mode the name is emptied and the start suggests none; the end never does.
        operate(window, {u"MergingOptionButton1"_s, u"StartHour=3"_s, u"EndHour=5"_s});
        QCOMPARE(state(window), u"Label17, DaysPerFileCountBox, Index i:, Index j:, Index k:, "
                                "Base name for output 3D.DAT file(s):, 1, 1, 60, 50, 1, 23, IJK, "
                                "\"\""_s);
        // Back in Merge the hidden index option stays selected and nothing is suggested; X/Y
        // changes the captions but not the values drawn, Lat/Lon redraws them.
        operate(window, {u"MergingOptionButton0"_s, u"EndDate=2010-01-01"_s});
        QCOMPARE(state(window), merge + u"1, 1, 60, 50, 1, 23, IJK, \"\""_s);
        operate(window, {u"XYOption"_s});
        QCOMPARE(state(window), merge + u"1, 1, 60, 50, 1, 23, XY, \"\""_s);
        operate(window, {u"LatLonOption"_s});
        QCOMPARE(state(window), merge + geographic + u", LatLon, \"\""_s);
        // With the list emptied there is nothing to redraw.
        operate(window, {u"ClearAllFileButton"_s, u"XYOption"_s, u"LatLonOption"_s});
        QVERIFY(state(window).contains(u"---, ---, ---, ---, ---, ---"_s));
        // The start date does suggest a name, with the hour typed in Extract mode.
        operate(window, {u"StartDate=2009-03-16"_s});
        QCOMPARE(text(window, "OutFileBaseNameBox"), u"merged_2009031603.m3d"_s);
        window.applyMode(2);
        QCOMPARE(window.mode(), ProcessingMode::Merge);
    }

    void controlsFollowTheLayout()
    {
        MainWindow window(m_fakes.services());
        QFile layout(QStringLiteral(GRIDLOOM_TEST_DATA "/main_window_layout.txt"));
        QVERIFY(layout.open(QIODevice::ReadOnly | QIODevice::Text));
        while (!layout.atEnd()) {
            const QStringList line = QString::fromUtf8(layout.readLine()).simplified().split(u' ');
            if (line[0].startsWith(u'#'))
                continue;
            const QWidget* control = window.findChild<QWidget*>(line[0]);
            for (const QLabel* label : window.findChildren<QLabel*>())
                control = control || !label->text().startsWith(line[0]) ? control : label;
            QVERIFY2(control, qPrintable(line[0]));
            const QPoint at = control->mapTo(window.centralWidget(), QPoint());
            const QList<int> seen{at.x(), at.y(), control->width(), control->height()};
            for (qsizetype n = 1; n < line.size(); ++n)
                QVERIFY2(line[n] == u'-' || line[n].toInt() == seen[n - 1],
                         qPrintable(line.join(u' ')));
        }
        // The limits heading is underlined and wrapped to show whole in its narrow box.
        const auto* heading = window.findChild<QLabel*>(u"Label18"_s);
        QVERIFY(heading->font().underline() &&
                heading->minimumSizeHint().width() <= heading->width());
        QVERIFY(heading->heightForWidth(heading->width()) <= heading->height());
    }

    void fieldsFilterKeysAndHoldTheirLimits_data()
    {
        // The keys typed, then "é" (a code-page character above 127), Home and Delete, which
        // carries no character and still edits.
        columns<QString, QString, QString>("name", "typed", "kept");
        const QString a132(132, u'a');
        addRow("StartHour", "StartHour", "1a -.+,2/:", "2/é");
        addRow("TitleBox", "TitleBox", a132 + u'a', a132.mid(1));
        addRow("OutFileBaseNameBox", "OutFileBaseNameBox", a132 + u'a', a132.mid(1));
        addRow("WorkingDirBox", "WorkingDirBox", "a b-c.%", " b-c.%é");
    }
    void fieldsFilterKeysAndHoldTheirLimits()
    {
        auto [name, typed, kept] = fetchRow<QString, QString, QString>();
        MainWindow window(m_fakes.services());
        operate(window, {u"MergingOptionButton1"_s});
        auto* edit = window.findChild<QLineEdit*>(name);
        edit->clear();
        QTest::keyClicks(edit, typed);
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, u"é"_s, {});
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
        QCOMPARE(visited.join(u' '),
                 u"RunButton StartHour EndHour StartDate EndDate OutFileBaseNameBox "
                 "FileListBox AddFileButton ClearAllFileButton WorkingDirBox "
                 "WorkDirButton MergingOptionButton0 LatLonOption Command1 "
                 "Command2 TitleBox"_s);
        // The arrow keys choose within an option group, so the keyboard reaches every option;
        // in Extract mode the days field follows the output name.
        window.findChild<QWidget*>(u"MergingOptionButton0"_s)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        window.findChild<QWidget*>(u"OutFileBaseNameBox"_s)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), u"DaysPerFileCountBox"_s);
    }

    void exitClosesTheWindow()
    {
        // Through the Exit button, then through File > Exit.
        for (const bool fromMenu : {false, true}) {
            QPointer<MainWindow> window = new MainWindow(m_fakes.services());
            window->setAttribute(Qt::WA_DeleteOnClose);
            window->show();
            fromMenu ? window->findChild<QAction*>(u"Exit"_s)->trigger()
                     : operate(*window, {u"Command2"_s});
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(window.isNull());
        }
    }

    // The splash window, which hands over to the main window: its picture, whole, in the middle
    // of the screen.
    void splashShowsItsPictureMidScreen()
    {
        SplashWindow splash([] {}, 60000);
        splash.start();
        QCOMPARE(splash.size(), QSize(558, 378));
        const QPoint offCentre =
            splash.frameGeometry().center() - splash.screen()->geometry().center();
        QVERIFY2(offCentre.manhattanLength() <= 1, qPrintable(QString::number(offCentre.x())));
        // A picture, not a plain fill: a row across it passes through many colours.
        const QImage shown = splash.grab().toImage();
        QSet<QRgb> colours;
        for (int x = 0; x < shown.width(); ++x)
            colours.insert(shown.pixel(x, shown.height() / 2));
        QVERIFY(colours.size() > 20);
    }

    // A click on the picture hands over at once, one on a caption does not; the wait that runs
    // out later hands over only if nothing did.
    void clicks_data()
    {
        columns<QString, QString>("caption", "text");
        addRow("on the picture", "", "");
        addRow("lblVersion", "lblVersion", "Version 1.2");
        addRow("lblLevel", "lblLevel", "March 30, 2011");
    }
    void clicks()
    {
        auto [caption, text] = fetchRow<QString, QString>();
        int handOvers = 0;
        SplashWindow splash([&] { ++handOvers; }, 300);
        splash.start();
        QWidget* clicked = &splash;
        if (auto* label = splash.findChild<QLabel*>(caption)) {
            QCOMPARE(label->text(), text);
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(192, 192, 255));
            clicked = label;
        }
        QTest::mouseClick(clicked, Qt::LeftButton, {}, QPoint(5, 5));
        const bool onPicture = caption.isEmpty();
        QCOMPARE(handOvers, onPicture ? 1 : 0);
        QCOMPARE(splash.isVisible(), !onPicture);
        QTest::qWait(600);
        QCOMPARE(handOvers, 1);
        QCOMPARE(splash.clicked(), onPicture);
        QVERIFY(!splash.isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
