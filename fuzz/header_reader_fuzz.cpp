// Feeds arbitrary bytes to the header reader, both as a file on disk and as text in memory, and
// checks that the two agree and that whatever is accepted keeps the promises the input list
// relies on; the bytes are also tried as a path against the length rule. Any crash, sanitizer
// report or broken promise is a finding.

#include "common/date_hour_stamp.h"
#include "common/numbers.h"
#include "input/domain_limits.h"
#include "input/header_reader.h"
#include "input/input_list_rules.h"
#include "input/period_presets.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace {

// The one file every run rewrites, removed again when the fuzzer exits.
struct InputFile {
    std::string path = (std::filesystem::temp_directory_path() /
                        ("header_reader_fuzz-" + std::to_string(::getpid()) + ".m3d"))
                           .string();
    ~InputFile()
    {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
};

void require(bool condition, const char* promise)
{
    if (!condition) {
        std::fprintf(stderr, "broken promise: %s\n", promise);
        std::abort();
    }
}

bool sameInfo(const gridloom::InputFileInfo& a, const gridloom::InputFileInfo& b)
{
    return a.iStart == b.iStart && a.iEnd == b.iEnd && a.jStart == b.jStart && a.jEnd == b.jEnd &&
           a.levelStart == b.levelStart && a.levelEnd == b.levelEnd && a.latStart == b.latStart &&
           a.latEnd == b.latEnd && a.lonStart == b.lonStart && a.lonEnd == b.lonEnd &&
           a.gridSpacingKm == b.gridSpacingKm && a.firstHour == b.firstHour &&
           a.hourCount == b.hourCount && a.extentText == b.extentText && a.path == b.path;
}

void checkAccepted(const gridloom::InputFileInfo& info)
{
    using namespace gridloom;
    require(info.hourCount >= 1, "an accepted file has at least one hour");
    require(info.lastHour() >= info.firstHour, "the last hour is not before the first");
    for (const auto& field : info.extentText)
        require(!field.empty() && field.find(' ') == std::string::npos,
                "an extent field is one non-blank word");
    const std::string stamp = dateHourStamp(calendarDay(info.firstHour), hourOfDay(info.firstHour));
    require(stamp.size() == 10 && parseInt32(stamp).has_value(), "an accepted stamp fits 32 bits");
    // What the list and the limits panel do with an accepted file must not fail either.
    (void)domainLimitTexts(info.extentText, LimitsView::Geographic);
    (void)domainLimitTexts(limitTextsOf(info), LimitsView::Geographic);
    (void)setPeriodForMerge(info);
    (void)mergeRefusal(1, lastFileStateOf(info), info);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static InputFile file;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    std::FILE* out = std::fopen(file.path.c_str(), "wb");
    if (out == nullptr)
        return 0;
    const bool written = std::fwrite(data, 1, size, out) == size;
    if (std::fclose(out) != 0 || !written)
        return 0;

    const auto fromFile = gridloom::readHeader(file.path);
    const auto fromText = gridloom::parseHeader(text, file.path);
    if (size < gridloom::headerReadSize)
        require(!fromFile, "a file shorter than 5000 characters is refused");
    else
        require(fromFile.has_value() == fromText.has_value() &&
                    (!fromFile || sameInfo(*fromFile, *fromText)),
                "the file and its text read the same");
    if (fromText)
        checkAccepted(*fromText);

    // The same bytes as a chosen path, whatever their encoding, must get a clear answer.
    const std::string path(text.substr(0, 400));
    for (const auto encoding : {gridloom::TextEncoding::Utf8, gridloom::TextEncoding::SingleByte}) {
        const auto check = gridloom::checkPathLength(
            path, [](const std::string& p) { return p; }, encoding);
        require(check.tooLong ==
                    (gridloom::characterCount(path, encoding) > gridloom::maximumPathLength),
                "exactly the paths over 132 characters are refused");
        require(check.tooLong || check.path == path, "a path within the limit is used unchanged");
    }
    return 0;
}
