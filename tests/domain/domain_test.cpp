// What OK checks and stores for each coordinate type, and the rules that keep the decimal and
// the degree/minute/second forms of a latitude or longitude in step; then the coordinate dialog
// itself, which applies them: its layouts, typing into it, and the ways it ends; and the fields
// a box drawn on the domain map fills, per layout.
#include "domain/coordinate_dialog.h"
#include "domain/coordinate_dialog_host.h"
#include "domain/domain_checks.h"
#include "domain/drawn_box_fields.h"
#include "domain/lat_lon_entry.h"
#include "fixtures/fake_services.h"
#include "support/data_rows.h"
#include "support/messages.h"
#include "support/qt_test_prelude.h"

#include <QSignalSpy>

using namespace gridloom;
using namespace gridloom::testing;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(gridloom::Angle)
Q_DECLARE_METATYPE(gridloom::Corner)
Q_DECLARE_METATYPE(gridloom::DmsField)
Q_DECLARE_METATYPE(gridloom::CoordinateType)
Q_DECLARE_METATYPE(gridloom::DrawnBox)

namespace {

const QString xyMissing = message("xyMissing");
const QString xyOrder = message("xyOrder");
const QString indexMissing = message("indexMissing");
const QString indexOrder = message("indexOrder");
const QString startMissing = message("startCornerMissing");
const QString endMissing = message("endCornerMissing");

QString notANumber(const char* field)
{
    return u"Please enter numbers only: %1 is not a number."_s.arg(QLatin1String(field));
}

QString outOfRange(const char* field)
{
    return u"Please enter values from -32768 to 32767 only: %1 is out of range."_s.arg(
        QLatin1String(field));
}

// The bounds a record holds before OK, so a test sees which of them were written.
constexpr std::array<double, 6> earlier{-1, -2, -3, -4, 7, 8};

QString text(const std::array<double, 6>& bounds)
{
    QStringList numbers;
    for (double bound : bounds)
        numbers << QString::number(bound);
    return numbers.join(u' ');
}

// OK's action on the X/Y, index or longitude/latitude texts, told apart by their number (4, 6
// or 8, '|'-separated; the last as lat1|lon1|latBox1|lonBox1|lat2|...). Returns the refusal.
QString confirm(const QString& joined, DomainSelection& domain)
{
    std::vector<std::string> t;
    for (const QString& text : joined.split(u'|'))
        t.push_back(text.toStdString());
    std::optional<std::string> refusal;
    if (t.size() == 4)
        refusal = confirmXYDomain({t[0], t[1], t[2], t[3]}, domain);
    else if (t.size() == 6)
        refusal = confirmIndexDomain({t[0], t[1], t[2], t[3], t[4], t[5]}, domain);
    else
        refusal = confirmLatLonDomain({t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7]}, domain);
    return QString::fromStdString(refusal.value_or(std::string()));
}

constexpr Angle lat = Angle::Latitude;
constexpr Angle lon = Angle::Longitude;

// Degree, minute and second texts written as "degrees|minutes|seconds".
QString joined(const DmsTexts& texts)
{
    return QString::fromStdString(texts.degrees + '|' + texts.minutes + '|' + texts.seconds);
}

DmsTexts split(const QString& texts)
{
    const QStringList parts = texts.split(u'|');
    return {parts[0].toStdString(), parts[1].toStdString(), parts[2].toStdString()};
}

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

// The entries of a dialog that was just created, in the order `entries` sorts them.
const QStringList defaults =
    u"TextIndexiEnd=0 TextIndexiStart=0 TextIndexjEnd=0 TextIndexjStart=0 TextIndexkEnd=0 "
    "TextIndexkStart=0 TextXEnd=0 TextXStart=0 TextYEnd=0 TextYStart=0 cboLatLL1=N "
    "cboLatLL2=N cboLonLL1=E cboLonLL2=E txtLat1=45 txtLat2=45 txtLatD1=45 txtLatD2=45 "
    "txtLatM1=00 txtLatM2=00 txtLatS1=0.00 txtLatS2=0.00 txtLon1=95 txtLon2=95 txtLonD1=95 "
    "txtLonD2=95 txtLonM1=00 txtLonM2=00 txtLonS1=0.00 txtLonS2=0.00"_s.split(u' ');

// Types into the fields as a user does, "name=keys name=keys ...": focus, select all, keys.
// Then the entries that differ from a new dialog's, where the focus is, and how many edits the
// dialog reported: one a keystroke or field left at most, however the handling rewrites fields.
QString typeInto(CoordinateDialog* dialog, const QString& edits)
{
    QSignalSpy reported(dialog, &CoordinateDialog::fieldsEdited);
    for (const QString& edit : edits.split(u' ', Qt::SkipEmptyParts)) {
        auto* field = dialog->findChild<QLineEdit*>(edit.section(u'=', 0, 0));
        field->setFocus();
        field->selectAll();
        // \x01 opens a context menu over the field, which does not leave it.
        QFocusEvent menu(QEvent::FocusOut, Qt::PopupFocusReason);
        for (const QChar key : edit.section(u'=', 1)) // QTest has no character for Delete
            key == u'\x01'   ? void(QApplication::sendEvent(field, &menu))
            : key == u'\x7f' ? QTest::keyClick(field, Qt::Key_Delete)
                             : QTest::keyClick(field, key.toLatin1());
    }
    QStringList changed = entries(dialog);
    changed.removeIf([](const QString& entry) { return defaults.contains(entry); });
    return changed.join(u' ') + u" | "_s + QApplication::focusWidget()->objectName() +
           u" | %1"_s.arg(reported.count());
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
};

QString joined(const std::vector<FieldText>& fields)
{
    QStringList parts;
    for (const FieldText& field : fields)
        parts << QString::fromStdString(field.name + "=" + field.text);
    return parts.join(u' ');
}

// From west of Greenwich and south of the equator to both, on a grid whose corners fall near whole
// kilometres and cells 7-28, 3-23.
const DrawnBox southWest{CoordinateType::LatLon,
                         {-0.5, 0.0, -33.0000004, 0.0},
                         std::array{-191.2, 21.999999999, -179.0000000001, 20.0},
                         std::array{7, 28, 3, 23}};

} // namespace

class DomainTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // OK's action: the check's message, or on acceptance the bounds 1 to 6 it leaves.
    void confirm_data()
    {
        columns<QString, QString, QString>("texts", "message", "stored");
        const QString ok;
        addRow("X/Y rounded, halves to even", "2.5|3.5|-2.5|20.6", ok, "2 4 -2 21 7 8");
        addRow("X/Y compared with fractions", "10.2|10.4|0|1", ok, "10 10 0 1 7 8");
        addRow("X/Y rounds beyond 16 bits", "0|32767.5|0|1", outOfRange("X end"), "");
        addRow("X/Y empty", "0|10|0|", xyMissing, "");
        addRow("X/Y presence before numbers", "abc|10|0|", xyMissing, "");
        addRow("X/Y blanks are not empty", "0|  |0|20", notANumber("X end"), "");
        addRow("X/Y numbers before order", "9|1|0|2/3", notANumber("Y end"), "");
        addRow("X/Y equal X", "5|5|0|20", xyOrder, "");
        addRow("X/Y Y start above end", "0|10|21|20", xyOrder, "");
        addRow("X/Y equal Y", "0|10|20|20", xyOrder, "");
        addRow("index halves to even, all six", "2.5|10|3.5|20.6|1|5", ok, "2 10 4 21 1 5");
        addRow("index empty", "1|10|2|20|1|", indexMissing, "");
        addRow("index i 2.5 rounds to i end", "2.5|2|2|20|1|5", indexOrder, "");
        addRow("index j 3.5 rounds to j end", "1|10|3.5|4|1|5", indexOrder, "");
        addRow("index equal k", "1|10|2|20|3|3", indexOrder, "");
        addRow("index beyond 16 bits", "1|10|2|40000|1|5", outOfRange("j end"), "");
        addRow("lat/lon W and S, fractions kept", "45.5|95.25|N|W|11|21|S|E", ok,
               "-95.25 21 45.5 -11 7 8");
        addRow("lat/lon S and W", "10|20|S|E|11|21|N|W", ok, "20 -21 -10 11 7 8");
        addRow("lat/lon only exact S and W negate, any order", "60|20|s|w|11|21|S |West", ok,
               "20 21 60 11 7 8");
        addRow("lat/lon slash", "45|95|N|E|46|9/6|N|E", notANumber("end longitude"), "");
        const QStringList full = u"45|95|N|E|46|96|N|E"_s.split(u'|');
        const char* names[] = {"lat1", "lon1", "lat box 1", "lon box 1",
                               "lat2", "lon2", "lat box 2", "lon box 2"};
        for (qsizetype i = 0; i < full.size(); ++i) {
            QStringList texts = full;
            texts[i].clear();
            QTest::addRow("lat/lon empty %s", names[i])
                << texts.join(u'|') << (i < 4 ? startMissing : endMissing) << "";
        }
    }
    void confirm()
    {
        auto [texts, message, stored] = fetchRow<QString, QString, QString>();
        const bool accepted = message.isEmpty();
        // The flag starts at the opposite of what the action must leave.
        DomainSelection domain{earlier, !accepted};
        QCOMPARE(::confirm(texts, domain), message);
        QCOMPARE(domain.domainValid, accepted);
        QCOMPARE(text(domain.bounds), accepted ? stored : text(earlier));
    }

    void decimalFieldChange_data()
    {
        // dms: empty: the three fields keep their texts
        columns<QString, Angle, Corner, QString, QString>("text", "angle", "corner", "decimal",
                                                          "dms");
        const auto start = Corner::Start, end = Corner::End;
        addRow("start latitude at its limit", "90", lat, start, "90.000000", "90|0|0.00");
        addRow("start longitude above its limit", "180.5", lon, start, "180.000000", "180|0|0.00");
        addRow("end latitude has no limit", "95", lat, end, "95", "95|0|0.00");
        addRow("signed value below the limit", "-100", lat, start, "-100", "100|0|0.00");
        addRow("seconds just below the carry", "45.99999", lat, start, "45.99999", "45|59|59.96");
        addRow("carry into the degrees", "45.999999", lat, start, "45.999999", "46|0|0.00");
        addRow("carry into minutes only", "10.016666666", lon, end, "10.016666666", "10|1|0.00");
        addRow("carry stops at the degree limit", "90.999999", lat, end, "90.999999", "90|0|0.00");
        addRow("empty", "", lat, start, "", "0|0|0.00");
        addRow("lone point among blanks", " . ", lon, start, " . ", "0|0|0.00");
        addRow("blanks only", "   ", lat, end, "   ", "");
        addRow("slash", "1/2", lon, start, "1/2", "");
        addRow("too large for the degree field", "1e300", lat, end, "1e300", "");
    }
    void decimalFieldChange()
    {
        auto [text, angle, corner, decimal, dms] =
            fetchRow<QString, Angle, Corner, QString, QString>();
        const DecimalFieldUpdate update = decimalFieldChanged(text.toStdString(), angle, corner);
        QCOMPARE(QString::fromStdString(update.decimal), decimal);
        QCOMPARE(update.dms ? joined(*update.dms) : QString(), dms);
    }

    void leavingDmsField_data()
    {
        columns<QString, DmsField, Angle, QString, QString>("texts", "left", "angle", "shown",
                                                            "decimal");
        const auto deg = DmsField::Degrees, min = DmsField::Minutes, sec = DmsField::Seconds;
        addRow("latitude degrees: 2 characters", "123|0|0", deg, lat, "123|0|0", "12.000000");
        addRow("longitude degrees: 3 characters", "1234|0|0", deg, lon, "1234|0|0", "123.000000");
        addRow("degrees clamped when left", "200|0|0", deg, lon, "180|0|0", "180.000000");
        addRow("degrees kept when minutes left", "95|30|0", min, lat, "95|30|0", "95.500000");
        addRow("minutes clamped when left", "45|75|0", min, lat, "45|59|0", "45.983333");
        addRow("minutes: 2 characters", "10|123|0", sec, lon, "10|123|0", "10.200000");
        addRow("seconds clamped when left", "45|0|61.5", sec, lat, "45|0|59.99", "45.016664");
        addRow("seconds: 5 characters", "45|0|12.345678", sec, lat, "45|0|12.345678", "45.003428");
        addRow("seconds dropped at the limit", "90|30|15", sec, lat, "90|30|0.00", "90.500000");
        addRow("minutes left: limit seconds kept", "90|30|36", min, lat, "90|30|36", "90.510000");
        addRow("typed minus signs ignored", "-5|-30|-36", deg, lat, "-5|-30|-36", "5.060000");
        addRow("empty fields read as 0", "||", sec, lat, "||", "0.000000");
        addRow("no number shown as 0", "ab|/|x", min, lon, "0|0|0.00", "0.000000");
    }
    void leavingDmsField()
    {
        auto [texts, left, angle, shown, decimal] =
            fetchRow<QString, DmsField, Angle, QString, QString>();
        const DmsFieldUpdate update = dmsFieldLeft(split(texts), left, angle);
        QCOMPARE(joined(update.dms), shown);
        QCOMPARE(QString::fromStdString(update.decimal), decimal);
    }

    void hemisphereSwitch()
    {
        // Each box's text after the minus key, in a latitude and in a longitude row.
        QString after;
        for (const char* box : {"N", "S", "E", "W", ""})
            for (const Angle angle : {lat, lon})
                after += QString::fromStdString(switchHemisphere(box, angle)) + u'|';
        QCOMPARE(after, u"S|N|N|S|E|W|W|E|||"_s);
    }

    // The dialog.
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    void noTypeOpensNothing()
    {
        Fixture f;
        f.host.open(CoordinateType::None);
        QCOMPARE(f.host.dialog(), nullptr);
        QCOMPARE(f.messages.shown, QStringList{u"job: "_s + message("noCoordinateType")});
    }

    void layouts_data()
    {
        // The outer sizes in twips (6840 x 3810, 4150 x 2565) less the frame they were drawn
        // for: 3 pixels a side and a 22-pixel title bar.
        columns<CoordinateType, QString, QSize>("type", "shownFrames", "client");
        addRow("lon/lat", CoordinateType::LatLon, "Geodetic1 Geodetic2", QSize(450, 226));
        addRow("grid indices", CoordinateType::IJK, "ijkFrame", QSize(271, 143));
        addRow("X/Y", CoordinateType::XY, "XYFrame", QSize(271, 143));
    }
    void layouts()
    {
        auto [type, shownFrames, client] = fetchRow<CoordinateType, QString, QSize>();
        Fixture f;
        // Laid out once the other way first: a layout must undo what the previous one showed.
        f.open(type == CoordinateType::LatLon ? CoordinateType::XY : CoordinateType::LatLon);
        CoordinateDialog* dialog = f.open(type);
        QCOMPARE(dialog->windowTitle() + u' ' + QApplication::focusWidget()->objectName(),
                 u"Domain coordinates OkButton"_s);
        QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
        QCOMPARE(dialog->layoutType(), type);
        QCOMPARE(dialog->size(), client);
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
        // Every caption shows whole.
        for (const QLabel* label : dialog->findChildren<QLabel*>())
            QVERIFY2(!label->isVisible() || label->sizeHint().width() <= label->width(),
                     qPrintable(label->text()));
    }

    // Keys typed into the longitude/latitude fields ("field=keys ..."; Tab, Enter and Delete as
    // \t, \r and \x7f, a context menu opened over the field as \x01): the entries that then
    // differ from a new dialog's, and where the focus is.
    void latLonTyping_data()
    {
        columns<QString, QString>("edits", "changes");
        addRow("9 then 5 into the start latitude", "txtLat1=95",
               "txtLat1=90.000000 txtLatD1=90 txtLatM1=0 | txtLat1 | 2");
        addRow("decimal field passes digits, point and slash", "txtLat2=4a5+,x.1/",
               "txtLat2=45.1/ txtLatM2=6 | txtLat2 | 5");
        addRow("Enter: next", "txtLat1=12\r", "txtLat1=12 txtLatD1=12 txtLatM1=0 | cboLatLL1 | 2");
        addRow("minus, start latitude", "txtLat1=-", "cboLatLL1=S | cboLatLL1 | 1");
        addRow("Delete takes the selected degrees", "txtLat2=\x7f",
               "txtLat2= txtLatD2=0 txtLatM2=0 | txtLat2 | 1");
        addRow("leaving start latitude degrees, then the start limit", "txtLatM1=30 txtLatD1=95\t",
               "txtLat1=90.000000 txtLatD1=90 txtLatM1=0 | txtLatM1 | 2");
        addRow("a context menu over degrees", "txtLatD1=95\x01", "txtLatD1=95 | txtLatD1 | 0");
        addRow("leaving end longitude seconds, clamped, then carried", "txtLonS2=61.5\t",
               "txtLon2=95.016664 txtLonM2=1 | txtLonM2 | 1");
    }
    void latLonTyping()
    {
        auto [edits, changes] = fetchRow<QString, QString>();
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
        const QString unchanged = u"1 2 3 4 5 6"_s;
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
               message("indexOrder"), unchanged);
        addRow("Cancel", CoordinateType::XY, "TextXEnd=50", "CancelButton", "", unchanged);
        addRow("close command", CoordinateType::XY, "TextXEnd=50", "close", "", unchanged);
    }
    void ending()
    {
        auto [type, edits, how, message, bounds] =
            fetchRow<CoordinateType, QString, QString, QString, QString>();
        Fixture f;
        QPointer<CoordinateDialog> dialog = f.open(type);
        typeInto(dialog, edits);
        // Enter in a field presses no button.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(f.messages.shown.isEmpty());
        if (how == u"close"_s) {
            QVERIFY(dialog->close());
        } else if (how == u"Enter"_s) {
            dialog->findChild<QPushButton*>(u"OkButton"_s)->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else {
            QTest::mouseClick(dialog->findChild<QPushButton*>(how), Qt::LeftButton);
        }
        const bool refused = !message.isEmpty();
        QCOMPARE(f.messages.shown, refused ? QStringList{u"dialog: "_s + message} : QStringList());
        QCOMPARE(f.domain.domainValid, !refused);
        QCOMPARE(text(f.domain.bounds), bounds);
        QCOMPARE(dialog->isVisible(), refused);
        const bool discarded = how != u"OkButton"_s && how != u"Enter"_s;
        QCOMPARE(f.host.dialog(), discarded ? nullptr : dialog.data());
        if (refused)
            return;
        const QStringList left = entries(dialog);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(dialog.isNull(), discarded);
        const auto other = type == CoordinateType::XY ? CoordinateType::LatLon : CoordinateType::XY;
        QCOMPARE(entries(f.open(other)), discarded ? defaults : left);
    }

    void fields_data()
    {
        columns<CoordinateType, DrawnBox, QString>("type", "box", "fields");
        addRow("lat/lon: hemispheres from the signs, six decimals", CoordinateType::LatLon,
               southWest,
               "txtLon1=0.500000 cboLonLL1=W txtLat1=33.000000 cboLatLL1=S txtLon2=0.000000 "
               "cboLonLL2=E txtLat2=0.000000 cboLatLL2=N");
        addRow("x/y: whole kilometres outward, rounding noise ignored", CoordinateType::XY,
               southWest, "TextXStart=-192 TextXEnd=22 TextYStart=-179 TextYEnd=20");
        addRow("i,j,k: the cells, k left alone", CoordinateType::IJK, southWest,
               "TextIndexiStart=7 TextIndexiEnd=28 TextIndexjStart=3 TextIndexjEnd=23");
        DrawnBox noGrid = southWest;
        noGrid.km.reset();
        noGrid.cells.reset();
        addRow("x/y without a known grid", CoordinateType::XY, noGrid, "");
        addRow("i,j,k without a known grid", CoordinateType::IJK, noGrid, "");
        addRow("no type", CoordinateType::None, southWest, "");
    }
    void fields()
    {
        auto [type, box, fields] = fetchRow<CoordinateType, DrawnBox, QString>();
        QCOMPARE(joined(drawnBoxFields(type, box)), fields);
    }
};

QTEST_MAIN(DomainTest)
#include "domain_test.moc"
