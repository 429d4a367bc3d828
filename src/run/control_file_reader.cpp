#include "run/control_file_reader.h"

#include "common/numbers.h"
#include "common/platform.h"
#include "run/control_files.h"

#include <algorithm>
#include <optional>

namespace gridloom {

namespace {

using namespace std::chrono;

constexpr std::string_view extractionNoTitle = "WXJOIN - No project title";
constexpr std::string_view mergeNoTitle = "GRIDFUSE - No project title";

/// A fixed text that ends a data line, and the blanks the writers put between it and the value.
struct Marker {
    std::size_t gap;
    std::string_view text;
};

constexpr Marker baseNameMarker{7, "!Base name for output 3D.DAT file (??? is the must)"};
constexpr Marker beginningMarker{7, ":beginning time (YYYYMMDDHH) for output 3D.DAT "};
constexpr Marker inputCountMarker{8, ":Number of input 3D.DAT files (0 for auto-filename)"};
constexpr Marker rangeMarker{8, ":Extraction Range: i1,i2,j1,j2,k1,k2"};
constexpr Marker daysMarker{8, ":Number of days in each merged file"};
constexpr Marker lastDateMarker{8, ":last date of all MM5 file"};
constexpr Marker logFileMarker{10, "! Log file"};
constexpr Marker outputFileMarker{7, "! Output file"};
constexpr Marker beginningTimeMarker{7, "! Beginning time"};
constexpr Marker endingTimeMarker{7, "! Ending time"};
constexpr Marker methodMarker{20, "! Method of select domain (1: X/Y; 2: lon/lat)"};
constexpr Marker xMarker{12, "! Beg/End X(km) or longitudes"};
constexpr Marker yMarker{12, "! Beg/End Y(km) or latitudes"};
constexpr Marker sourceCountMarker{20, "! Number of source 3D.DAT files"};
constexpr std::string_view inputFileText = "!Input File ";

std::string_view trimEnd(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

/// Thrown inside the reader to end it at the first problem.
struct Refusal {
    ReadError error;
};

/// The file's lines, numbered from 1, and the reading position in them.
class LineReader {
public:
    explicit LineReader(std::string_view text)
    {
        while (!text.empty()) {
            const std::size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            if (line.ends_with('\r'))
                line.remove_suffix(1);
            m_lines.push_back(line);
            text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        }
    }

    /// The number of the line the next call reads.
    std::size_t nextLineNumber() const { return m_next + 1; }
    bool atEnd() const { return m_next >= m_lines.size(); }
    std::string_view peek() const { return atEnd() ? std::string_view() : m_lines[m_next]; }

    /// The next line, or a refusal that names what should have stood there.
    std::string_view next(const std::string& expected)
    {
        if (atEnd())
            refuse(expected + ", not the end of the file");
        return m_lines[m_next++];
    }

    /// The value before `marker` on the next line. The writers put exactly `gap` blanks
    /// between the two, and only those are taken off, so a value's own trailing blanks stay;
    /// a line spaced by hand loses all of them.
    std::string valueBefore(const Marker& marker, const std::string& what)
    {
        const std::string expected = what + " followed by \"" + std::string(marker.text) + "\"";
        const std::string_view line = next(expected);
        const std::string_view text = trimEnd(marker.text);
        const std::string_view content = trimEnd(line);
        if (!content.ends_with(text))
            refuseLast(expected);
        std::string_view value = content.substr(0, content.size() - text.size());
        const std::string gap(marker.gap, ' ');
        if (value.ends_with(gap) && !trimEnd(value.substr(0, value.size() - gap.size())).empty())
            value.remove_suffix(gap.size());
        else
            value = trimEnd(value);
        return std::string(value);
    }

    /// Refuses for the line just read.
    [[noreturn]] void refuseLast(const std::string& expected) const
    {
        throw Refusal{ReadError{m_next, expected}};
    }
    [[noreturn]] void refuse(const std::string& expected) const
    {
        throw Refusal{ReadError{m_next + 1, expected}};
    }

private:
    std::vector<std::string_view> m_lines;
    std::size_t m_next = 0;
};

std::string quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

StampedHour readStamp(LineReader& lines, const Marker& marker, const std::string& what)
{
    const std::string value = lines.valueBefore(marker, what + " (YYYYMMDDHH)");
    const std::string_view digits = trimBlanks(value);
    const bool allDigits =
        digits.size() == 10 &&
        std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (allDigits) {
        const auto number = [&digits](std::size_t from, std::size_t count) {
            return *parseInt32(digits.substr(from, count));
        };
        const year_month_day date{year{number(0, 4)}, month{unsigned(number(4, 2))},
                                  day{unsigned(number(6, 2))}};
        const int hour = number(8, 2);
        // A year before 1000 has no four digits to be written back with.
        if (date.ok() && date.year() >= year{1000} && hour <= 23)
            return StampedHour{date, hour};
    }
    lines.refuseLast(what +
                     " as a real date from the year 1000 on and an hour from 00 to 23, "
                     "YYYYMMDDHH, not " +
                     quoted(value));
}

/// A count of files: a whole number of at least `least`.
std::size_t readCount(LineReader& lines, const Marker& marker, const std::string& what)
{
    const std::string value = lines.valueBefore(marker, what);
    const auto count = parseInt32(trimBlanks(value));
    if (!count || *count < 0)
        lines.refuseLast(what + " as a whole number, not " + quoted(value));
    return static_cast<std::size_t>(*count);
}

/// `count` numbers joined by commas.
std::vector<std::string> readNumbers(LineReader& lines, const Marker& marker,
                                     const std::string& what, std::size_t count)
{
    const std::string value = lines.valueBefore(marker, what);
    std::vector<std::string> numbers;
    std::string_view rest = value;
    for (;;) {
        const std::size_t comma = rest.find(',');
        numbers.emplace_back(trimBlanks(rest.substr(0, comma)));
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    const bool allNumbers = std::all_of(numbers.begin(), numbers.end(), [](const auto& number) {
        return parseRealNumber(number).has_value();
    });
    if (numbers.size() != count || !allNumbers)
        lines.refuseLast(what + ": " + std::to_string(count) +
                         " numbers separated by commas, not " + quoted(value));
    return numbers;
}

void readInputFiles(LineReader& lines, ReadJob& job, std::size_t count, std::size_t countLine)
{
    job.firstInputLine = lines.nextLineNumber();
    for (std::size_t k = 1; k <= count; ++k) {
        const std::string index = std::to_string(k);
        // Each line ends with the file's own position.
        const std::string expected = "the path of input file " + index + " followed by \"" +
                                     std::string(inputFileText) + index + "\" (line " +
                                     std::to_string(countLine) + " counts " +
                                     std::to_string(count) + " input files)";
        const std::string_view line = trimEnd(lines.next(expected));
        if (!line.ends_with(std::string(inputFileText) + index))
            lines.refuseLast(expected);
        const std::string_view path =
            trimEnd(line.substr(0, line.size() - inputFileText.size() - index.size()));
        if (trimBlanks(path).empty())
            lines.refuseLast(expected);
        job.inputPaths.emplace_back(path);
    }
}

/// The name for the output-name field that gives the written base name back: without the
/// "???" that the writer inserts when that gives the same line, else the base as it stands.
std::string extractionOutputName(const std::string& base)
{
    const std::size_t placeholder = base.find("???");
    if (placeholder != std::string::npos) {
        const std::string withoutPlaceholder =
            base.substr(0, placeholder) + base.substr(placeholder + 3);
        if (withoutPlaceholder.find("???") == std::string::npos &&
            extractionBaseName(withoutPlaceholder, nativeTextEncoding()) == base)
            return withoutPlaceholder;
    }
    return base;
}

ReadJob readExtraction(LineReader& lines, std::string_view title)
{
    ReadJob job;
    job.mode = ProcessingMode::Extract;
    job.coordinateType = CoordinateType::IJK;
    job.title = title == extractionNoTitle ? std::string() : std::string(title);
    const std::string base = lines.valueBefore(baseNameMarker, "the output base name");
    if (trimBlanks(base).empty())
        lines.refuseLast("an output base name before \"" + std::string(baseNameMarker.text) + "\"");
    job.outputName = extractionOutputName(base);
    job.startLine = lines.nextLineNumber();
    job.start = readStamp(lines, beginningMarker, "the beginning time");
    const std::size_t countLine = lines.nextLineNumber();
    const std::size_t count = readCount(lines, inputCountMarker, "the number of input files");
    if (count == 0)
        lines.refuseLast("1 or more input files listed one by one; the processor's "
                         "auto-filename form (0 files and an input base name) cannot be opened");
    readInputFiles(lines, job, count, countLine);
    job.boundsLine = lines.nextLineNumber();
    job.bounds = readNumbers(lines, rangeMarker, "the extraction range i1,i2,j1,j2,k1,k2", 6);
    const std::string days = lines.valueBefore(daysMarker, "the number of days in each file");
    if (!parseWholeNumber(days))
        lines.refuseLast("the number of days in each file as a whole number, not " + quoted(days));
    job.daysPerFile = std::string(trimBlanks(days));
    job.endLine = lines.nextLineNumber();
    job.end = readStamp(lines, lastDateMarker, "the last date");
    return job;
}

ReadJob readMerge(LineReader& lines, std::string_view title)
{
    ReadJob job;
    job.mode = ProcessingMode::Merge;
    job.title = title == mergeNoTitle ? std::string() : std::string(title);
    const std::size_t logLine = lines.nextLineNumber();
    const std::string log = lines.valueBefore(logFileMarker, "the log file's name");
    job.outputName = lines.valueBefore(outputFileMarker, "the output file's name");
    if (trimBlanks(job.outputName).empty())
        lines.refuseLast("an output file name before \"" + std::string(outputFileMarker.text) +
                         "\"");
    const std::string expectedLog = outputStem(job.outputName) + ".lst";
    if (log != expectedLog)
        throw Refusal{ReadError{logLine, "the log file " + quoted(expectedLog) +
                                             ", named after the output file on the next line, "
                                             "not " +
                                             quoted(log)}};
    job.startLine = lines.nextLineNumber();
    job.start = readStamp(lines, beginningTimeMarker, "the beginning time");
    job.endLine = lines.nextLineNumber();
    job.end = readStamp(lines, endingTimeMarker, "the ending time");
    const std::string method =
        lines.valueBefore(methodMarker, "the method of selecting the domain, 1 or 2");
    if (trimBlanks(method) == "1")
        job.coordinateType = CoordinateType::XY;
    else if (trimBlanks(method) == "2")
        job.coordinateType = CoordinateType::LatLon;
    else
        lines.refuseLast("the method of selecting the domain, 1 (X/Y) or 2 (lon/lat), not " +
                         quoted(method));
    job.boundsLine = lines.nextLineNumber();
    job.bounds = readNumbers(lines, xMarker, "the X or longitude start and end", 2);
    const auto y = readNumbers(lines, yMarker, "the Y or latitude start and end", 2);
    job.bounds.insert(job.bounds.end(), y.begin(), y.end());
    const std::size_t countLine = lines.nextLineNumber();
    const std::size_t count = readCount(lines, sourceCountMarker, "the number of source files");
    if (count == 0)
        lines.refuseLast("1 or more source files");
    readInputFiles(lines, job, count, countLine);
    // Nothing but comments follows the inputs: one more input means the count is short.
    if (trimEnd(lines.peek()).find(inputFileText) != std::string_view::npos)
        lines.refuse("the comment lines after the " + std::to_string(count) +
                     " input files that line " + std::to_string(countLine) +
                     " counts, not another input file");
    return job;
}

} // namespace

ControlFileRead parseControlFile(std::string_view text)
{
    if (const std::size_t zero = text.find('\0'); zero != std::string_view::npos) {
        const auto line = std::count(text.begin(), text.begin() + long(zero), '\n') + 1;
        return ReadError{std::size_t(line), "text, not binary data"};
    }
    LineReader lines(text);
    try {
        const std::string_view title = lines.next("a title line");
        const std::string_view second = trimEnd(lines.peek());
        if (second.ends_with(trimEnd(baseNameMarker.text)))
            return readExtraction(lines, title);
        if (second.ends_with(logFileMarker.text))
            return readMerge(lines, title);
        lines.refuse("an extraction control file's base name followed by \"" +
                     std::string(baseNameMarker.text) +
                     "\", or a merge control file's log file followed by \"" +
                     std::string(logFileMarker.text) + "\"");
    } catch (const Refusal& refusal) {
        return refusal.error;
    }
}

ControlFileRead readControlFile(const std::string& path)
{
    const auto bytes = readFileUpTo(path, maximumControlFileSize + 1);
    if (!bytes) {
        if (!pathExists(path))
            return ReadError{0, "an existing file"};
        if (!isOrdinaryFile(path))
            return ReadError{0, "an ordinary file, not a folder, pipe or device"};
        return ReadError{0, "a file that can be read"};
    }
    if (bytes->size() > maximumControlFileSize)
        return ReadError{0, "a control file of at most " + std::to_string(maximumControlFileSize) +
                                " bytes"};
    return parseControlFile(*bytes);
}

std::string controlFileRefusal(const std::string& path, std::size_t line, std::string_view what)
{
    std::string message = "Unable to open the control file " + path + ".\n";
    if (line > 0)
        message += "Line " + std::to_string(line) + ": ";
    return message + std::string(what);
}

std::string controlFileRefusal(const std::string& path, const ReadError& error)
{
    return controlFileRefusal(path, error.line, "expected " + error.expected + ".");
}

} // namespace gridloom
