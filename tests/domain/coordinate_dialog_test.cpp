#include "domain/coordinate_dialog.h"
#include "support/data_rows.h"
#include "support/fake_services.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace gridloom;
using gridloom::testing::addRow;
using gridloom::testing::columns;
using gridloom::testing::fetchRow;
using gridloom::testing::RecordingMessages;

Q_DECLARE_METATYPE(gridloom::CoordinateType)

namespace {

// Every field and hemisphere box as "name=text", sorted by name.
QStringList entries(const QWidget* dialog)
{
    QStringList result;
    for (const QLineEdit* edit : dialog->findChildren<QLineEdit*>())
        result << edit->objectName() + u'=' + edit->text();
    for (const QComboBox* box : dialog->findChildren<QComboBox*>())
        result << box->objectName() + u'=' + box->currentText();
    result.sort();
    return result;
}

// The entries of a dialog that was just created.
const QStringList defaults = [] {
    QStringList result =
        QStringLiteral(
            "TextXStart=0 TextXEnd=0 TextYStart=0 TextYEnd=0 TextIndexiStart=0 TextIndexiEnd=0 "
            "TextIndexjStart=0 TextIndexjEnd=0 TextIndexkStart=0 TextIndexkEnd=0 cboLatLL1=N "
            "cboLatLL2=N cboLonLL1=E cboLonLL2=E txtLat1=45 txtLat2=45 txtLatD1=45 txtLatD2=45 "
            "txtLatM1=00 txtLatM2=00 txtLatS1=0.00 txtLatS2=0.00 txtLon1=95 txtLon2=95 txtLonD1=95 "
            "txtLonD2=95 txtLonM1=00 txtLonM2=00 txtLonS1=0.00 txtLonS2=0.00")
            .split(u' ');
    result.sort();
    return result;
}();

// Types into the fields as a user does, "name=keys name=keys ...": focus, select all, keys.
// Then the entries that differ from a new dialog's, and where the focus is.
QString typeInto(QWidget* dialog, const QString& edits)
{
    for (const QString& edit : edits.split(u' ', Qt::SkipEmptyParts)) {
        auto* field = dialog->findChild<QLineEdit*>(edit.section(u'=', 0, 0));
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, edit.section(u'=', 1));
    }
    QStringList changed = entries(dialog);
    changed.removeIf([](const QString& entry) { return defaults.contains(entry); });
    return changed.join(u' ') + QStringLiteral(" | ") + QApplication::focusWidget()->objectName();
}

// One dialog host as the main window holds it, with recorded messages.
struct Fixture {
    DomainSelection domain{{1, 2, 3, 4, 5, 6}, true};
    RecordingMessages messages;
    CoordinateDialogHost host{nullptr, domain, messages};

    // Opens the dialog and waits until it really has the keyboard, so that focus moves send
    // their events as they do for a user.
    CoordinateDialog* open(CoordinateType type)
    {
        host.open(type);
        if (host.dialog() && !QTest::qWaitForWindowActive(host.dialog()))
            qWarning("the coordinate dialog did not become active");
        return host.dialog();
    }
    QString bounds() const
    {
        QStringList numbers;
        for (double bound : domain.bounds)
            numbers << QString::number(bound);
        return numbers.join(u' ');
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
        QCOMPARE(f.messages.shown,
                 QStringList{QStringLiteral("job: Select a type of coordinnate first")});
    }

    void layouts_data()
    {
        columns<CoordinateType, QString>("type", "shownFrames");
        addRow("longitude/latitude", CoordinateType::LatLon, "Geodetic1 Geodetic2");
        addRow("grid indices", CoordinateType::IJK, "ijkFrame");
        addRow("X/Y", CoordinateType::XY, "XYFrame");
    }
    void layouts()
    {
        auto [type, shownFrames] = fetchRow<CoordinateType, QString>("type", "shownFrames");
        Fixture f;
        // Laid out once the other way first: a layout must undo what the previous one showed.
        f.open(type == CoordinateType::LatLon ? CoordinateType::XY : CoordinateType::LatLon);
        CoordinateDialog* dialog = f.open(type);
        QCOMPARE(dialog->windowTitle() + u' ' + QApplication::focusWidget()->objectName(),
                 QStringLiteral("Domain coordinates OkButton"));
        QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
        QCOMPARE(dialog->layoutType(), type);
        QStringList shown;
        for (const QWidget* part : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!part->isVisible())
                continue;
            // Nothing shown is clipped by the client area.
            QVERIFY2(dialog->rect().contains(part->geometry()), qPrintable(part->objectName()));
            if (qobject_cast<const QGroupBox*>(part))
                shown << part->objectName();
        }
        shown.sort();
        QCOMPARE(shown.join(u' '), shownFrames);
    }

    // Keys typed into the longitude/latitude fields ("field=keys ..."; Tab and Enter as \t and
    // \r): the entries that then differ from a new dialog's, and where the focus is.
    void latLonTyping_data()
    {
        columns<QString, QString>("edits", "changes");
        addRow("9 then 5 into the start latitude", "txtLat1=95",
               "txtLat1=90.000000 txtLatD1=90 txtLatM1=0 | txtLat1");
        addRow("decimal field passes digits, point and slash", "txtLat2=4a5+,x.1/",
               "txtLat2=45.1/ txtLatM2=6 | txtLat2");
        addRow("Enter moves on", "txtLat1=12\r", "txtLat1=12 txtLatD1=12 txtLatM1=0 | cboLatLL1");
        addRow("minus, start latitude", "txtLat1=-", "cboLatLL1=S | cboLatLL1");
        addRow("minus, end longitude", "txtLon2=-", "cboLonLL2=W | txtLon1");
        addRow("leaving start latitude degrees, then the start limit", "txtLatM1=30 txtLatD1=95\t",
               "txtLat1=90.000000 txtLatD1=90 txtLatM1=0 | txtLatM1");
        addRow("leaving end longitude seconds, clamped, then carried", "txtLonS2=61.5\t",
               "txtLon2=95.016664 txtLonM2=1 | txtLonM2");
    }
    void latLonTyping()
    {
        auto [edits, changes] = fetchRow<QString, QString>("edits", "changes");
        Fixture f;
        CoordinateDialog* dialog = f.open(CoordinateType::LatLon);
        QCOMPARE(typeInto(dialog, edits), changes);
        QVERIFY(dialog->isVisible() && f.messages.shown.isEmpty());
    }

    // How the dialog ends: what OK stores from the shown layout's fields (typed through their
    // key filters), whether the dialog stays, and what the next opening in another layout shows.
    void ending_data()
    {
        columns<CoordinateType, QString, QString, QString, QString>("type", "edits", "how",
                                                                    "message", "bounds");
        const QString unchanged = QStringLiteral("1 2 3 4 5 6");
        addRow("X/Y OK, signed decimals typed", CoordinateType::XY,
               "TextXStart=-2.5a TextXEnd=10.4 TextYStart=3.5 TextYEnd=20", "OkButton", "",
               "-2 10 4 20 5 6");
        addRow("indices OK by Enter, digits typed", CoordinateType::IJK,
               "TextIndexiStart=-1 TextIndexiEnd=1.0 TextIndexjStart=2 TextIndexjEnd=20 "
               "TextIndexkStart=3 TextIndexkEnd=4",
               "Enter", "", "1 10 2 20 3 4");
        addRow("lon/lat OK, pressed while in a minute field", CoordinateType::LatLon,
               "txtLon1=- txtLatM2=30", "OkButton", "", "-95 95 45 45.5 5 6");
        addRow("OK refused", CoordinateType::IJK, "TextIndexiEnd=10", "OkButton",
               "Starting indices for i, j and k must be smaller than ending indices", unchanged);
        addRow("Cancel", CoordinateType::XY, "TextXEnd=50", "CancelButton", "", unchanged);
        addRow("close command", CoordinateType::XY, "TextXEnd=50", "close", "", unchanged);
    }
    void ending()
    {
        auto [type, edits, how, message, bounds] =
            fetchRow<CoordinateType, QString, QString, QString, QString>("type", "edits", "how",
                                                                         "message", "bounds");
        Fixture f;
        QPointer<CoordinateDialog> dialog = f.open(type);
        typeInto(dialog, edits);
        // Enter in a field presses no button.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(f.messages.shown.isEmpty());
        if (how == QLatin1String("close")) {
            QVERIFY(dialog->close());
        } else if (how == QLatin1String("Enter")) {
            dialog->findChild<QPushButton*>(QStringLiteral("OkButton"))->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else {
            QTest::mouseClick(dialog->findChild<QPushButton*>(how), Qt::LeftButton);
        }
        const bool refused = !message.isEmpty();
        QCOMPARE(f.messages.shown,
                 refused ? QStringList{QStringLiteral("dialog: ") + message} : QStringList());
        QCOMPARE(f.domain.domainValid, !refused);
        QCOMPARE(f.bounds(), bounds);
        QCOMPARE(dialog->isVisible(), refused);
        const bool discarded = how != QLatin1String("OkButton") && how != QLatin1String("Enter");
        QCOMPARE(f.host.dialog(), discarded ? nullptr : dialog.data());
        if (refused)
            return;
        const QStringList left = entries(dialog);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(dialog.isNull(), discarded);
        const auto other = type == CoordinateType::XY ? CoordinateType::LatLon : CoordinateType::XY;
        QCOMPARE(entries(f.open(other)), discarded ? defaults : left);
    }
};

QTEST_MAIN(CoordinateDialogTest)
#include "coordinate_dialog_test.moc"
