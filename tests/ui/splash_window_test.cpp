#include "app/splash_window.h"
#include "support/data_rows.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTest>

using namespace gridloom;
using gridloom::testing::addRow;
using gridloom::testing::columns;
using gridloom::testing::fetchRow;

class SplashWindowTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void handsOverAfterTheWaitWithoutAClick()
    {
        int handOvers = 0;
        qint64 handedOverAt = -1;
        QElapsedTimer clock;
        SplashWindow splash([&] {
            ++handOvers;
            handedOverAt = clock.elapsed();
        });
        clock.start();
        splash.start();
        QVERIFY(splash.isVisible());
        QTest::qWait(1500);
        QCOMPARE(handOvers, 0);
        QTRY_COMPARE_WITH_TIMEOUT(handOvers, 1, 3000);
        QVERIFY2(handedOverAt >= SplashWindow::SplashDelayMs,
                 qPrintable(QString::number(handedOverAt)));
        QVERIFY(!splash.isVisible());
        QTest::qWait(300);
        QCOMPARE(handOvers, 1);
    }

    void aClickHandsOverAtOnceAndOnlyOnce()
    {
        int handOvers = 0;
        SplashWindow splash([&] { ++handOvers; }, 400);
        splash.start();
        QTest::qWait(50);
        QTest::mouseClick(&splash, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(handOvers, 1);
        QVERIFY(splash.clicked());
        QVERIFY(!splash.isVisible());
        // The wait runs out later and finds the click.
        QTest::qWait(600);
        QCOMPARE(handOvers, 1);
    }

    void clickingTheCaptionsDoesNotEndIt_data()
    {
        columns<QString, QString>("caption", "text");
        addRow("lblVersion", "lblVersion", "Version 1.2");
        addRow("lblLevel", "lblLevel", "March 30, 2011");
    }
    void clickingTheCaptionsDoesNotEndIt()
    {
        auto [caption, text] = fetchRow<QString, QString>("caption", "text");
        int handOvers = 0;
        SplashWindow splash([&] { ++handOvers; }, 300);
        splash.start();
        QCOMPARE(splash.findChild<QLabel*>(caption)->text(), text);
        QTest::mouseClick(splash.findChild<QLabel*>(caption), Qt::LeftButton);
        QCOMPARE(handOvers, 0);
        QVERIFY(splash.isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(handOvers, 1, 2000);
        QVERIFY(!splash.clicked());
    }
};

QTEST_MAIN(SplashWindowTest)
#include "splash_window_test.moc"
