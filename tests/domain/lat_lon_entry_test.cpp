#include "domain/lat_lon_entry.h"

#include <QTest>

using namespace gridloom;

Q_DECLARE_METATYPE(gridloom::Angle)
Q_DECLARE_METATYPE(gridloom::Corner)
Q_DECLARE_METATYPE(gridloom::DmsField)

namespace {

QStringList shown(const DmsTexts& texts)
{
    return {QString::fromStdString(texts.degrees), QString::fromStdString(texts.minutes),
            QString::fromStdString(texts.seconds)};
}

QStringList list(const char* degrees, const char* minutes, const char* seconds)
{
    return {QString::fromUtf8(degrees), QString::fromUtf8(minutes), QString::fromUtf8(seconds)};
}

} // namespace

class LatLonEntryTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void decimalToDms_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("degrees");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<double>("seconds");
        QTest::newRow("seconds not rounded") << 12.3456789 << 12 << 20 << 44.44404;
        QTest::newRow("just below a whole degree") << 45.999999 << 45 << 59 << 59.9964;
        QTest::newRow("sign dropped") << -12.5 << 12 << 30 << 0.0;
    }
    void decimalToDms()
    {
        QFETCH(double, value);
        QFETCH(int, degrees);
        QFETCH(int, minutes);
        QFETCH(double, seconds);
        const Dms dms = gridloom::decimalToDms(value);
        QCOMPARE(dms.degrees, degrees);
        QCOMPARE(dms.minutes, minutes);
        QVERIFY2(std::abs(dms.seconds - seconds) < 1e-6, QByteArray::number(dms.seconds, 'f', 9));
    }

    void dmsToDecimal_data()
    {
        QTest::addColumn<int>("degrees");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<double>("value");
        QTest::newRow("half degree") << 45 << 30 << 0.0 << 45.5;
        QTest::newRow("all three") << 10 << 15 << 18.0 << 10.255;
        QTest::newRow("signs ignored") << -5 << -30 << -36.0 << 5.51;
        QTest::newRow("minutes beyond an hour") << 45 << 75 << 0.0 << 46.25;
    }
    void dmsToDecimal()
    {
        QFETCH(int, degrees);
        QFETCH(int, minutes);
        QFETCH(double, seconds);
        QFETCH(double, value);
        QCOMPARE(gridloom::dmsToDecimal(degrees, minutes, seconds), value);
    }

    void decimalFieldChange_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Angle>("angle");
        QTest::addColumn<Corner>("corner");
        QTest::addColumn<QString>("decimal");
        QTest::addColumn<QStringList>("dms"); // empty: the three fields keep their texts

        const auto lat = Angle::Latitude;
        const auto lon = Angle::Longitude;
        const auto start = Corner::Start;
        const auto end = Corner::End;
        QTest::newRow("one digit") << "9" << lat << start << "9" << list("9", "0", "0.00");
        QTest::newRow("start latitude reaches the limit")
            << "95" << lat << start << "90.000000" << list("90", "0", "0.00");
        QTest::newRow("start latitude exactly at the limit")
            << "90" << lat << start << "90.000000" << list("90", "0", "0.00");
        QTest::newRow("limit text stays")
            << "90.000000" << lat << start << "90.000000" << list("90", "0", "0.00");
        QTest::newRow("end latitude has no limit")
            << "95" << lat << end << "95" << list("95", "0", "0.00");
        QTest::newRow("start longitude limit")
            << "180.5" << lon << start << "180.000000" << list("180", "0", "0.00");
        QTest::newRow("end longitude has no limit")
            << "200.25" << lon << end << "200.25" << list("200", "15", "0.00");
        QTest::newRow("half degree")
            << "45.5" << lat << start << "45.5" << list("45", "30", "0.00");
        QTest::newRow("seconds shown in two decimals")
            << "12.3456789" << lat << start << "12.3456789" << list("12", "20", "44.44");
        QTest::newRow("seconds just below the carry")
            << "45.99999" << lat << start << "45.99999" << list("45", "59", "59.96");
        QTest::newRow("carry into the degrees, decimal kept")
            << "45.999999" << lat << start << "45.999999" << list("46", "0", "0.00");
        QTest::newRow("carry into the minutes only")
            << "10.016666666" << lon << end << "10.016666666" << list("10", "1", "0.00");
        QTest::newRow("carry stops at the longitude limit")
            << "179.999999" << lon << start << "179.999999" << list("180", "0", "0.00");
        QTest::newRow("carry beyond the end latitude's limit is clamped")
            << "90.999999" << lat << end << "90.999999" << list("90", "0", "0.00");
        QTest::newRow("tenth of a degree despite binary fractions")
            << "0.1" << lat << start << "0.1" << list("0", "6", "0.00");
        QTest::newRow("empty") << "" << lat << start << "" << list("0", "0", "0.00");
        QTest::newRow("lone point") << "." << lon << start << "." << list("0", "0", "0.00");
        QTest::newRow("trailing point while typing")
            << "12." << lat << start << "12." << list("12", "0", "0.00");
        QTest::newRow("blanks around a number")
            << " 45.5 " << lat << start << " 45.5 " << list("45", "30", "0.00");
        QTest::newRow("slash keeps the three fields")
            << "1/2" << lat << start << "1/2" << QStringList();
        QTest::newRow("pasted word keeps the three fields")
            << "north" << lon << end << "north" << QStringList();
        QTest::newRow("blanks only keep the three fields")
            << "   " << lat << end << "   " << QStringList();
        QTest::newRow("huge end value keeps the three fields")
            << "1e300" << lat << end << "1e300" << QStringList();
        QTest::newRow("pasted minus is below the limit")
            << "-100" << lat << start << "-100" << list("100", "0", "0.00");
    }
    void decimalFieldChange()
    {
        QFETCH(QString, text);
        QFETCH(Angle, angle);
        QFETCH(Corner, corner);
        QFETCH(QString, decimal);
        QFETCH(QStringList, dms);
        const DecimalFieldUpdate update = decimalFieldChanged(text.toStdString(), angle, corner);
        QCOMPARE(QString::fromStdString(update.decimal), decimal);
        QCOMPARE(update.dms.has_value(), !dms.isEmpty());
        if (update.dms)
            QCOMPARE(shown(*update.dms), dms);
    }

    void leavingDmsField_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<DmsField>("left");
        QTest::addColumn<Angle>("angle");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("decimal");

        const auto lat = Angle::Latitude;
        const auto lon = Angle::Longitude;
        const auto deg = DmsField::Degrees;
        const auto min = DmsField::Minutes;
        const auto sec = DmsField::Seconds;
        QTest::newRow("plain") << list("45", "30", "36.00") << sec << lat
                               << list("45", "30", "36.00") << "45.510000";
        QTest::newRow("latitude degrees read by two characters")
            << list("123", "0", "0.00") << deg << lat << list("123", "0", "0.00") << "12.000000";
        QTest::newRow("longitude degrees read by three characters")
            << list("1234", "0", "0.00") << deg << lon << list("1234", "0", "0.00") << "123.000000";
        QTest::newRow("longitude degrees clamped when left")
            << list("200", "0", "0.00") << deg << lon << list("180", "0", "0.00") << "180.000000";
        QTest::newRow("degrees not clamped when the minutes are left")
            << list("95", "30", "0.00") << min << lat << list("95", "30", "0.00") << "95.500000";
        QTest::newRow("minutes clamped when left")
            << list("45", "75", "0.00") << min << lat << list("45", "59", "0.00") << "45.983333";
        QTest::newRow("minutes not clamped when the degrees are left")
            << list("45", "75", "0.00") << deg << lat << list("45", "75", "0.00") << "46.250000";
        QTest::newRow("minutes read by two characters")
            << list("10", "123", "0.00") << sec << lon << list("10", "123", "0.00") << "10.200000";
        QTest::newRow("seconds clamped when left")
            << list("45", "0", "61.5") << sec << lat << list("45", "0", "59.99") << "45.016664";
        QTest::newRow("seconds read by five characters")
            << list("45", "0", "12.345678") << sec << lat << list("45", "0", "12.345678")
            << "45.003428";
        QTest::newRow("seconds dropped at the latitude limit")
            << list("90", "30", "15.00") << sec << lat << list("90", "30", "0.00") << "90.500000";
        QTest::newRow("seconds kept at the limit when the minutes are left")
            << list("90", "30", "36.00") << min << lat << list("90", "30", "36.00") << "90.510000";
        // The minus is one of the characters read: "-30" minutes are read as "-3".
        QTest::newRow("typed minus signs ignored")
            << list("-5", "-30", "-36") << deg << lat << list("-5", "-30", "-36") << "5.060000";
        QTest::newRow("whole degrees rounded half to even")
            << list("2.5", "0", "0") << deg << lon << list("2.5", "0", "0") << "2.000000";
        QTest::newRow("whole degrees rounded half up to even")
            << list("3.5", "0", "0") << deg << lon << list("3.5", "0", "0") << "4.000000";
        QTest::newRow("minutes cut before their fraction")
            << list("0", "3.5", "0") << min << lon << list("0", "3.5", "0") << "0.050000";
        QTest::newRow("word in the degrees shown as 0")
            << list("ab", "30", "0.00") << min << lat << list("0", "30", "0.00") << "0.500000";
        QTest::newRow("slash in the minutes shown as 0")
            << list("10", "/", "0.00") << deg << lon << list("10", "0", "0.00") << "10.000000";
    }
    void leavingDmsField()
    {
        QFETCH(QStringList, texts);
        QFETCH(DmsField, left);
        QFETCH(Angle, angle);
        QFETCH(QStringList, shown);
        QFETCH(QString, decimal);
        const DmsTexts before{texts[0].toStdString(), texts[1].toStdString(),
                              texts[2].toStdString()};
        const DmsFieldUpdate update = dmsFieldLeft(before, left, angle);
        QCOMPARE(::shown(update.dms), shown);
        QCOMPARE(QString::fromStdString(update.decimal), decimal);
    }

    void hemisphereSwitch_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<Angle>("angle");
        QTest::addColumn<QString>("after");
        QTest::newRow("north to south") << "N" << Angle::Latitude << "S";
        QTest::newRow("south to north") << "S" << Angle::Latitude << "N";
        QTest::newRow("east to west") << "E" << Angle::Longitude << "W";
        QTest::newRow("longitude letter in a latitude box") << "E" << Angle::Latitude << "E";
        QTest::newRow("empty") << "" << Angle::Longitude << "";
    }
    void hemisphereSwitch()
    {
        QFETCH(QString, box);
        QFETCH(Angle, angle);
        QFETCH(QString, after);
        QCOMPARE(QString::fromStdString(switchHemisphere(box.toStdString(), angle)), after);
    }
};

QTEST_APPLESS_MAIN(LatLonEntryTest)
#include "lat_lon_entry_test.moc"
