#include "data_rows.h"
#include "domain/domain_checks.h"

#include <QTest>

using namespace gridloom;
using gridloom::testing::addRow;

namespace {

const QString xyMissing =
    QStringLiteral("Please provide all the requested X/Y starting and ending coordinnates .");
const QString xyOrder =
    QStringLiteral("Starting values for X and Y must be smaller than ending values");
const QString indexMissing = QStringLiteral("Please provide starting and ending indices.");
const QString indexOrder =
    QStringLiteral("Starting indices for i, j and k must be smaller than ending indices");
const QString startMissing =
    QStringLiteral("Please provide all the requested latitudes/longitudes .");
const QString endMissing = QStringLiteral("Please provide all the requested latitudes/longitudes.");

QString notANumber(const char* field)
{
    return QStringLiteral("Please enter numbers only: %1 is not a number.")
        .arg(QLatin1String(field));
}

QString outOfRange(const char* field)
{
    return QStringLiteral("Please enter values from -32768 to 32767 only: %1 is out of range.")
        .arg(QLatin1String(field));
}

// The bounds a record holds before OK, so a test sees which of them were written.
constexpr std::array<double, 6> earlier{-1, -2, -3, -4, 7, 8};

QString text(const std::array<double, 6>& bounds)
{
    QStringList numbers;
    for (double bound : bounds)
        numbers << QString::number(bound);
    return numbers.join(QLatin1Char(' '));
}

// OK's action on the X/Y, index or longitude/latitude texts, told apart by their number (4, 6
// or 8, '|'-separated; the last as lat1|lon1|latBox1|lonBox1|lat2|...). Returns the refusal.
QString confirm(const QString& joined, DomainSelection& domain)
{
    std::vector<std::string> t;
    for (const QString& text : joined.split(QLatin1Char('|')))
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

} // namespace

class DomainChecksTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // OK's action: the check's message, or on acceptance the bounds 1 to 6 it leaves.
    void confirm_data()
    {
        QTest::addColumn<QString>("texts");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("stored");
        const QString ok;
        addRow("X/Y rounded, halves to even", "2.5|3.5|-2.5|20.6", ok, "2 4 -2 21 7 8");
        addRow("X/Y compared with fractions", "10.2|10.4|0|1", ok, "10 10 0 1 7 8");
        addRow("X/Y 16-bit ends", "-32768|32767|0|1", ok, "-32768 32767 0 1 7 8");
        addRow("X/Y rounds beyond 16 bits", "0|32767.5|0|1", outOfRange("X end"), "");
        addRow("X/Y empty", "0|10|0|", xyMissing, "");
        addRow("X/Y presence before numbers", "abc|10|0|", xyMissing, "");
        addRow("X/Y blanks are not empty", "0|  |0|20", notANumber("X end"), "");
        addRow("X/Y lone point", ".|10|0|20", notANumber("X start"), "");
        addRow("X/Y numbers before order", "9|1|0|2/3", notANumber("Y end"), "");
        addRow("X/Y equal X", "5|5|0|20", xyOrder, "");
        addRow("X/Y Y start above end", "0|10|21|20", xyOrder, "");
        addRow("index halves to even, all six", "2.5|10|3.5|20.6|1|5", ok, "2 10 4 21 1 5");
        addRow("index empty", "1|10|2|20|1|", indexMissing, "");
        addRow("index i 2.5 rounds to i end", "2.5|2|2|20|1|5", indexOrder, "");
        addRow("index j 3.5 rounds to j end", "1|10|3.5|4|1|5", indexOrder, "");
        addRow("index equal k", "1|10|2|20|3|3", indexOrder, "");
        addRow("index slash", "1|10|2|20|1/|5", notANumber("k start"), "");
        addRow("index beyond 16 bits", "1|10|2|40000|1|5", outOfRange("j end"), "");
        addRow("lat/lon W and S, fractions kept", "45.5|95.25|N|W|11|21|S|E", ok,
               "-95.25 21 45.5 -11 7 8");
        addRow("lat/lon S and W", "10|20|S|E|11|21|N|W", ok, "20 -21 -10 11 7 8");
        addRow("lat/lon only exact S and W negate, any order", "60|20|s|w|11|21|S |West", ok,
               "20 21 60 11 7 8");
        addRow("lat/lon lone point", ".|95|N|E|46|96|N|E", notANumber("start latitude"), "");
        addRow("lat/lon slash", "45|95|N|E|46|9/6|N|E", notANumber("end longitude"), "");
        const QStringList full = QStringLiteral("45|95|N|E|46|96|N|E").split(QLatin1Char('|'));
        const char* names[] = {"lat1", "lon1", "lat box 1", "lon box 1",
                               "lat2", "lon2", "lat box 2", "lon box 2"};
        for (qsizetype i = 0; i < full.size(); ++i) {
            QStringList texts = full;
            texts[i].clear();
            QTest::addRow("lat/lon empty %s", names[i])
                << texts.join(QLatin1Char('|')) << (i < 4 ? startMissing : endMissing) << "";
        }
    }
    void confirm()
    {
        QFETCH(QString, texts);
        QFETCH(QString, message);
        QFETCH(QString, stored);
        const bool accepted = message.isEmpty();
        // The flag starts at the opposite of what the action must leave.
        DomainSelection domain{earlier, !accepted};
        QCOMPARE(::confirm(texts, domain), message);
        QCOMPARE(domain.domainValid, accepted);
        QCOMPARE(text(domain.bounds), accepted ? stored : text(earlier));
    }
};

QTEST_APPLESS_MAIN(DomainChecksTest)
#include "domain_checks_test.moc"
