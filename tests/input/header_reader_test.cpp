#include "fixtures/fixture_writer.h"
#include "input/header_reader.h"

#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <string>

using namespace gridloom;
using fixtures::SampleHeader;

namespace {

QByteArray bytes(const std::string& text)
{
    return QByteArray::fromStdString(text);
}

std::string text(const SampleHeader& sample)
{
    return fixtures::headerText(sample);
}

// The default header with one line changed.
std::string withLine(int line, const std::string& content, SampleHeader sample = {})
{
    return fixtures::replaceLine(fixtures::headerText(sample), line, content);
}

// The default header with one extent field changed.
std::string withExtent(std::size_t field, const std::string& value)
{
    SampleHeader sample;
    sample.extent[field] = value;
    return text(sample);
}

std::string withPeriod(const std::string& stamp, int hourCount)
{
    SampleHeader sample;
    sample.startStamp = stamp;
    sample.hourCount = hourCount;
    return text(sample);
}

QString dateHourText(DateHour hour)
{
    using namespace std::chrono;
    const auto day = floor<days>(hour);
    const year_month_day date{day};
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u %02ld", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<long>((hour - day).count()));
    return QString::fromLatin1(buffer);
}

QStringList extentOf(const InputFileInfo& info)
{
    QStringList list;
    for (const auto& field : info.extentText)
        list << QString::fromStdString(field);
    return list;
}

const QStringList defaultExtent = {
    QStringLiteral("1"),     QStringLiteral("1"),  QStringLiteral("60"),     QStringLiteral("50"),
    QStringLiteral("1"),     QStringLiteral("23"), QStringLiteral("-120.5"), QStringLiteral("-95"),
    QStringLiteral("25.25"), QStringLiteral("50")};

} // namespace

class HeaderReaderTest final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    std::string writeFile(const QByteArray& content)
    {
        static int counter = 0;
        const std::string path =
            m_dir.filePath(QStringLiteral("sample%1.m3d").arg(++counter)).toStdString();
        fixtures::writeText(path, content.toStdString());
        return path;
    }

private Q_SLOTS:
    void readsValidHeaders_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<double>("spacing");
        QTest::addColumn<QString>("stamp");
        QTest::addColumn<int>("hourCount");
        QTest::addColumn<QStringList>("extent");

        const QString stamp = QStringLiteral("2002093012");
        QTest::newRow("one comment line")
            << bytes(text({})) << 12.0 << stamp << 109 << defaultExtent;

        SampleHeader sample;
        sample.commentLines = 0;
        sample.datasetLine = "3D.DAT          2.0             older header without comments";
        QTest::newRow("older version without comments")
            << bytes(text(sample)) << 12.0 << stamp << 109 << defaultExtent;
        sample = {};
        sample.commentLines = 2;
        QTest::newRow("two comment lines")
            << bytes(text(sample)) << 12.0 << stamp << 109 << defaultExtent;
        sample.commentLines = 40;
        QTest::newRow("forty comment lines")
            << bytes(text(sample)) << 12.0 << stamp << 109 << defaultExtent;
        sample = {};
        sample.datasetLine = "";
        QTest::newRow("empty dataset line")
            << bytes(text(sample)) << 12.0 << stamp << 109 << defaultExtent;

        sample = {};
        sample.lineEnd = "\r\n";
        QTest::newRow("CR LF line ends")
            << bytes(text(sample)) << 12.0 << stamp << 109 << defaultExtent;
        sample.commentLines = 0;
        QTest::newRow("CR LF without comments")
            << bytes(text(sample)) << 12.0 << stamp << 109 << defaultExtent;
        sample = {};
        sample.indent = "    ";
        QTest::newRow("indented lines")
            << bytes(text(sample)) << 12.0 << stamp << 109 << defaultExtent;
        sample = {};
        sample.separator = "     ";
        QTest::newRow("runs of spaces between fields")
            << bytes(text(sample)) << 12.0 << stamp << 109 << defaultExtent;
        sample.indent = "  ";
        sample.lineEnd = "\r\n";
        sample.commentLines = 3;
        QTest::newRow("indented, wide and CR LF together")
            << bytes(text(sample)) << 12.0 << stamp << 109 << defaultExtent;
        QTest::newRow("trailing blanks after every field")
            << bytes(withLine(7, "1 1 60 50 1 23 -120.5 -95 25.25 50   ")) << 12.0 << stamp << 109
            << defaultExtent;

        sample = {};
        sample.gridSpacingKm = 4.5;
        QTest::newRow("fractional spacing")
            << bytes(text(sample)) << 4.5 << stamp << 109 << defaultExtent;
        QTest::newRow("grid line of exactly four fields")
            << bytes(withLine(4, "36.000 60 50 23")) << 36.0 << stamp << 109 << defaultExtent;
        QTest::newRow("many fields before the last four")
            << bytes(withLine(4, "LCC a b c d e f g h i j k 12.000 60 50 23")) << 12.0 << stamp
            << 109 << defaultExtent;
        QTest::newRow("period line of exactly two fields")
            << bytes(withLine(6, "2002093012 109")) << 12.0 << stamp << 109 << defaultExtent;
        QTest::newRow("extent line of exactly ten fields")
            << bytes(withLine(7, "1 1 60 50 1 23 -120.5 -95 25.25 50")) << 12.0 << stamp << 109
            << defaultExtent;
        QTest::newRow("one hour") << bytes(withPeriod("2000010100", 1)) << 12.0
                                  << QStringLiteral("2000010100") << 1 << defaultExtent;
        QTest::newRow("leap day stamp") << bytes(withPeriod("2004022923", 5)) << 12.0
                                        << QStringLiteral("2004022923") << 5 << defaultExtent;
        QTest::newRow("last stamp that fits 32 bits")
            << bytes(withPeriod("2147123123", 24)) << 12.0 << QStringLiteral("2147123123") << 24
            << defaultExtent;

        sample = {};
        sample.padTo = 5000;
        std::string exact = text(sample);
        exact.resize(5000, ' ');
        QTest::newRow("exactly 5000 characters")
            << bytes(exact) << 12.0 << stamp << 109 << defaultExtent;
        std::string noisyTail =
            text({}).substr(0, 5000) + std::string("\0\xff\x01 no line end", 15);
        QTest::newRow("anything after 5000 characters")
            << bytes(noisyTail) << 12.0 << stamp << 109 << defaultExtent;
    }
    void readsValidHeaders()
    {
        QFETCH(QByteArray, content);
        QFETCH(double, spacing);
        QFETCH(QString, stamp);
        QFETCH(int, hourCount);
        QFETCH(QStringList, extent);

        const std::string path = writeFile(content);
        const auto info = readHeader(path);
        QVERIFY(info);
        QCOMPARE(info->gridSpacingKm, spacing);
        QCOMPARE(QString::fromStdString(info->startStamp), stamp);
        QCOMPARE(info->hourCount, hourCount);
        QCOMPARE(extentOf(*info), extent);
        QCOMPARE(info->path, path);
    }

    void convertsTheExtentFields_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QList<int>>("indices");
        QTest::addColumn<QList<double>>("angles");

        QTest::newRow("plain") << defaultExtent << QList<int>{1, 60, 1, 50, 1, 23}
                               << QList<double>{25.25, 50.0, -120.5, -95.0};
        QTest::newRow("halves round to even")
            << QStringList{QStringLiteral("2.5"),    QStringLiteral("3.5"),
                           QStringLiteral("-2.5"),   QStringLiteral("0.5"),
                           QStringLiteral("1.4999"), QStringLiteral("1.5001"),
                           QStringLiteral("0"),      QStringLiteral("0"),
                           QStringLiteral("0"),      QStringLiteral("0")}
            << QList<int>{2, -2, 4, 0, 1, 2} << QList<double>{0.0, 0.0, 0.0, 0.0};
        QTest::newRow("16-bit range ends")
            << QStringList{QStringLiteral("-32768"),  QStringLiteral("32767"),
                           QStringLiteral("32767.4"), QStringLiteral("+7"),
                           QStringLiteral("1e2"),     QStringLiteral("007"),
                           QStringLiteral("-0.5e1"),  QStringLiteral("+179.999999"),
                           QStringLiteral(".5"),      QStringLiteral("-1E-5")}
            << QList<int>{-32768, 32767, 32767, 7, 100, 7}
            << QList<double>{0.5, -1e-5, -5.0, 179.999999};
    }
    void convertsTheExtentFields()
    {
        QFETCH(QStringList, fields);
        QFETCH(QList<int>, indices);
        QFETCH(QList<double>, angles);

        SampleHeader sample;
        for (int n = 0; n < 10; ++n)
            sample.extent[static_cast<std::size_t>(n)] = fields[n].toStdString();
        const auto info = readHeader(writeFile(bytes(text(sample))));
        QVERIFY(info);
        QCOMPARE((QList<int>{info->iStart, info->iEnd, info->jStart, info->jEnd, info->levelStart,
                             info->levelEnd}),
                 indices);
        QCOMPARE((QList<double>{info->latStart, info->latEnd, info->lonStart, info->lonEnd}),
                 angles);
        QCOMPARE(extentOf(*info), fields);
    }

    void refusesBrokenHeaders_data()
    {
        QTest::addColumn<QByteArray>("content");

        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("4999 characters") << bytes(text({}).substr(0, 4999));
        QTest::newRow("no line feed in 5000 characters") << QByteArray(6000, 'x');
        QTest::newRow("only CR line ends") << bytes([] {
            std::string cr = text({});
            for (auto& c : cr)
                c = c == '\n' ? '\r' : c;
            return cr;
        }());

        QTest::newRow("comment count a word") << bytes(withLine(1, "one"));
        QTest::newRow("comment count blank") << bytes(withLine(1, "  "));
        QTest::newRow("comment count fractional") << bytes(withLine(1, "1.0"));
        QTest::newRow("comment count negative") << bytes(withLine(1, "-1"));
        QTest::newRow("comment count with a second field") << bytes(withLine(1, "1 2"));
        QTest::newRow("comment count beyond 32 bits") << bytes(withLine(1, "4294967297"));
        QTest::newRow("largest comment count") << bytes(withLine(1, "2147483647"));
        SampleHeader longComments;
        longComments.commentLines = 100;
        QTest::newRow("extent line beyond 5000 characters") << bytes(text(longComments));
        QTest::newRow("comment count one too high") << bytes(withLine(1, "2"));

        QTest::newRow("grid line of three fields") << bytes(withLine(4, "60 50 23"));
        QTest::newRow("blank grid line") << bytes(withLine(4, "   "));
        QTest::newRow("spacing a word") << bytes(withLine(4, "LCC km 60 50 23"));
        QTest::newRow("spacing with a comma") << bytes(withLine(4, "LCC 12,0 60 50 23"));
        QTest::newRow("fields separated by tabs") << bytes(withLine(4, "LCC\t12.000\t60\t50\t23"));

        QTest::newRow("period line of one field") << bytes(withLine(6, "2002093012"));
        QTest::newRow("hour count a word") << bytes(withLine(6, "2002093012 many"));
        QTest::newRow("hour count fractional") << bytes(withLine(6, "2002093012 109.5"));
        QTest::newRow("hour count zero") << bytes(withPeriod("2002093012", 0));
        QTest::newRow("hour count negative") << bytes(withPeriod("2002093012", -5));
        QTest::newRow("hour count beyond 32 bits") << bytes(withLine(6, "2002093012 2147483648"));
        QTest::newRow("period past the year 9999") << bytes(withPeriod("2002093012", 100'000'000));
        QTest::newRow("stamp of nine digits") << bytes(withPeriod("200209301", 109));
        QTest::newRow("stamp of eleven digits") << bytes(withPeriod("20020930120", 109));
        QTest::newRow("stamp with a sign") << bytes(withPeriod("+002093012", 109));
        QTest::newRow("stamp with a letter") << bytes(withPeriod("2002O93012", 109));
        QTest::newRow("stamp month 13") << bytes(withPeriod("2002133012", 109));
        QTest::newRow("stamp month 00") << bytes(withPeriod("2002003012", 109));
        QTest::newRow("stamp day 00") << bytes(withPeriod("2002090012", 109));
        QTest::newRow("stamp 31 September") << bytes(withPeriod("2002093112", 109));
        QTest::newRow("stamp 29 February of a common year") << bytes(withPeriod("2001022912", 1));
        QTest::newRow("stamp 29 February 1900") << bytes(withPeriod("1900022912", 1));
        QTest::newRow("stamp hour 24") << bytes(withPeriod("2002093024", 109));
        QTest::newRow("stamp beyond 32 bits") << bytes(withPeriod("2148010100", 1));

        QTest::newRow("extent line of nine fields")
            << bytes(withLine(7, "1 1 60 50 1 23 -120.5 -95 25.25"));
        QTest::newRow("index a word") << bytes(withExtent(3, "fifty"));
        QTest::newRow("index above 16 bits") << bytes(withExtent(2, "32768"));
        QTest::newRow("index below 16 bits") << bytes(withExtent(0, "-32769"));
        QTest::newRow("index rounding out of 16 bits") << bytes(withExtent(5, "32767.5"));
        QTest::newRow("last level index empty after a comma") << bytes(withExtent(5, "23,"));
        QTest::newRow("longitude a word") << bytes(withExtent(6, "west"));
        QTest::newRow("latitude infinite") << bytes(withExtent(9, "inf"));
        QTest::newRow("latitude not a number") << bytes(withExtent(8, "nan"));
        QTest::newRow("latitude with a comma") << bytes(withExtent(8, "25,25"));
        QTest::newRow("latitude with a degree sign") << bytes(withExtent(9, "50\xc2\xb0"));
    }
    void refusesBrokenHeaders()
    {
        QFETCH(QByteArray, content);
        QVERIFY(!readHeader(writeFile(content)));
    }

    void readsExactlyTheFirst5000Characters_data()
    {
        QTest::addColumn<int>("extentEnd");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("lastLatitude");

        QTest::newRow("extent line ends at the limit") << 5000 << true << 50.0;
        QTest::newRow("its last digit one past the limit") << 5001 << true << 5.0;
        QTest::newRow("its last field past the limit") << 5003 << false << 0.0;
        QTest::newRow("it starts at the limit") << 5000 + 34 << false << 0.0;
    }
    void readsExactlyTheFirst5000Characters()
    {
        // Lengthen the dataset line so that the extent line's last character lies at a chosen
        // offset; the reader must see exactly what lies before character 5000.
        QFETCH(int, extentEnd);
        QFETCH(bool, ok);
        QFETCH(double, lastLatitude);

        SampleHeader sample;
        sample.padTo = 0;
        const std::string bare = text(sample);
        const std::string extentLine = "1 1 60 50 1 23 -120.5 -95 25.25 50";
        std::string header = fixtures::replaceLine(bare, 7, extentLine);
        const int headerEnd = static_cast<int>(header.size()) - 1;
        sample.datasetLine += std::string(static_cast<std::size_t>(extentEnd - headerEnd), '.');
        header = fixtures::replaceLine(text(sample), 7, extentLine);
        QCOMPARE(static_cast<int>(header.find(extentLine) + extentLine.size()), extentEnd);
        header += std::string(6000, '9');

        const auto info = readHeader(writeFile(bytes(header)));
        QCOMPARE(static_cast<bool>(info), ok);
        if (ok)
            QCOMPARE(info->latEnd, lastLatitude);
    }

    void refusesWhatIsNoReadableFile()
    {
        QVERIFY(!readHeader(m_dir.filePath(QStringLiteral("missing.m3d")).toStdString()));
        QVERIFY(!readHeader(m_dir.path().toStdString()));
        QVERIFY(!readHeader(std::string()));
    }

    void dropsBlankFields_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");

        QTest::newRow("single spaces")
            << QStringLiteral("a b c")
            << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
        QTest::newRow("leading, trailing and runs")
            << QStringLiteral("   a    b  ")
            << QStringList{QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("only spaces") << QStringLiteral("     ") << QStringList{};
        QTest::newRow("empty") << QString() << QStringList{};
        QTest::newRow("tabs stay inside a field")
            << QStringLiteral("a\tb c") << QStringList{QStringLiteral("a\tb"), QStringLiteral("c")};
    }
    void dropsBlankFields()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        const std::string utf8 = line.toStdString();
        QStringList result;
        for (const auto field : splitFields(utf8))
            result << QString::fromStdString(std::string(field));
        QCOMPARE(result, fields);
    }

    void dropBlankFieldsKeepsTheTextOfWhatItKeeps()
    {
        const std::vector<std::string_view> pieces = {"", " x ", "  ", "y", " "};
        const auto kept = dropBlankFields(pieces);
        QCOMPARE(kept.size(), std::size_t{2});
        QCOMPARE(std::string(kept[0]), std::string(" x "));
        QCOMPARE(std::string(kept[1]), std::string("y"));
    }

    void firstAndLastHour_data()
    {
        QTest::addColumn<QString>("stamp");
        QTest::addColumn<int>("hourCount");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");

        QTest::newRow("109 hours across a month end")
            << QStringLiteral("2002093012") << 109 << QStringLiteral("2002-09-30 12")
            << QStringLiteral("2002-10-05 00");
        QTest::newRow("one hour") << QStringLiteral("2002093012") << 1
                                  << QStringLiteral("2002-09-30 12")
                                  << QStringLiteral("2002-09-30 12");
        QTest::newRow("hour 00") << QStringLiteral("2002100500") << 48
                                 << QStringLiteral("2002-10-05 00")
                                 << QStringLiteral("2002-10-06 23");
        QTest::newRow("into a new year")
            << QStringLiteral("2002123122") << 3 << QStringLiteral("2002-12-31 22")
            << QStringLiteral("2003-01-01 00");
        QTest::newRow("onto a leap day")
            << QStringLiteral("2004022823") << 2 << QStringLiteral("2004-02-28 23")
            << QStringLiteral("2004-02-29 00");
        QTest::newRow("past a common year's February")
            << QStringLiteral("2003022823") << 2 << QStringLiteral("2003-02-28 23")
            << QStringLiteral("2003-03-01 00");
        QTest::newRow("2000 is a leap year")
            << QStringLiteral("2000022823") << 2 << QStringLiteral("2000-02-28 23")
            << QStringLiteral("2000-02-29 00");
        QTest::newRow("2100 is not")
            << QStringLiteral("2100022823") << 2 << QStringLiteral("2100-02-28 23")
            << QStringLiteral("2100-03-01 00");
        QTest::newRow("a whole leap year")
            << QStringLiteral("2004010100") << 8784 << QStringLiteral("2004-01-01 00")
            << QStringLiteral("2004-12-31 23");
        QTest::newRow("ten years")
            << QStringLiteral("1999123123") << 87673 << QStringLiteral("1999-12-31 23")
            << QStringLiteral("2009-12-31 23");
    }
    void firstAndLastHour()
    {
        QFETCH(QString, stamp);
        QFETCH(int, hourCount);
        QFETCH(QString, first);
        QFETCH(QString, last);

        const auto info = readHeader(writeFile(bytes(withPeriod(stamp.toStdString(), hourCount))));
        QVERIFY(info);
        QCOMPARE(dateHourText(firstHour(*info)), first);
        QCOMPARE(dateHourText(lastHour(*info)), last);
    }
};

QTEST_GUILESS_MAIN(HeaderReaderTest)
#include "header_reader_test.moc"
