// The "Input hours" window: what the strip draws where, and how it follows the main window.
#include "app/main_window.h"
#include "common/date_hour_stamp.h"
#include "common/palette.h"
#include "fixtures/fake_services.h"
#include "fixtures/fixture_writer.h"
#include "input/header_reader.h"
#include "input/hours_strip.h"
#include "input/input_hours_window.h"
#include "input/input_list_controller.h"
#include "support/input_files.h"
#include "support/operate.h"
#include "support/qt_test_prelude.h"

#include <QSignalSpy>
#include <QWheelEvent>

using namespace gridloom;
using namespace gridloom::testing;
using namespace Qt::StringLiterals;

namespace {

double hourValue(const char* stamp)
{
    return double(parseDateHourStamp(stamp).value().time_since_epoch().count());
}

QStringList legendOf(QWidget& window)
{
    QStringList lines;
    auto* legend = window.findChild<QListWidget*>(u"HoursLegend"_s);
    for (int row = 0; row < legend->count(); ++row)
        lines << legend->item(row)->text();
    return lines;
}

} // namespace

class HoursWindowTest final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString sample(const char* name, const char* stamp, int hours)
    {
        const QString path = m_dir.filePath(QLatin1String(name));
        fixtures::writeFixture(path.toStdString(), {.startStamp = stamp, .hourCount = hours});
        return path;
    }

private Q_SLOTS:
    void drawsTheGapWhereItIs()
    {
        // Three days; the third file starts six hours late, the second is on a finer grid.
        const std::vector<InputFileInfo> files = {fileOf(u"12 2002010100 24"_s),
                                                  fileOf(u"4 2002010200 24"_s),
                                                  fileOf(u"12 2002010306 18"_s)};
        InputHoursWindow window([&] {
            return HoursJob{files, ProcessingMode::Extract,
                            HourSpan{files[0].firstHour, files[2].lastHour()}};
        });
        window.resize(800, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        HoursStrip& strip = window.strip();
        const QImage image = strip.grab().toImage();
        const auto pixel = [&](double hour, double y) {
            return image.pixelColor(int(strip.xOfHour(hour)), int(y));
        };
        const double summary = strip.coverageRow().center().y();
        const double gapMiddle = hourValue("2002010303");
        QCOMPARE(pixel(gapMiddle, summary), warningColour);
        QVERIFY(pixel(hourValue("2002010212"), summary) != warningColour);
        QVERIFY(pixel(hourValue("2002010300") - 1.5, summary) != warningColour);
        QVERIFY(pixel(hourValue("2002010306") + 1.5, summary) != warningColour);
        // The third bar begins after the gap; in the gap its row shows the warning hatching.
        QCOMPARE(pixel(hourValue("2002010312"), strip.yOfFile(2)), fileBar);
        QVERIFY(pixel(gapMiddle, strip.yOfFile(2)) != fileBar);
        for (const int row : {2, 3}) // in the gap, and below the last file
            QCOMPARE(strip.fileAt(QPointF(strip.xOfHour(gapMiddle), strip.yOfFile(row))), -1);
        QCOMPARE(strip.fileAt({strip.xOfHour(hourValue("2002010312")), strip.yOfFile(2)}), 2);
        QCOMPARE(pixel(hourValue("2002010212"), strip.yOfFile(1)), warningColour);
        QCOMPARE(pixel(hourValue("2002010112"), strip.yOfFile(0)), fileBar);

        const double fitted = strip.viewLast() - strip.viewFirst();
        // Choosing the gap's legend line brings its hours into view, close up.
        auto* legend = window.findChild<QListWidget*>(u"HoursLegend"_s);
        const auto gapLines = legend->findItems(u"Gap:"_s, Qt::MatchStartsWith);
        QCOMPARE(gapLines.size(), 1);
        QTest::mouseClick(legend->viewport(), Qt::LeftButton, {},
                          legend->visualItemRect(gapLines[0]).center());
        QVERIFY(strip.viewFirst() <= hourValue("2002010300") &&
                strip.viewLast() >= hourValue("2002010306"));
        QVERIFY(strip.viewLast() - strip.viewFirst() < fitted / 2.0);
    }

    void followsTheMainWindow()
    {
        FakeServices fakes;
        MainWindow main(fakes.services());
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        // Files chosen together, one of them twice, make one notice; a refused choice none.
        QSignalSpy notices(&main.inputList(), &InputListController::listChanged);
        const QString a = sample("a.m3d", "2002010100", 24);
        fakes.files.answers << QStringList{a, sample("b.m3d", "2002010201", 23), a}
                            << QStringList{a};
        operate(main, {u"MergingOptionButton1"_s, u"AddFileButton"_s, u"AddFileButton"_s});
        QCOMPARE(notices.size(), 1);

        QTest::keyClick(&main, Qt::Key_H, Qt::ControlModifier);
        auto* window = main.findChild<QWidget*>(u"InputHoursWindow"_s);
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(), u"Input hours"_s);
        auto* strip = window->findChild<HoursStrip*>(u"HoursStrip"_s);
        QCOMPARE(strip->coverage().files.size(), std::size_t(2));
        QVERIFY(legendOf(*window).contains(u"Gap: no file holds 2002-01-02 00:00, 1 hour"_s));
        QVERIFY(strip->describeFile(1).startsWith(m_dir.filePath(u"b.m3d"_s)));

        // Each edit of the period moves the band at once.
        main.findChild<QLineEdit*>(u"EndHour"_s)->setText(u"5"_s);
        QCOMPARE(strip->coverage().period->last, parseDateHourStamp("2002010205").value());
        main.findChild<QLineEdit*>(u"EndHour"_s)->setText(u"x"_s);
        QVERIFY(!strip->coverage().period);

        // The wheel zooms, dragging pans, Fit shows all again.
        const double fittedFirst = strip->viewFirst();
        const double fittedLast = strip->viewLast();
        const QPointF middle = strip->rect().center();
        QWheelEvent wheel(middle, strip->mapToGlobal(middle), {}, {0, 240}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(strip, &wheel);
        QVERIFY(strip->viewLast() - strip->viewFirst() < (fittedLast - fittedFirst) * 0.7);
        const double zoomedFirst = strip->viewFirst();
        QTest::mousePress(strip, Qt::LeftButton, {}, middle.toPoint());
        QTest::mouseMove(strip, middle.toPoint() + QPoint(100, 0));
        QTest::mouseRelease(strip, Qt::LeftButton, {}, middle.toPoint() + QPoint(100, 0));
        QVERIFY(strip->viewFirst() < zoomedFirst);
        operate(*window, {u"FitButton"_s});
        QCOMPARE(strip->viewFirst(), fittedFirst);
        QCOMPARE(strip->viewLast(), fittedLast);

        // Merge mode adds no warnings of its own.
        main.findChild<QRadioButton*>(u"MergingOptionButton0"_s)->setChecked(true);
        QVERIFY(strip->coverage().gaps.empty() &&
                !legendOf(*window).join(u'\n').contains(u"Gap"_s));

        // After Clear All the same path is new again.
        const qsizetype before = notices.size();
        fakes.files.answers << QStringList{a};
        operate(main, {u"ClearAllFileButton"_s, u"AddFileButton"_s});
        QCOMPARE(main.inputList().count(), 1);
        QCOMPARE(notices.size(), before + 2);
    }
};

QTEST_MAIN(HoursWindowTest)
#include "hours_window_test.moc"
