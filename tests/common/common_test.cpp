// The shared helpers: number reading and writing, stamps, keystroke filters, character counts,
// and the file-system layer on real files, pipes and devices.
#include "common/date_hour_stamp.h"
#include "common/key_filters.h"
#include "common/numbers.h"
#include "common/platform.h"
#include "support/data_rows.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <clocale>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace gridloom;
using gridloom::testing::addRow;
namespace fs = std::filesystem;

Q_DECLARE_METATYPE(gridloom::TextEncoding)

namespace {

QString orNone(const std::optional<std::string>& text)
{
    return text ? QString::fromStdString(*text) : QStringLiteral("none");
}

template <typename T> QString orNone(const std::optional<T>& value)
{
    if (!value)
        return QStringLiteral("none");
    if constexpr (std::is_floating_point_v<T>)
        return QString::number(*value, 'g', 15);
    else
        return QString::number(*value);
}

} // namespace

class CommonTest final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::string path(const char* name) const
    {
        return m_dir.filePath(QLatin1String(name)).toStdString();
    }

private Q_SLOTS:
    void readingNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("whole"); // 16-bit, half to even; "none" when refused
        QTest::addColumn<QString>("real");
        QTest::addColumn<QString>("int32");
        const auto row = [](const char* text, const char* whole, const char* real,
                            const char* int32) {
            addRow(text, QString::fromUtf8(text), whole, real, int32);
        };
        row("12", "12", "12", "12");
        row("+7", "7", "7", "7");
        row(" -23 ", "-23", "-23", "none");
        row("2.5", "2", "2.5", "none");
        row("3.5", "4", "3.5", "none");
        row("-2.5", "-2", "-2.5", "none");
        row(".6", "1", "0.6", "none");
        row("5.", "5", "5", "none");
        row("2.5E-3", "0", "0.0025", "none");
        row("32767.4", "32767", "32767.4", "none");
        row("32767.5", "none", "32767.5", "none");
        row("-32768", "-32768", "-32768", "-32768");
        row("-32769", "none", "-32769", "-32769");
        row("2002093012", "none", "2002093012", "2002093012");
        row("2147483648", "none", "2147483648", "none");
        for (const char* refused : {"", ".", "abc", "1/2", "2,5", "1 2", "inf", "0x10", "--1"})
            row(refused, "none", "none", "none");
    }
    void readingNumbers()
    {
        QFETCH(QString, text);
        QFETCH(QString, whole);
        QFETCH(QString, real);
        QFETCH(QString, int32);
        const std::string t = text.toStdString();
        QCOMPARE(orNone(parseWholeNumber(t)), whole);
        QCOMPARE(orNone(parseRealNumber(t)), real);
        QCOMPARE(orNone(parseInt32(t)), int32);
    }

    void writingNumbers_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("general");
        QTest::addColumn<QString>("sixDecimals");
        QTest::addColumn<QString>("twoDecimals");
        addRow("zero", -0.0, "0", "0.000000", "0.00");
        addRow("whole", 25.0, "25", "25.000000", "25.00");
        addRow("below one", 0.25, "0.25", "0.250000", "0.25");
        addRow("negative", -1.5, "-1.5", "-1.500000", "-1.50");
        addRow("rounds up", 59.996, "59.996", "59.996000", "60.00");
        addRow("no minus for zero", -0.001, "-0.001", "-0.001000", "0.00");
        addRow("smallest plain", 0.0001, "0.0001", "0.000100", "0.00");
        addRow("exponent below", -0.000015, "-1.5E-05", "-0.000015", "0.00");
        addRow("fifteen digits", 0.1 + 0.2, "0.3", "0.300000", "0.30");
        addRow("largest plain", 123456789012345.0, "123456789012345", "123456789012345.000000",
               "123456789012345.00");
        addRow("exponent above", 1.5e20, "1.5E+20", "150000000000000000000.000000",
               "150000000000000000000.00");
    }
    void writingNumbers()
    {
        QFETCH(double, value);
        QFETCH(QString, general);
        QFETCH(QString, sixDecimals);
        QFETCH(QString, twoDecimals);
        QCOMPARE(QString::fromStdString(formatGeneral(value)), general);
        QCOMPARE(QString::fromStdString(formatFixed(value, 6)), sixDecimals);
        QCOMPARE(QString::fromStdString(formatFixed(value, 2)), twoDecimals);
    }

    void numbersIgnoreADecimalCommaLocale()
    {
        // Qt puts the process into the user's locale; a decimal comma must not reach the files.
        QTemporaryDir locales;
        const QByteArray folder = QFile::encodeName(locales.path());
        if (std::system(("localedef -i de_DE -f UTF-8 '" + folder + "/de' 2>/dev/null").data()))
            QSKIP("localedef or the de_DE locale source is not installed");
        qputenv("LOCPATH", folder);
        QVERIFY(std::setlocale(LC_NUMERIC, "de"));
        const bool same = parseRealNumber("-97.25") == -97.25 && formatGeneral(2.5) == "2.5" &&
                          formatFixed(45.5, 6) == "45.500000";
        std::setlocale(LC_NUMERIC, "C");
        qunsetenv("LOCPATH");
        QVERIFY(same);
    }

    void stamps()
    {
        using namespace std::chrono;
        QCOMPARE(dateHourStamp(year{2002} / March / 5, 7), std::string("2002030507"));
        QCOMPARE(dateHourStamp(year{2009} / December / 31, 23), std::string("2009123123"));
        QCOMPARE(twoDigits(123), std::string("123"));
    }

    void keyFilters_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("passes"); // d: digit, c: decimal, s: signed decimal
        addRow("control keys", 31, "dcs");
        addRow("space", 32, "");
        addRow("comma", 44, "");
        addRow("minus", 45, "s");
        addRow("point", 46, "cs");
        addRow("slash", 47, "dcs");
        addRow("zero", 48, "dcs");
        addRow("nine", 57, "dcs");
        addRow("colon", 58, "");
        addRow("delete character", 127, "");
        addRow("code page character", 128, "dcs");
        addRow("negative code", -5, "dcs");
    }
    void keyFilters()
    {
        QFETCH(int, code);
        QFETCH(QString, passes);
        const std::pair<KeyFilterFunction, char> filters[] = {
            {digitFilter, 'd'}, {decimalFilter, 'c'}, {signedDecimalFilter, 's'}};
        for (const auto& [filter, letter] : filters) {
            auto k = static_cast<std::int16_t>(code);
            filter(k);
            QCOMPARE(int(k), passes.contains(QLatin1Char(letter)) ? code : 0);
        }
    }

    void characterCounts_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<TextEncoding>("encoding");
        QTest::addColumn<int>("count");
        QTest::addColumn<QByteArray>("lastFour");
        QTest::addColumn<QByteArray>("firstTwo");
        const auto utf8 = TextEncoding::Utf8;
        const auto codePage = TextEncoding::SingleByte;
        addRow("ASCII", QByteArray("C:\\w"), utf8, 4, QByteArray("C:\\w"), QByteArray("C:"));
        addRow("UTF-8 letters", QByteArray("\xc3\xa9t\xc3\xa9.m"), utf8, 5,
               QByteArray("t\xc3\xa9.m"), QByteArray("\xc3\xa9t"));
        // 0xB0 and 0xB5 (degree and micro signs) look like UTF-8 continuation bytes.
        addRow("code page", QByteArray("\xb0\xb5.ab"), codePage, 5, QByteArray("\xb5.ab"),
               QByteArray("\xb0\xb5"));
        addRow("shorter than asked", QByteArray("\xe9"), codePage, 1, QByteArray("\xe9"),
               QByteArray("\xe9"));
    }
    void characterCounts()
    {
        QFETCH(QByteArray, text);
        QFETCH(TextEncoding, encoding);
        QFETCH(int, count);
        QFETCH(QByteArray, lastFour);
        QFETCH(QByteArray, firstTwo);
        const std::string_view t(text.data(), std::size_t(text.size()));
        QCOMPARE(int(characterCount(t, encoding)), count);
        QCOMPARE(QByteArray(t.substr(offsetOfLastCharacters(t, 4, encoding)).data()), lastFour);
        QCOMPARE(QByteArray::fromStdString(std::string(firstCharacters(t, 2, encoding))), firstTwo);
    }

    void shortPathBuffer_data()
    {
        // What the system call answers: its length or needed size for each buffer it is given.
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<int>("length"); // of the result; -1 for empty
        addRow("fits", QList<int>{90}, 90);
        addRow("fails", QList<int>{0}, -1);
        addRow("255 characters fit", QList<int>{255}, 255);
        addRow("256 characters asked for again", QList<int>{257, 256}, 256);
        addRow("grew between the calls", QList<int>{300, 310}, -1);
        addRow("gone between the calls", QList<int>{300, 0}, -1);
    }
    void shortPathBuffer()
    {
        QFETCH(QList<int>, answers);
        QFETCH(int, length);
        QList<std::size_t> sizes;
        const std::string result = shortPathThrough([&](char* buffer, std::size_t size) {
            const auto n = std::size_t(answers.at(sizes.size()));
            sizes << size;
            if (n < size)
                std::memset(buffer, 'S', n);
            return n;
        });
        QCOMPARE(result, length < 0 ? std::string() : std::string(std::size_t(length), 'S'));
        QCOMPARE(sizes.front(), std::size_t(256));
        QCOMPARE(sizes.size(), answers.size());
    }

    void fileQueries()
    {
        const std::string root = m_dir.path().toStdString();
        const std::string file = path("a.m3d");
        std::ofstream(file) << "x";
        fs::create_directory(path("sub"));
        QVERIFY(isOrdinaryFile(file) && !isOrdinaryFile(root));
        QVERIFY(dirExists(root + "/") && !dirExists(file) && !dirExists(""));
        QVERIFY(pathExists(path("sub")) && !pathExists(path("missing")));
        QVERIFY(patternMatchesFile(root + "/") && !patternMatchesFile(path("sub") + "/"));
        QVERIFY(patternMatchesFile(root + "/?.m3d") && !patternMatchesFile(root + "/*.dat"));
        QVERIFY(!patternMatchesFile(root));
        QCOMPARE(shortPath(file), file);
        QCOMPARE(orNone(directoryReadError(root)), QStringLiteral("none"));
        QCOMPARE(orNone(directoryReadError(file)), QString::fromLatin1(std::strerror(ENOTDIR)));
    }

    void readingFileStarts_data()
    {
        // What is at the path: a file of n bytes, or another kind of file-system object.
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("read");
        addRow("file of 5000 bytes", "5000", true);
        addRow("file of 4999 bytes", "4999", false);
        addRow("link to a file", "link", true);
        addRow("named pipe without a writer", "pipe", false);
        addRow("socket", "socket", false);
        addRow("directory", "directory", false);
        addRow("endless device", "/dev/zero", false);
        addRow("missing", "missing", false);
    }
    void readingFileStarts()
    {
        QFETCH(QString, kind);
        QFETCH(bool, read);
        std::string target = path("target");
        fs::remove_all(target);
        std::ofstream(path("file"), std::ios::trunc) << std::string(5000, 'h') << "tail";
        int socketHandle = -1;
        if (kind.front().isDigit()) {
            std::ofstream(target) << std::string(std::size_t(kind.toInt()), 'h');
        } else if (kind == QStringLiteral("link")) {
            fs::create_symlink(path("file"), target);
        } else if (kind == QStringLiteral("pipe")) {
            QCOMPARE(::mkfifo(target.c_str(), 0600), 0);
        } else if (kind == QStringLiteral("socket")) {
            socketHandle = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::strncpy(address.sun_path, target.c_str(), sizeof address.sun_path - 1);
            QCOMPARE(::bind(socketHandle, reinterpret_cast<sockaddr*>(&address), sizeof address),
                     0);
        } else if (kind == QStringLiteral("directory")) {
            fs::create_directory(target);
        } else if (kind.startsWith(QLatin1Char('/'))) {
            target = kind.toStdString();
        }
        QElapsedTimer clock;
        clock.start();
        const auto bytes = readFileStart(target, 5000);
        if (socketHandle >= 0)
            ::close(socketHandle);
        QCOMPARE(bytes.has_value(), read);
        QCOMPARE(bytes.value_or(std::string(5000, 'h')), std::string(5000, 'h'));
        QVERIFY(clock.elapsed() < 1000);
    }

    void atomicWrites()
    {
        const std::string target = path("out.inp");
        std::ofstream(target) << "old and longer content";
        QCOMPARE(orNone(writeFileAtomically(target, "new\r\n")), QStringLiteral("none"));
        std::ifstream in(target, std::ios::binary);
        QCOMPARE(std::string(std::istreambuf_iterator<char>(in), {}), std::string("new\r\n"));
        for (const auto& entry : fs::directory_iterator(m_dir.path().toStdString()))
            QVERIFY2(entry.path().filename().string().find(".tmp") == std::string::npos,
                     entry.path().c_str());
        QVERIFY(writeFileAtomically(path("gone/out.inp"), "x").has_value());
    }
};

QTEST_GUILESS_MAIN(CommonTest)
#include "common_test.moc"
