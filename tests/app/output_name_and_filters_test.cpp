#include "app/output_name.h"
#include "common/key_filters.h"

#include <QTest>

using namespace gridloom;
using namespace std::chrono;

class OutputNameAndFiltersTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void suggestion_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("d");
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("expected"); // empty: the name stays as it is
        QTest::newRow("empty name") << "" << 2009 << 3 << 16 << "0"
                                    << "merged_2009031600.m3d";
        QTest::newRow("blank name") << "   " << 2009 << 3 << 16 << "0"
                                    << "merged_2009031600.m3d";
        QTest::newRow("earlier suggestion follows")
            << "merged_2009031600.m3d" << 2010 << 1 << 2 << "7"
            << "merged_2010010207.m3d";
        QTest::newRow("all after the first underscore replaced")
            << "run_a_b.dat" << 2008 << 5 << 5 << "12"
            << "run_2008050512.m3d";
        QTest::newRow("underscore first") << "_x" << 2008 << 5 << 5 << "1"
                                          << "_2008050501.m3d";
        QTest::newRow("no underscore stays") << "domain3" << 2008 << 5 << 5 << "1"
                                             << "";
        QTest::newRow("leading zero in hour") << "" << 2002 << 10 << 1 << "01"
                                              << "merged_2002100101.m3d";
        QTest::newRow("empty hour leaves the name") << "a_b" << 2002 << 10 << 1 << ""
                                                    << "";
        QTest::newRow("slash in hour leaves the name") << "a_b" << 2002 << 10 << 1 << "1/2"
                                                       << "";
        QTest::newRow("hour beyond 16 bits leaves the name") << "a_b" << 2002 << 10 << 1 << "40000"
                                                             << "";
    }
    void suggestion()
    {
        QFETCH(QString, current);
        QFETCH(int, y);
        QFETCH(int, m);
        QFETCH(int, d);
        QFETCH(QString, hour);
        QFETCH(QString, expected);
        const auto name = suggestOutputName(
            current.toStdString(), year_month_day{year{y}, month{unsigned(m)}, day{unsigned(d)}},
            hour.toStdString());
        QCOMPARE(name.has_value(), !expected.isEmpty());
        if (name)
            QCOMPARE(QString::fromStdString(*name), expected);
    }

    void filters_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("digit");
        QTest::addColumn<bool>("decimal");
        QTest::addColumn<bool>("signedDecimal");
        QTest::newRow("backspace") << 8 << true << true << true;
        QTest::newRow("tab") << 9 << true << true << true;
        QTest::newRow("enter") << 13 << true << true << true;
        QTest::newRow("last control code") << 31 << true << true << true;
        QTest::newRow("space") << 32 << false << false << false;
        QTest::newRow("plus") << 43 << false << false << false;
        QTest::newRow("comma") << 44 << false << false << false;
        QTest::newRow("minus") << 45 << false << false << true;
        QTest::newRow("point") << 46 << false << true << true;
        QTest::newRow("slash") << 47 << true << true << true;
        QTest::newRow("zero") << 48 << true << true << true;
        QTest::newRow("nine") << 57 << true << true << true;
        QTest::newRow("colon") << 58 << false << false << false;
        QTest::newRow("letter") << int('a') << false << false << false;
        QTest::newRow("delete character") << 127 << false << false << false;
        QTest::newRow("code page character") << 128 << true << true << true;
        QTest::newRow("accented letter") << 233 << true << true << true;
        QTest::newRow("negative code") << -5 << true << true << true;
    }
    void filters()
    {
        QFETCH(int, code);
        QFETCH(bool, digit);
        QFETCH(bool, decimal);
        QFETCH(bool, signedDecimal);
        const std::pair<KeyFilterFunction, bool> cases[] = {
            {digitFilter, digit}, {decimalFilter, decimal}, {signedDecimalFilter, signedDecimal}};
        for (const auto& [filter, passes] : cases) {
            auto k = static_cast<std::int16_t>(code);
            filter(k);
            QCOMPARE(int(k), passes ? code : 0);
        }
    }
};

QTEST_APPLESS_MAIN(OutputNameAndFiltersTest)
#include "output_name_and_filters_test.moc"
