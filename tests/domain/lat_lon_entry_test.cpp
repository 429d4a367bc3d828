#include "data_rows.h"
#include "domain/lat_lon_entry.h"

#include <QTest>
#include <cmath>

using namespace gridloom;
using gridloom::testing::addRow;

Q_DECLARE_METATYPE(gridloom::Angle)
Q_DECLARE_METATYPE(gridloom::Corner)
Q_DECLARE_METATYPE(gridloom::DmsField)

namespace {

constexpr Angle lat = Angle::Latitude;
constexpr Angle lon = Angle::Longitude;

// Degree, minute and second texts written as "degrees|minutes|seconds".
QString joined(const DmsTexts& texts)
{
    return QString::fromStdString(texts.degrees + '|' + texts.minutes + '|' + texts.seconds);
}

DmsTexts split(const QString& texts)
{
    const QStringList parts = texts.split(QLatin1Char('|'));
    return {parts[0].toStdString(), parts[1].toStdString(), parts[2].toStdString()};
}

} // namespace

class LatLonEntryTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void conversions_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("degrees");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<double>("seconds");
        addRow("seconds not rounded", 12.3456789, 12, 20, 44.44404);
        addRow("all three parts", 10.255, 10, 15, 18.0);
        addRow("sign dropped", -12.5, 12, 30, 0.0);
    }
    void conversions()
    {
        QFETCH(double, value);
        QFETCH(int, degrees);
        QFETCH(int, minutes);
        QFETCH(double, seconds);
        const Dms dms = decimalToDms(value);
        QCOMPARE(dms.degrees, degrees);
        QCOMPARE(dms.minutes, minutes);
        QVERIFY2(std::abs(dms.seconds - seconds) < 1e-6, QByteArray::number(dms.seconds, 'f', 9));
        QVERIFY(std::abs(dmsToDecimal(degrees, minutes, seconds) - std::abs(value)) < 1e-9);
        // Signs typed into the three fields are ignored.
        QCOMPARE(dmsToDecimal(-degrees, -minutes, -seconds),
                 dmsToDecimal(degrees, minutes, seconds));
    }

    void decimalFieldChange_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Angle>("angle");
        QTest::addColumn<Corner>("corner");
        QTest::addColumn<QString>("decimal");
        QTest::addColumn<QString>("dms"); // empty: the three fields keep their texts
        const auto start = Corner::Start;
        const auto end = Corner::End;
        addRow("start latitude at its limit", "90", lat, start, "90.000000", "90|0|0.00");
        addRow("start longitude above its limit", "180.5", lon, start, "180.000000", "180|0|0.00");
        addRow("end latitude has no limit", "95", lat, end, "95", "95|0|0.00");
        addRow("signed value below the limit", "-100", lat, start, "-100", "100|0|0.00");
        addRow("seconds in two decimals", "12.3456789", lon, end, "12.3456789", "12|20|44.44");
        addRow("seconds just below the carry", "45.99999", lat, start, "45.99999", "45|59|59.96");
        addRow("carry just above 59.99 seconds", "45.999998", lat, end, "45.999998", "46|0|0.00");
        addRow("carry into the degrees", "45.999999", lat, start, "45.999999", "46|0|0.00");
        addRow("carry into the minutes only", "10.016666666", lon, end, "10.016666666",
               "10|1|0.00");
        addRow("carry stops at the degree limit", "90.999999", lat, end, "90.999999", "90|0|0.00");
        addRow("empty", "", lat, start, "", "0|0|0.00");
        addRow("lone point among blanks", " . ", lon, start, " . ", "0|0|0.00");
        addRow("blanks only", "   ", lat, end, "   ", "");
        addRow("slash", "1/2", lon, start, "1/2", "");
        addRow("too large for the degree field", "1e300", lat, end, "1e300", "");
    }
    void decimalFieldChange()
    {
        QFETCH(QString, text);
        QFETCH(Angle, angle);
        QFETCH(Corner, corner);
        QFETCH(QString, decimal);
        QFETCH(QString, dms);
        const DecimalFieldUpdate update = decimalFieldChanged(text.toStdString(), angle, corner);
        QCOMPARE(QString::fromStdString(update.decimal), decimal);
        QCOMPARE(update.dms ? joined(*update.dms) : QString(), dms);
    }

    void leavingDmsField_data()
    {
        QTest::addColumn<QString>("texts");
        QTest::addColumn<DmsField>("left");
        QTest::addColumn<Angle>("angle");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("decimal");
        const auto deg = DmsField::Degrees;
        const auto min = DmsField::Minutes;
        const auto sec = DmsField::Seconds;
        addRow("latitude degrees: 2 characters", "123|0|0", deg, lat, "123|0|0", "12.000000");
        addRow("longitude degrees: 3 characters", "1234|0|0", deg, lon, "1234|0|0", "123.000000");
        addRow("degrees clamped when left", "200|0|0", deg, lon, "180|0|0", "180.000000");
        addRow("degrees kept when minutes left", "95|30|0", min, lat, "95|30|0", "95.500000");
        addRow("minutes clamped when left", "45|75|0", min, lat, "45|59|0", "45.983333");
        addRow("others kept when degrees left", "45|75|61.5", deg, lat, "45|75|61.5", "46.267083");
        addRow("minutes: 2 characters", "10|123|0", sec, lon, "10|123|0", "10.200000");
        addRow("seconds clamped when left", "45|0|61.5", sec, lat, "45|0|59.99", "45.016664");
        addRow("seconds: 5 characters", "45|0|12.345678", sec, lat, "45|0|12.345678", "45.003428");
        addRow("seconds dropped at the limit", "90|30|15", sec, lat, "90|30|0.00", "90.500000");
        addRow("seconds kept at the limit, minutes left", "90|30|36", min, lat, "90|30|36",
               "90.510000");
        addRow("typed minus signs ignored", "-5|-30|-36", deg, lat, "-5|-30|-36", "5.060000");
        addRow("degrees half to even, down", "2.5|0|0", deg, lon, "2.5|0|0", "2.000000");
        addRow("degrees half to even, up", "3.5|0|0", deg, lon, "3.5|0|0", "4.000000");
        addRow("empty fields read as 0", "||", sec, lat, "||", "0.000000");
        addRow("no number shown as 0", "ab|/|x", min, lon, "0|0|0.00", "0.000000");
    }
    void leavingDmsField()
    {
        QFETCH(QString, texts);
        QFETCH(DmsField, left);
        QFETCH(Angle, angle);
        QFETCH(QString, shown);
        QFETCH(QString, decimal);
        const DmsFieldUpdate update = dmsFieldLeft(split(texts), left, angle);
        QCOMPARE(joined(update.dms), shown);
        QCOMPARE(QString::fromStdString(update.decimal), decimal);
    }

    void hemisphereSwitch_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<Angle>("angle");
        QTest::addColumn<QString>("after");
        addRow("north to south", "N", lat, "S");
        addRow("south to north", "S", lat, "N");
        addRow("east to west", "E", lon, "W");
        addRow("west to east", "W", lon, "E");
        addRow("longitude letter in a latitude box", "E", lat, "E");
        addRow("empty", "", lon, "");
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
