#include "fixtures/fixture_writer.h"
#include "input/header_reader.h"

#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <string>

using namespace gridloom;
using fixtures::SampleHeader;

namespace {

QByteArray sampleText(const std::function<void(SampleHeader&)>& change = {})
{
    SampleHeader sample;
    if (change)
        change(sample);
    return QByteArray::fromStdString(fixtures::headerText(sample));
}

// The default header with one line changed.
QByteArray withLine(int line, const std::string& content)
{
    return QByteArray::fromStdString(
        fixtures::replaceLine(fixtures::headerText({}), line, content));
}

QByteArray withExtent(std::size_t field, const std::string& value)
{
    return sampleText([&](SampleHeader& s) { s.extent[field] = value; });
}

// Every value the reader returns, in one line: spacing, stamp, hours, the ten extent texts, the
// six indices (i, j, k, each first and last) and the four angles (latitudes, then longitudes).
QString summary(const InputFileInfo& info)
{
    QStringList parts{QString::number(info.gridSpacingKm), QString::fromStdString(info.startStamp),
                      QString::number(info.hourCount)};
    for (const auto& field : info.extentText)
        parts << QString::fromStdString(field);
    for (const int index :
         {info.iStart, info.iEnd, info.jStart, info.jEnd, info.levelStart, info.levelEnd})
        parts << QString::number(index);
    for (const double angle : {info.latStart, info.latEnd, info.lonStart, info.lonEnd})
        parts << QString::number(angle);
    return parts.join(QLatin1Char(' '));
}

const QString standard =
    QStringLiteral("12 2002093012 109 1 1 60 50 1 23 -120.5 -95 25.25 50 1 60 1 50 1 23 25.25 50 "
                   "-120.5 -95");

} // namespace

class HeaderReaderTest final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_count = 0;
    std::string m_path;

    std::optional<InputFileInfo> read(const QByteArray& content)
    {
        m_path = m_dir.filePath(QString::number(++m_count)).toStdString();
        fixtures::writeText(m_path, content.toStdString());
        return readHeader(m_path);
    }

private Q_SLOTS:
    void readsValidHeaders_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");

        QTest::newRow("version 2.1, one comment line") << sampleText() << standard;
        QTest::newRow("version 2.0, no comment lines") << sampleText([](SampleHeader& s) {
            s.datasetLine = "3D.DAT          2.0             older header";
            s.commentLines = 0;
        }) << standard;
        QTest::newRow("two comment lines")
            << sampleText([](SampleHeader& s) { s.commentLines = 2; }) << standard;
        QTest::newRow("CR LF line ends")
            << sampleText([](SampleHeader& s) { s.lineEnd = "\r\n"; }) << standard;
        QTest::newRow("indented lines and runs of spaces") << sampleText([](SampleHeader& s) {
            s.indent = "    ";
            s.separator = "   ";
        }) << standard;
        QTest::newRow("file of exactly 5000 characters")
            << sampleText([](SampleHeader& s) { s.padTo = 0; }).leftJustified(5000, ' ')
            << standard;
        QTest::newRow("spacing is the 4th field from the end")
            << withLine(4, "LCC a b c d e f g 4.500 60 50 23")
            << QStringLiteral("4.5") + standard.mid(2);
        QTest::newRow("fewest fields, halves to even, 16-bit ends")
            << QByteArray::fromStdString(fixtures::replaceLine(
                   fixtures::replaceLine(withLine(4, "36.000 60 50 23").toStdString(), 6,
                                         "2002100500 48"),
                   7, "2.5 -32768 -2.5 32767 1.5001 1e2 -0.5e1 .5 -1E-5 +7"))
            << QStringLiteral("36 2002100500 48 2.5 -32768 -2.5 32767 1.5001 1e2 -0.5e1 .5 -1E-5 "
                              "+7 2 -2 -32768 32767 2 100 -1e-05 7 -5 0.5");
    }
    void readsValidHeaders()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);

        const auto info = read(content);
        QVERIFY(info);
        QCOMPARE(summary(*info), expected);
        QCOMPARE(info->path, m_path);
    }

    void refusesBrokenHeaders_data()
    {
        QTest::addColumn<QByteArray>("content");

        QTest::newRow("4999 characters") << sampleText().left(4999);
        QTest::newRow("no line feed") << QByteArray(6000, 'x');
        QTest::newRow("comment count not an integer") << withLine(1, "1.0");
        QTest::newRow("comment count negative") << withLine(1, "-1");
        QTest::newRow("extent line beyond 5000 characters")
            << sampleText([](SampleHeader& s) { s.commentLines = 100; });
        QTest::newRow("grid line of three fields") << withLine(4, "60 50 23");
        QTest::newRow("tabs separate no fields") << withLine(4, "LCC\t12.000\t60\t50\t23");
        QTest::newRow("period line of one field") << withLine(6, "2002093012");
        QTest::newRow("hour count fractional") << withLine(6, "2002093012 109.5");
        QTest::newRow("hour count zero") << withLine(6, "2002093012 0");
        QTest::newRow("stamp hour 24") << withLine(6, "2002093024 109");
        QTest::newRow("stamp 29 February 2100") << withLine(6, "2100022912 1");
        QTest::newRow("stamp beyond 32 bits") << withLine(6, "2148010100 1");
        QTest::newRow("extent line of nine fields")
            << withLine(7, "1 1 60 50 1 23 -120.5 -95 25.25");
        QTest::newRow("index a word") << withExtent(3, "fifty");
        QTest::newRow("index below 16 bits") << withExtent(0, "-32769");
        QTest::newRow("index rounding past 16 bits") << withExtent(5, "32767.5");
        QTest::newRow("longitude a word") << withExtent(6, "west");
        QTest::newRow("latitude with a decimal comma") << withExtent(9, "25,25");
    }
    void refusesBrokenHeaders()
    {
        QFETCH(QByteArray, content);
        QVERIFY(!read(content));
    }

    void refusesWhatIsNoReadableFile()
    {
        QVERIFY(!readHeader(m_dir.filePath(QStringLiteral("missing")).toStdString()));
        QVERIFY(!readHeader(m_dir.path().toStdString()));
    }

    void readsExactlyTheFirst5000Characters_data()
    {
        QTest::addColumn<int>("extentEnd");
        QTest::addColumn<double>("lastLatitude");

        QTest::newRow("extent line ends at the limit") << 5000 << 50.0;
        QTest::newRow("its last digit past the limit") << 5001 << 5.0;
        QTest::newRow("its last field past the limit") << 5003 << -1.0;
    }
    void readsExactlyTheFirst5000Characters()
    {
        // Lengthen the dataset line so the extent line ends at a chosen offset, then add a long
        // tail that would complete or extend it.
        QFETCH(int, extentEnd);
        QFETCH(double, lastLatitude);

        const std::string extentLine = "1 1 60 50 1 23 -120.5 -95 25.25 50";
        SampleHeader sample;
        sample.padTo = 0;
        const auto headerEnd =
            fixtures::replaceLine(fixtures::headerText(sample), 7, extentLine).find(extentLine) +
            extentLine.size();
        sample.datasetLine += std::string(static_cast<std::size_t>(extentEnd) - headerEnd, '.');
        const auto text = fixtures::replaceLine(fixtures::headerText(sample), 7, extentLine);
        QCOMPARE(text.find(extentLine) + extentLine.size(), static_cast<std::size_t>(extentEnd));

        const auto info = read(QByteArray::fromStdString(text + std::string(6000, '9')));
        QCOMPARE(info ? info->latEnd : -1.0, lastLatitude);
    }

    void dropBlankFieldsKeepsTheTextOfWhatItKeeps()
    {
        const auto kept = dropBlankFields({"", " x ", "  ", "y", " "});
        QCOMPARE(kept, (std::vector<std::string_view>{" x ", "y"}));
    }
};

QTEST_GUILESS_MAIN(HeaderReaderTest)
#include "header_reader_test.moc"
