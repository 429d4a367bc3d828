#include "domain/coordinate_dialog.h"
#include "support/fake_services.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace gridloom;
using gridloom::testing::RecordingMessages;
using gridloom::testing::ShownMessage;

Q_DECLARE_METATYPE(gridloom::CoordinateType)

namespace {

template <typename T = QLineEdit> T* find(const QWidget* dialog, const QString& name)
{
    T* widget = dialog->findChild<T*>(name);
    if (!widget)
        qFatal("no widget named %s", qPrintable(name));
    return widget;
}

QString focusName()
{
    const QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QString();
}

QStringList dmsOf(const QWidget* dialog, const QString& stem)
{
    const QString value = stem.left(3);
    const QString corner = stem.right(1);
    return {find(dialog, QStringLiteral("txt%1D%2").arg(value, corner))->text(),
            find(dialog, QStringLiteral("txt%1M%2").arg(value, corner))->text(),
            find(dialog, QStringLiteral("txt%1S%2").arg(value, corner))->text()};
}

// The box's text and its items, as "N of N,S".
QString boxState(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return box->currentText() + QStringLiteral(" of ") + items.join(QLatin1Char(','));
}

QStringList texts(const char* a, const char* b, const char* c)
{
    return {QString::fromUtf8(a), QString::fromUtf8(b), QString::fromUtf8(c)};
}

// One dialog host as the main window holds it, with recorded messages.
struct Fixture {
    DomainSelection domain;
    RecordingMessages messages;
    CoordinateDialogHost host{nullptr, domain, messages};

    // Opens the dialog and waits until it really has the keyboard, so that focus moves send
    // their events as they do for a user.
    CoordinateDialog* open(CoordinateType type)
    {
        host.open(type);
        CoordinateDialog* dialog = host.dialog();
        if (dialog && !QTest::qWaitForWindowActive(dialog))
            qWarning("the coordinate dialog did not become active");
        return dialog;
    }
};

} // namespace

class CoordinateDialogTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    void noTypeOpensNothing()
    {
        Fixture f;
        f.host.open(CoordinateType::None);
        QCOMPARE(f.host.dialog(), nullptr);
        QCOMPARE(f.messages.shown, (std::vector<ShownMessage>{
                                       {ShownMessage::Kind::Job,
                                        QStringLiteral("Select a type of coordinnate first")}}));
    }

    void layouts_data()
    {
        QTest::addColumn<CoordinateType>("type");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QPoint>("ok");
        QTest::addColumn<QPoint>("cancel");
        QTest::addColumn<QStringList>("shownFrames");
        // Outer sizes less a 3-pixel frame on each side and a 22-pixel title bar.
        QTest::newRow("longitude/latitude")
            << CoordinateType::LatLon << QSize(450, 226) << QPoint(147, 160) << QPoint(247, 160)
            << QStringList{QStringLiteral("Geodetic1"), QStringLiteral("Geodetic2")};
        QTest::newRow("grid indices")
            << CoordinateType::IJK << QSize(271, 143) << QPoint(60, 112) << QPoint(153, 112)
            << QStringList{QStringLiteral("ijkFrame")};
        QTest::newRow("X/Y") << CoordinateType::XY << QSize(271, 143) << QPoint(60, 112)
                             << QPoint(153, 112) << QStringList{QStringLiteral("XYFrame")};
    }
    void layouts()
    {
        QFETCH(CoordinateType, type);
        QFETCH(QSize, client);
        QFETCH(QPoint, ok);
        QFETCH(QPoint, cancel);
        QFETCH(QStringList, shownFrames);

        Fixture f;
        // Laid out once the other way first: a layout must undo what the previous one showed.
        f.open(type == CoordinateType::LatLon ? CoordinateType::XY : CoordinateType::LatLon);
        CoordinateDialog* dialog = f.open(type);
        QVERIFY(dialog);
        QCOMPARE(dialog->objectName(), QStringLiteral("frmCoordBox"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Domain coordinates"));
        QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->size(), client);
        QCOMPARE(find<QPushButton>(dialog, QStringLiteral("OkButton"))->geometry(),
                 QRect(ok, QSize(73, 25)));
        QCOMPARE(find<QPushButton>(dialog, QStringLiteral("CancelButton"))->geometry(),
                 QRect(cancel, QSize(73, 25)));
        QCOMPARE(focusName(), QStringLiteral("OkButton"));
        QCOMPARE(dialog->layoutType(), type);

        QStringList shown;
        for (const QGroupBox* frame : dialog->findChildren<QGroupBox*>()) {
            if (frame->isVisible())
                shown << frame->objectName();
            // Every frame and its fields lie inside the client area: nothing is clipped.
            if (frame->isVisible())
                QVERIFY2(dialog->rect().contains(frame->geometry()),
                         qPrintable(frame->objectName()));
        }
        shown.sort();
        QCOMPARE(shown, shownFrames);
    }

    void tabOrder_data()
    {
        QTest::addColumn<CoordinateType>("type");
        QTest::addColumn<QString>("order");
        QTest::newRow("longitude/latitude")
            << CoordinateType::LatLon
            << QStringLiteral("OkButton txtLonS2 txtLonM2 txtLonD2 txtLatS2 txtLatM2 txtLatD2 "
                              "cboLonLL2 cboLatLL2 txtLat2 txtLon2 txtLon1 txtLat1 cboLatLL1 "
                              "cboLonLL1 txtLatD1 txtLatM1 txtLatS1 txtLonD1 txtLonM1 txtLonS1 "
                              "CancelButton OkButton");
        QTest::newRow("grid indices")
            << CoordinateType::IJK
            << QStringLiteral(
                   "OkButton TextIndexjEnd TextIndexjStart TextIndexiEnd "
                   "TextIndexiStart TextIndexkEnd TextIndexkStart CancelButton OkButton");
        QTest::newRow("X/Y") << CoordinateType::XY
                             << QStringLiteral("OkButton TextXStart TextXEnd TextYStart TextYEnd "
                                               "CancelButton OkButton");
    }
    void tabOrder()
    {
        QFETCH(CoordinateType, type);
        QFETCH(QString, order);
        Fixture f;
        QVERIFY(f.open(type));
        const QStringList expected = order.split(QLatin1Char(' '));
        QStringList visited{focusName()};
        for (qsizetype i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << focusName();
        }
        QCOMPARE(visited, expected);
    }

    void nineThenFiveIntoStartLatitude()
    {
        Fixture f;
        CoordinateDialog* dialog = f.open(CoordinateType::LatLon);
        QLineEdit* lat = find(dialog, QStringLiteral("txtLat1"));
        lat->setFocus();
        lat->selectAll();
        QTest::keyClick(lat, Qt::Key_9);
        QCOMPARE(lat->text(), QStringLiteral("9"));
        QCOMPARE(dmsOf(dialog, QStringLiteral("Lat1")), texts("9", "0", "0.00"));
        QTest::keyClick(lat, Qt::Key_5);
        QCOMPARE(lat->text(), QStringLiteral("90.000000"));
        QCOMPARE(dmsOf(dialog, QStringLiteral("Lat1")), texts("90", "0", "0.00"));
        // The other values' fields are untouched.
        QCOMPARE(dmsOf(dialog, QStringLiteral("Lat2")), texts("45", "00", "0.00"));
        QCOMPARE(dmsOf(dialog, QStringLiteral("Lon1")), texts("95", "00", "0.00"));
    }

    void minusKeySwitchesHemisphere_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("before"); // item index; -1 for a box showing nothing
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("next");
        QTest::newRow("start latitude N to S") << "txtLat1"
                                               << "cboLatLL1" << 0 << "S"
                                               << "cboLatLL1";
        QTest::newRow("start longitude E to W") << "txtLon1"
                                                << "cboLonLL1" << 0 << "W"
                                                << "txtLat1";
        QTest::newRow("end latitude S to N") << "txtLat2"
                                             << "cboLatLL2" << 1 << "N"
                                             << "txtLon2";
        QTest::newRow("end longitude W to E") << "txtLon2"
                                              << "cboLonLL2" << 1 << "E"
                                              << "txtLon1";
        QTest::newRow("box showing nothing stays so") << "txtLat2"
                                                      << "cboLatLL2" << -1 << ""
                                                      << "txtLon2";
    }
    void minusKeySwitchesHemisphere()
    {
        QFETCH(QString, field);
        QFETCH(QString, box);
        QFETCH(int, before);
        QFETCH(QString, after);
        QFETCH(QString, next);
        Fixture f;
        CoordinateDialog* dialog = f.open(CoordinateType::LatLon);
        QLineEdit* edit = find(dialog, field);
        QComboBox* hemisphere = find<QComboBox>(dialog, box);
        hemisphere->setCurrentIndex(before);
        const QString text = edit->text();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Minus);
        QCOMPARE(hemisphere->currentText(), after);
        QCOMPARE(edit->text(), text);
        QCOMPARE(focusName(), next);
    }

    void enterInDecimalFieldMovesOn()
    {
        Fixture f;
        CoordinateDialog* dialog = f.open(CoordinateType::LatLon);
        QLineEdit* lat = find(dialog, QStringLiteral("txtLat1"));
        lat->setFocus();
        QTest::keyClick(lat, Qt::Key_Return);
        QCOMPARE(focusName(), QStringLiteral("cboLatLL1"));
        QCOMPARE(lat->text(), QStringLiteral("45"));
        QVERIFY(dialog->isVisible());
        QVERIFY(!f.domain.domainValid);
    }

    void enterPressesOnlyAFocusedButton()
    {
        Fixture f;
        CoordinateDialog* dialog = f.open(CoordinateType::XY);
        QLineEdit* xEnd = find(dialog, QStringLiteral("TextXEnd"));
        xEnd->setFocus();
        QTest::keyClick(xEnd, Qt::Key_Return);
        QVERIFY(f.messages.shown.empty());
        QVERIFY(dialog->isVisible());

        find<QPushButton>(dialog, QStringLiteral("OkButton"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(f.messages.last(),
                 QStringLiteral("Starting values for X and Y must be smaller than ending values"));
    }

    void leavingDmsField_data()
    {
        QTest::addColumn<QString>("stem");
        QTest::addColumn<QStringList>("typed"); // degrees, minutes, seconds
        QTest::addColumn<QString>("left");      // D, M or S
        QTest::addColumn<QString>("decimal");
        QTest::addColumn<QStringList>("dms");
        QTest::newRow("start latitude degrees 95 with 30 minutes")
            << "Lat1" << texts("95", "30", "0.00") << "D"
            << "90.000000" << texts("90", "0", "0.00");
        QTest::newRow("end latitude degrees 95 with 30 minutes")
            << "Lat2" << texts("95", "30", "0.00") << "D"
            << "90.500000" << texts("90", "30", "0.00");
        QTest::newRow("start latitude seconds at the limit")
            << "Lat1" << texts("90", "30", "12") << "S"
            << "90.000000" << texts("90", "0", "0.00");
        // 59.99 seconds in six decimals split back into 59.9904 seconds, which carry.
        QTest::newRow("end longitude seconds clamped, then carried")
            << "Lon2" << texts("95", "0", "61.5") << "S"
            << "95.016664" << texts("95", "1", "0.00");
        QTest::newRow("unchanged value leaves the texts as typed")
            << "Lon1" << texts("095", "0", "0") << "D"
            << "95.000000" << texts("095", "0", "0");
    }
    void leavingDmsField()
    {
        QFETCH(QString, stem);
        QFETCH(QStringList, typed);
        QFETCH(QString, left);
        QFETCH(QString, decimal);
        QFETCH(QStringList, dms);
        Fixture f;
        CoordinateDialog* dialog = f.open(CoordinateType::LatLon);
        const QString value = stem.left(3);
        const QString corner = stem.right(1);
        QLineEdit* decimalField = find(dialog, QStringLiteral("txt") + stem);
        // Start from a decimal value in normal form, as the focus-out rewrites it.
        decimalField->setText(value == QLatin1String("Lat") ? QStringLiteral("45.000000")
                                                            : QStringLiteral("95.000000"));
        const QString parts = QStringLiteral("DMS");
        for (int i = 0; i < 3; ++i)
            find(dialog, QStringLiteral("txt%1%2%3").arg(value, parts.at(i), corner))
                ->setText(typed[i]);

        QLineEdit* leaving = find(dialog, QStringLiteral("txt%1%2%3").arg(value, left, corner));
        leaving->setFocus();
        QTest::keyClick(leaving, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != leaving);
        QCOMPARE(decimalField->text(), decimal);
        QCOMPARE(dmsOf(dialog, stem), dms);
    }

    void programSetTextRunsChangeHandlingOnce()
    {
        Fixture f;
        CoordinateDialog* dialog = f.open(CoordinateType::LatLon);
        QLineEdit* lon = find(dialog, QStringLiteral("txtLon2"));
        lon->setText(QStringLiteral("12.3456789"));
        QCOMPARE(dmsOf(dialog, QStringLiteral("Lon2")), texts("12", "20", "44.44"));

        // Writing the text a field already holds is no change.
        find(dialog, QStringLiteral("txtLonM2"))->setText(QStringLiteral("7"));
        lon->setText(QStringLiteral("12.3456789"));
        QCOMPARE(dmsOf(dialog, QStringLiteral("Lon2")), texts("12", "7", "44.44"));
    }

    void defaults()
    {
        Fixture f;
        CoordinateDialog* dialog = f.open(CoordinateType::LatLon);
        for (const char* name : {"TextXStart", "TextXEnd", "TextYStart", "TextYEnd",
                                 "TextIndexiStart", "TextIndexiEnd", "TextIndexjStart",
                                 "TextIndexjEnd", "TextIndexkStart", "TextIndexkEnd"})
            QCOMPARE(find(dialog, QLatin1String(name))->text(), QStringLiteral("0"));
        for (const char* corner : {"1", "2"}) {
            const QString c = QLatin1String(corner);
            QCOMPARE(find(dialog, QStringLiteral("txtLat") + c)->text(), QStringLiteral("45"));
            QCOMPARE(find(dialog, QStringLiteral("txtLon") + c)->text(), QStringLiteral("95"));
            QCOMPARE(dmsOf(dialog, QStringLiteral("Lat") + c), texts("45", "00", "0.00"));
            QCOMPARE(dmsOf(dialog, QStringLiteral("Lon") + c), texts("95", "00", "0.00"));
            QCOMPARE(boxState(find<QComboBox>(dialog, QStringLiteral("cboLatLL") + c)),
                     QStringLiteral("N of N,S"));
            QCOMPARE(boxState(find<QComboBox>(dialog, QStringLiteral("cboLonLL") + c)),
                     QStringLiteral("E of E,W"));
        }
    }

    void keyFilters_data()
    {
        QTest::addColumn<CoordinateType>("type");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::newRow("index: digits and slash") << CoordinateType::IJK << "TextIndexiStart"
                                                 << "-1.2/a3"
                                                 << "12/3";
        QTest::newRow("X/Y: digits, point, slash, minus") << CoordinateType::XY << "TextYEnd"
                                                          << "-1.2/a,+3"
                                                          << "-1.2/3";
        QTest::newRow("decimal degrees: digits, point, slash")
            << CoordinateType::LatLon << "txtLat2"
            << "4a 5+,x.1/"
            << "45.1/";
        QTest::newRow("seconds: no filter") << CoordinateType::LatLon << "txtLonS1"
                                            << "x 1"
                                            << "x 1";
    }
    void keyFilters()
    {
        QFETCH(CoordinateType, type);
        QFETCH(QString, field);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        Fixture f;
        QLineEdit* edit = find(f.open(type), field);
        edit->clear();
        QTest::keyClicks(edit, keys);
        QCOMPARE(edit->text(), text);
    }

    void acceptedOkKeepsEntries()
    {
        Fixture f;
        CoordinateDialog* dialog = f.open(CoordinateType::XY);
        const char* names[] = {"TextXStart", "TextXEnd", "TextYStart", "TextYEnd"};
        const char* values[] = {"-2.5", "10.4", "3.5", "20"};
        for (int i = 0; i < 4; ++i) {
            QLineEdit* edit = find(dialog, QLatin1String(names[i]));
            edit->clear();
            QTest::keyClicks(edit, QLatin1String(values[i]));
        }
        QTest::mouseClick(find<QPushButton>(dialog, QStringLiteral("OkButton")), Qt::LeftButton);
        QVERIFY(f.messages.shown.empty());
        QVERIFY(f.domain.domainValid);
        QCOMPARE(f.domain.bounds, (std::array<double, 6>{-2, 10, 4, 20, 0, 0}));
        QVERIFY(!dialog->isVisible());
        QCOMPARE(f.host.dialog(), dialog);

        // Another layout shows the other groups as they were; back in X/Y the values are there.
        QCOMPARE(f.open(CoordinateType::LatLon), dialog);
        QCOMPARE(find(dialog, QStringLiteral("txtLat1"))->text(), QStringLiteral("45"));
        QCOMPARE(dialog->size(), QSize(450, 226));
        QTest::mouseClick(find<QPushButton>(dialog, QStringLiteral("OkButton")), Qt::LeftButton);
        QCOMPARE(f.domain.bounds, (std::array<double, 6>{95, 95, 45, 45, 0, 0}));

        QCOMPARE(f.open(CoordinateType::XY), dialog);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(find(dialog, QLatin1String(names[i]))->text(), QLatin1String(values[i]));
        QCOMPARE(focusName(), QStringLiteral("OkButton"));
    }

    void refusedOkKeepsDialogOpen()
    {
        Fixture f;
        f.domain.domainValid = true;
        f.domain.bounds = {1, 2, 3, 4, 5, 6};
        CoordinateDialog* dialog = f.open(CoordinateType::IJK);
        QTest::mouseClick(find<QPushButton>(dialog, QStringLiteral("OkButton")), Qt::LeftButton);
        QCOMPARE(
            f.messages.shown,
            (std::vector<ShownMessage>{
                {ShownMessage::Kind::Dialog,
                 QStringLiteral(
                     "Starting indices for i, j and k must be smaller than ending indices")}}));
        QVERIFY(!f.domain.domainValid);
        QCOMPARE(f.domain.bounds, (std::array<double, 6>{1, 2, 3, 4, 5, 6}));
        QVERIFY(dialog->isVisible());
        QCOMPARE(f.host.dialog(), dialog);
    }

    void okStoresLatLonAfterLeavingAField()
    {
        Fixture f;
        CoordinateDialog* dialog = f.open(CoordinateType::LatLon);
        QLineEdit* lon = find(dialog, QStringLiteral("txtLon1"));
        lon->setFocus();
        QTest::keyClick(lon, Qt::Key_Minus); // E -> W
        QLineEdit* minutes = find(dialog, QStringLiteral("txtLatM2"));
        minutes->setFocus();
        minutes->setText(QStringLiteral("30"));
        // The press on OK takes the focus first, so the minutes reach the decimal field.
        QTest::mouseClick(find<QPushButton>(dialog, QStringLiteral("OkButton")), Qt::LeftButton);
        QVERIFY(f.messages.shown.empty());
        QVERIFY(f.domain.domainValid);
        QCOMPARE(f.domain.bounds, (std::array<double, 6>{-95, 95, 45, 45.5, 0, 0}));
    }

    void discarding_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel") << "cancel";
        QTest::newRow("close command") << "close";
        QTest::newRow("Escape") << "escape";
    }
    void discarding()
    {
        QFETCH(QString, how);
        Fixture f;
        f.domain.domainValid = true;
        f.domain.bounds = {1, 2, 3, 4, 5, 6};
        QPointer<CoordinateDialog> dialog = f.open(CoordinateType::XY);
        QLineEdit* x = find(dialog, QStringLiteral("TextXEnd"));
        x->setFocus();
        x->setText(QStringLiteral("50"));
        if (how == QLatin1String("cancel"))
            QTest::mouseClick(find<QPushButton>(dialog, QStringLiteral("CancelButton")),
                              Qt::LeftButton);
        else if (how == QLatin1String("close"))
            QVERIFY(dialog->close());
        else
            QTest::keyClick(x, Qt::Key_Escape);

        QCOMPARE(f.host.dialog(), nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(dialog.isNull());
        QVERIFY(f.domain.domainValid);
        QCOMPARE(f.domain.bounds, (std::array<double, 6>{1, 2, 3, 4, 5, 6}));
        QVERIFY(f.messages.shown.empty());

        CoordinateDialog* fresh = f.open(CoordinateType::XY);
        QVERIFY(fresh);
        QCOMPARE(find(fresh, QStringLiteral("TextXEnd"))->text(), QStringLiteral("0"));
    }
};

QTEST_MAIN(CoordinateDialogTest)
#include "coordinate_dialog_test.moc"
