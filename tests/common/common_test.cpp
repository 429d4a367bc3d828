// The shared helpers: number reading and writing, keystroke filters, character counts,
// and the file-system layer on real files, pipes and devices.
#include "common/key_filters.h"
#include "common/numbers.h"
#include "common/palette.h"
#include "common/platform.h"
#include "support/data_rows.h"
#include "support/qt_test_prelude.h"
#include "support/test_platform.h"

#include <cstring>
#include <filesystem>
#include <fstream>

using namespace gridloom;
using namespace gridloom::testing;
using namespace Qt::StringLiterals;
namespace fs = std::filesystem;

namespace {

template <typename T> QString orNone(const std::optional<T>& value)
{
    return value ? QString::number(*value, 'g', 15) : u"none"_s;
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
        // Each text read as a 16-bit whole number (half to even), a real number and a 32-bit
        // integer; "none" where it is refused.
        columns<QString, QString, QString, QString>("text", "whole", "real", "int32");
        const auto row = [](const char* text, const char* whole, const char* real,
                            const char* int32) { addRow(text, text, whole, real, int32); };
        row("+7", "7", "7", "7");
        row(" -23 ", "-23", "-23", "none");
        row("2.5", "2", "2.5", "none");
        row(".6", "1", "0.6", "none");
        row("2.5E-3", "0", "0.0025", "none");
        row("32767.4", "32767", "32767.4", "none");
        row("32767.5", "none", "32767.5", "none");
        row("-32769", "none", "-32769", "-32769");
        row("2147483648", "none", "2147483648", "none");
        for (const char* refused : {"", ".", "abc", "1/2", "2,5", "inf", "--1"})
            row(refused, "none", "none", "none");
    }
    void readingNumbers()
    {
        auto [text, whole, real, int32] = fetchRow<QString, QString, QString, QString>();
        const std::string t = text.toStdString();
        QCOMPARE(orNone(parseWholeNumber(t)) + u' ' + orNone(parseRealNumber(t)) + u' ' +
                     orNone(parseInt32(t)),
                 whole + u' ' + real + u' ' + int32);
    }

    void writingNumbers_data()
    {
        // texts: general, six decimals, two decimals
        columns<double, QString>("value", "texts");
        addRow("no minus for zero", -0.001, "-0.001 -0.001000 0.00");
        addRow("smallest plain", 0.0001, "0.0001 0.000100 0.00");
        addRow("exponent below", -0.000015, "-1.5E-05 -0.000015 0.00");
        addRow("fifteen digits", 0.1 + 0.2, "0.3 0.300000 0.30");
        addRow("largest plain", 123456789012345.0,
               "123456789012345 123456789012345.000000 123456789012345.00");
        addRow("exponent above", 1.5e20,
               "1.5E+20 150000000000000000000.000000 150000000000000000000.00");
    }
    void writingNumbers()
    {
        auto [value, texts] = fetchRow<double, QString>();
        QCOMPARE(QString::fromStdString(formatGeneral(value) + ' ' + formatFixed(value, 6) + ' ' +
                                        formatFixed(value, 2)),
                 texts);
    }

    void keyFilters()
    {
        // Which of the digit, decimal and signed decimal filters let each code through.
        const std::pair<int, const char*> codes[] = {
            {31, "dcs"}, {32, ""},    {44, ""}, {45, "s"}, {46, "cs"},   {47, "dcs"},
            {48, "dcs"}, {57, "dcs"}, {58, ""}, {127, ""}, {128, "dcs"}, {-5, "dcs"}};
        for (const auto& [code, passes] : codes) {
            QString passed;
            for (const auto& [filter, letter] : {std::pair{&digitFilter, 'd'},
                                                 {&decimalFilter, 'c'},
                                                 {&signedDecimalFilter, 's'}}) {
                auto k = static_cast<std::int16_t>(code);
                filter(k);
                QVERIFY(k == code || k == 0); // a refused key is made nothing
                if (k == code)
                    passed += QLatin1Char(letter);
            }
            QCOMPARE(passed, QLatin1String(passes));
        }
    }

    void shortPathBuffer_data()
    {
        // What the system call answers for each buffer it is given: the length of its result,
        // the size it needs, or 0 for a failure.
        // length: of the result; -1 for empty
        columns<QList<int>, int>("answers", "length");
        addRow("255 characters fit", QList<int>{255}, 255);
        addRow("fails", QList<int>{0}, -1);
        addRow("256 characters asked for again", QList<int>{257, 256}, 256);
        addRow("grew between the calls", QList<int>{300, 310}, -1);
    }
    void shortPathBuffer()
    {
        auto [answers, length] = fetchRow<QList<int>, int>();
        QList<std::size_t> sizes;
        const std::string result = shortPathThrough([&](char* buffer, std::size_t size) {
            const auto n = std::size_t(answers.at(sizes.size()));
            sizes << size;
            std::memset(buffer, 'S', std::min(n, size));
            return n;
        });
        QCOMPARE(result, length < 0 ? std::string() : std::string(std::size_t(length), 'S'));
        QCOMPARE(sizes.front(), std::size_t(256));
        QCOMPARE(sizes.size(), answers.size());
    }

    // What a user must tell apart, at least 70 steps of a channel away: the boxes, the files'
    // outlines and the map's paper from each other, the boxes also from shores on land and sea;
    // on the hours strip, warnings and bars from each other and from what lies under them.
    void coloursAUserMustTellApart()
    {
        const auto apart = [](QColor a, QColor b) {
            return std::hypot(a.red() - b.red(), a.green() - b.green(), a.blue() - b.blue()) >= 70;
        };
        std::vector<QColor> marks{boxOutline, drawnBox, warningColour, mapPaper};
        marks.insert(marks.end(), std::begin(fileOutlines), std::end(fileOutlines));
        for (std::size_t a = 0; a < marks.size(); ++a)
            for (std::size_t b = a + 1; b < marks.size(); ++b)
                QVERIFY(apart(marks[a], marks[b]) && (a > 2 || apart(marks[a], mapCoast)) &&
                        (a > 2 || apart(marks[a], mapLakes)));
        for (const QColor under : {periodBand, gapTint, heldHours, fileBar})
            QVERIFY(apart(warningColour, under) && (under == fileBar || apart(fileBar, under)));
    }

    void readingFileStarts_data()
    {
        // What is at the path: a file of n bytes, a link to a longer one, or no file at all.
        columns<QString, bool>("kind", "read");
        addRow("file of 5000 bytes", "5000", true);
        addRow("file of 4999 bytes", "4999", false);
        addRow("link to a file", "link", true);
        addRow("named pipe without a writer", "pipe", false);
        addRow("directory", "directory", false);
        addRow("endless device", "device", false);
    }
    void readingFileStarts()
    {
        auto [kind, read] = fetchRow<QString, bool>();
        std::string target = path("target");
        fs::remove_all(target);
        std::ofstream(path("file"), std::ios::trunc) << std::string(5000, 'h') << "tail";
        if (kind.front().isDigit())
            std::ofstream(target) << std::string(std::size_t(kind.toInt()), 'h');
        else if (kind == u"link"_s) {
            std::error_code error;
            fs::create_symlink(path("file"), target, error);
            // Windows lets only administrators and developer mode make links.
            if (error && onWindows)
                QSKIP(qPrintable(u"no link: "_s + QString::fromLocal8Bit(error.message())));
            QVERIFY(!error);
        } else if (kind == u"pipe"_s)
            QVERIFY(!(target = makeWaitingPipe(target)).empty());
        else if (kind == u"directory"_s)
            fs::create_directory(target);
        else
            target = endlessDevice();
        QElapsedTimer clock;
        clock.start();
        const auto bytes = readFileStart(target, 5000);
        QCOMPARE(bytes.value_or("refused"), read ? std::string(5000, 'h') : "refused");
        QVERIFY(clock.elapsed() < 1000);
    }
};

QTEST_GUILESS_MAIN(CommonTest)
#include "common_test.moc"
