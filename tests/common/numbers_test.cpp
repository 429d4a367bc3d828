#include "common/numbers.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

using namespace gridloom;

Q_DECLARE_METATYPE(std::optional<double>)

class NumbersTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void wholeNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "12" << true << 12;
        QTest::newRow("negative") << "-7" << true << -7;
        QTest::newRow("explicit plus") << "+7" << true << 7;
        QTest::newRow("leading zero") << "01" << true << 1;
        QTest::newRow("blanks around") << "  23 " << true << 23;
        QTest::newRow("half to even below") << "2.5" << true << 2;
        QTest::newRow("half to even above") << "3.5" << true << 4;
        QTest::newRow("negative half to even") << "-2.5" << true << -2;
        QTest::newRow("just above half") << "10.5001" << true << 11;
        QTest::newRow("fraction only") << ".6" << true << 1;
        QTest::newRow("largest") << "32767" << true << 32767;
        QTest::newRow("smallest") << "-32768" << true << -32768;
        QTest::newRow("rounds into range") << "32767.4" << true << 32767;
        QTest::newRow("rounds out of range") << "32767.5" << false << 0;
        QTest::newRow("above range") << "32768" << false << 0;
        QTest::newRow("below range") << "-32769" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("word") << "abc" << false << 0;
        QTest::newRow("lone point") << "." << false << 0;
        QTest::newRow("slash") << "1/2" << false << 0;
        QTest::newRow("comma separator") << "2,5" << false << 0;
        QTest::newRow("inner blank") << "1 2" << false << 0;
        QTest::newRow("infinity") << "inf" << false << 0;
        QTest::newRow("hex") << "0x10" << false << 0;
    }
    void wholeNumbers()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(int, value);
        const auto result = parseWholeNumber(text.toStdString());
        QCOMPARE(result.has_value(), ok);
        if (ok)
            QCOMPARE(int(*result), value);
    }

    void numbersIgnoreADecimalCommaLocale()
    {
        // Qt puts the process into the user's locale; build one with a decimal comma and make
        // sure neither reading nor writing numbers notices it.
        QTemporaryDir locales;
        const QByteArray folder = QFile::encodeName(locales.path());
        const QByteArray build =
            "localedef -i de_DE -f UTF-8 '" + folder + "/de_DE.UTF-8' 2>/dev/null";
        if (std::system(build.constData()) != 0)
            QSKIP("localedef or the de_DE locale source is not installed");
        qputenv("LOCPATH", folder);
        QVERIFY(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"));
        char probe[16];
        std::snprintf(probe, sizeof probe, "%.1f", 2.5);
        QCOMPARE(QByteArray(probe), QByteArray("2,5"));

        QCOMPARE(parseRealNumber("-97.25"), std::optional<double>(-97.25));
        QCOMPARE(parseWholeNumber("2.5"), std::optional<std::int16_t>(2));
        QCOMPARE(formatGeneral(2.5), std::string("2.5"));
        QCOMPARE(formatGeneral(-0.000015), std::string("-1.5E-05"));
        QCOMPARE(formatFixed(45.5, 6), std::string("45.500000"));
        std::setlocale(LC_NUMERIC, "C");
        qunsetenv("LOCPATH");
    }

    void realNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<double>>("value");
        QTest::newRow("fraction") << "12.000" << std::optional<double>(12.0);
        QTest::newRow("negative") << "-120.5" << std::optional<double>(-120.5);
        QTest::newRow("trailing point") << "5." << std::optional<double>(5.0);
        QTest::newRow("exponent") << "2.5E-3" << std::optional<double>(0.0025);
        QTest::newRow("blank") << "" << std::optional<double>();
        QTest::newRow("lone point") << " . " << std::optional<double>();
        QTest::newRow("two points") << "1.2.3" << std::optional<double>();
        QTest::newRow("sign twice") << "--1" << std::optional<double>();
    }
    void realNumbers()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<double>, value);
        QCOMPARE(parseRealNumber(text.toStdString()), value);
    }

    void int32s_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint32>("value");
        QTest::newRow("stamp") << "2002093012" << true << qint32(2002093012);
        QTest::newRow("count") << "109" << true << qint32(109);
        QTest::newRow("negative") << "-4" << true << qint32(-4);
        QTest::newRow("too large") << "2147483648" << false << qint32(0);
        QTest::newRow("fraction") << "10.5" << false << qint32(0);
        QTest::newRow("empty") << "" << false << qint32(0);
        QTest::newRow("word") << "ten" << false << qint32(0);
    }
    void int32s()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(qint32, value);
        const auto result = parseInt32(text.toStdString());
        QCOMPARE(result.has_value(), ok);
        if (ok)
            QCOMPARE(*result, value);
    }

    void generalFormat_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("whole") << 25.0 << "25";
        QTest::newRow("fraction") << 2.5 << "2.5";
        QTest::newRow("below one") << 0.25 << "0.25";
        QTest::newRow("smallest plain") << 0.0001 << "0.0001";
        QTest::newRow("tiny") << 0.00001 << "1E-05";
        QTest::newRow("tiny fraction") << -0.000015 << "-1.5E-05";
        QTest::newRow("fifteen digits") << 123456.789012345 << "123456.789012345";
        QTest::newRow("rounded to fifteen") << 0.1 + 0.2 << "0.3";
        QTest::newRow("large whole") << 123456789012345.0 << "123456789012345";
        QTest::newRow("huge") << 1.5e20 << "1.5E+20";
    }
    void generalFormat()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(formatGeneral(value)), text);
    }

    void fixedFormat_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");
        QTest::newRow("six") << 45.5 << 6 << "45.500000";
        QTest::newRow("integer digit kept") << 0.25 << 6 << "0.250000";
        QTest::newRow("two") << 7.2 << 2 << "7.20";
        QTest::newRow("rounded up") << 59.996 << 2 << "60.00";
        QTest::newRow("no minus for zero") << -0.001 << 2 << "0.00";
        QTest::newRow("negative") << -1.5 << 2 << "-1.50";
    }
    void fixedFormat()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(formatFixed(value, decimals)), text);
    }
};

QTEST_APPLESS_MAIN(NumbersTest)
#include "numbers_test.moc"
