#include "domain/domain_checks.h"

#include <QTest>
#include <initializer_list>

using namespace gridloom;

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

QStringList list(std::initializer_list<const char*> items)
{
    QStringList result;
    for (const char* item : items)
        result << QString::fromUtf8(item);
    return result;
}

std::string text(const QStringList& texts, int i)
{
    return texts.at(i).toStdString();
}

XYDomainTexts xyTexts(const QStringList& t)
{
    return {text(t, 0), text(t, 1), text(t, 2), text(t, 3)};
}

IndexDomainTexts indexTexts(const QStringList& t)
{
    return {text(t, 0), text(t, 1), text(t, 2), text(t, 3), text(t, 4), text(t, 5)};
}

// lat1, lon1, lat hemisphere 1, lon hemisphere 1, then the same for the end corner.
LatLonDomainTexts latLonTexts(const QStringList& t)
{
    return {text(t, 0), text(t, 1), text(t, 2), text(t, 3),
            text(t, 4), text(t, 5), text(t, 6), text(t, 7)};
}

QString messageOf(const std::optional<std::string>& refusal)
{
    return refusal ? QString::fromStdString(*refusal) : QString();
}

// A record that already holds values, so a test can see which bounds a store wrote.
DomainSelection earlierDomain()
{
    DomainSelection domain;
    domain.bounds = {-1.0, -2.0, -3.0, -4.0, 7.0, 8.0};
    return domain;
}

} // namespace

class DomainChecksTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void xyCheck_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("message");
        const QString accepted;
        QTest::newRow("plain box") << list({"0", "10", "0", "20"}) << accepted;
        QTest::newRow("fractions compared before rounding")
            << list({"10.2", "10.4", "0", "1"}) << accepted;
        QTest::newRow("empty X start") << list({"", "10", "0", "20"}) << xyMissing;
        QTest::newRow("empty Y end") << list({"0", "10", "0", ""}) << xyMissing;
        QTest::newRow("presence before numbers") << list({"abc", "10", "0", ""}) << xyMissing;
        QTest::newRow("equal X") << list({"5", "5", "0", "20"}) << xyOrder;
        QTest::newRow("Y start above end") << list({"0", "10", "21", "20"}) << xyOrder;
        QTest::newRow("fractions in wrong order") << list({"10.4", "10.2", "0", "1"}) << xyOrder;
        QTest::newRow("blanks are not empty")
            << list({"0", "  ", "0", "20"}) << notANumber("X end");
        QTest::newRow("word") << list({"0", "10", "north", "20"}) << notANumber("Y start");
        QTest::newRow("lone point") << list({".", "10", "0", "20"}) << notANumber("X start");
        QTest::newRow("slash") << list({"0", "10", "0", "2/3"}) << notANumber("Y end");
        QTest::newRow("numbers before order") << list({"9", "1", "0", "x"}) << notANumber("Y end");
        QTest::newRow("largest whole km") << list({"-32768", "32767", "0", "1"}) << accepted;
        QTest::newRow("rounds beyond whole km")
            << list({"0", "32767.5", "0", "1"}) << outOfRange("X end");
    }
    void xyCheck()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, message);
        QCOMPARE(messageOf(checkXYDomain(xyTexts(texts))), message);
    }

    void indexCheck_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("message");
        const QString accepted;
        QTest::newRow("plain box") << list({"1", "10", "2", "20", "1", "5"}) << accepted;
        QTest::newRow("empty i start") << list({"", "10", "2", "20", "1", "5"}) << indexMissing;
        QTest::newRow("empty k end") << list({"1", "10", "2", "20", "1", ""}) << indexMissing;
        QTest::newRow("equal i") << list({"5", "5", "2", "20", "1", "5"}) << indexOrder;
        QTest::newRow("equal k") << list({"1", "10", "2", "20", "3", "3"}) << indexOrder;
        QTest::newRow("half rounds down to even: equal")
            << list({"2.5", "2", "2", "20", "1", "5"}) << indexOrder;
        QTest::newRow("half rounds up to even: equal")
            << list({"1", "10", "3.5", "4", "1", "5"}) << indexOrder;
        QTest::newRow("close fractions round apart")
            << list({"1.4", "1.6", "2", "20", "1", "5"}) << accepted;
        QTest::newRow("slash") << list({"1", "10", "2", "20", "1/", "5"}) << notANumber("k start");
        QTest::newRow("beyond 16 bits")
            << list({"1", "10", "2", "40000", "1", "5"}) << outOfRange("j end");
    }
    void indexCheck()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, message);
        QCOMPARE(messageOf(checkIndexDomain(indexTexts(texts))), message);
    }

    void latLonCheck_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("message");
        const QString accepted;
        const QStringList full = list({"45", "95", "N", "E", "46", "96", "N", "E"});
        QTest::newRow("defaults") << full << accepted;
        QTest::newRow("start above end is not tested")
            << list({"60", "95", "S", "W", "10", "5", "N", "E"}) << accepted;
        QTest::newRow("hemisphere of neither item")
            << list({"45", "95", "Q", " ", "46", "96", "N", "E"}) << accepted;
        const char* names[] = {"start latitude",      "start longitude",  "start latitude box",
                               "start longitude box", "end latitude",     "end longitude",
                               "end latitude box",    "end longitude box"};
        for (int i = 0; i < 8; ++i) {
            QStringList texts = full;
            texts[i].clear();
            QTest::addRow("empty %s", names[i]) << texts << (i < 4 ? startMissing : endMissing);
        }
        QTest::newRow("lone point")
            << list({".", "95", "N", "E", "46", "96", "N", "E"}) << notANumber("start latitude");
        QTest::newRow("slash") << list({"45", "95", "N", "E", "46", "9/6", "N", "E"})
                               << notANumber("end longitude");
        QTest::newRow("first unreadable field named")
            << list({"x", "95", "N", "E", "46", "y", "N", "E"}) << notANumber("start latitude");
    }
    void latLonCheck()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, message);
        QCOMPARE(messageOf(checkLatLonDomain(latLonTexts(texts))), message);
    }

    void xyStore_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<double>>("bounds");
        QTest::newRow("whole numbers")
            << list({"-10", "30", "5", "25"}) << QList<double>{-10, 30, 5, 25, 7, 8};
        QTest::newRow("close fractions round together")
            << list({"10.2", "10.4", "0", "1"}) << QList<double>{10, 10, 0, 1, 7, 8};
        QTest::newRow("halves to even")
            << list({"2.5", "3.5", "-2.5", "-0.5"}) << QList<double>{2, 4, -2, 0, 7, 8};
    }
    void xyStore()
    {
        QFETCH(QStringList, texts);
        QFETCH(QList<double>, bounds);
        DomainSelection domain = earlierDomain();
        QVERIFY(storeXYDomain(xyTexts(texts), domain));
        QCOMPARE(QList<double>(domain.bounds.begin(), domain.bounds.end()), bounds);
    }

    void indexStoreWritesAllSixRounded()
    {
        DomainSelection domain = earlierDomain();
        QVERIFY(storeIndexDomain(indexTexts(list({"2.5", "10", "3.5", "20.6", "1", "5"})), domain));
        QCOMPARE(QList<double>(domain.bounds.begin(), domain.bounds.end()),
                 (QList<double>{2, 10, 4, 21, 1, 5}));
    }

    void latLonStore_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<double>>("bounds");
        QTest::newRow("north east stays positive")
            << list({"45.5", "95.25", "N", "E", "46", "96", "N", "E"})
            << QList<double>{95.25, 96, 45.5, 46, 7, 8};
        QTest::newRow("south west negated") << list({"10", "20", "S", "W", "11", "21", "S", "W"})
                                            << QList<double>{-20, -21, -10, -11, 7, 8};
        QTest::newRow("each box for its own value")
            << list({"10", "20", "N", "W", "11", "21", "S", "E"})
            << QList<double>{-20, 21, 10, -11, 7, 8};
        QTest::newRow("only exact S and W negate")
            << list({"10", "20", "s", "w", "11", "21", "S ", "West"})
            << QList<double>{20, 21, 10, 11, 7, 8};
        QTest::newRow("fractions kept, start above end kept")
            << list({"60.123456", "0.5", "N", "E", "10", "0.25", "N", "E"})
            << QList<double>{0.5, 0.25, 60.123456, 10, 7, 8};
    }
    void latLonStore()
    {
        QFETCH(QStringList, texts);
        QFETCH(QList<double>, bounds);
        DomainSelection domain = earlierDomain();
        QVERIFY(storeLatLonDomain(latLonTexts(texts), domain));
        QCOMPARE(QList<double>(domain.bounds.begin(), domain.bounds.end()), bounds);
    }

    void storesWriteNothingFromNonNumbers()
    {
        const DomainSelection before = earlierDomain();
        DomainSelection domain = before;
        QVERIFY(!storeXYDomain(xyTexts(list({"1", "2", "3", "x"})), domain));
        QVERIFY(!storeIndexDomain(indexTexts(list({"1", "2", "3", "4", "5", "."})), domain));
        QVERIFY(!storeLatLonDomain(latLonTexts(list({"1", "2", "N", "E", "/", "4", "N", "E"})),
                                   domain));
        QVERIFY(domain.bounds == before.bounds);
    }

    void confirmationSequence()
    {
        DomainSelection domain;
        QCOMPARE(messageOf(confirmIndexDomain(indexTexts(list({"1", "10", "2", "20", "3", "4"})),
                                              domain)),
                 QString());
        QVERIFY(domain.domainValid);

        // A refused OK after an accepted one: the flag drops, the accepted bounds stay.
        QCOMPARE(messageOf(confirmXYDomain(xyTexts(list({"5", "5", "0", "1"})), domain)), xyOrder);
        QVERIFY(!domain.domainValid);
        QCOMPARE(QList<double>(domain.bounds.begin(), domain.bounds.end()),
                 (QList<double>{1, 10, 2, 20, 3, 4}));

        QCOMPARE(messageOf(confirmLatLonDomain(
                     latLonTexts(list({"45", "95", "N", "W", "46", "96", "N", "W"})), domain)),
                 QString());
        QVERIFY(domain.domainValid);
        QCOMPARE(QList<double>(domain.bounds.begin(), domain.bounds.end()),
                 (QList<double>{-95, -96, 45, 46, 3, 4}));

        QCOMPARE(messageOf(confirmXYDomain(xyTexts(list({"a", "5", "0", "1"})), domain)),
                 notANumber("X start"));
        QVERIFY(!domain.domainValid);
        QCOMPARE(domain.bounds[0], -95.0);
    }
};

QTEST_APPLESS_MAIN(DomainChecksTest)
#include "domain_checks_test.moc"
