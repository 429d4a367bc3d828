#include "run/control_files.h"

#include "common/date_hour_stamp.h"
#include "common/numbers.h"
#include "common/platform.h"

#include <array>
#include <string_view>

namespace gridloom {

namespace {

constexpr std::string_view lineEnd = "\r\n";

// The processor's documentation travels with every extraction control file; it is read by
// people, so its wording stays exactly as users of the processor know it.
constexpr std::array<std::string_view, 38> extractionComments{
    " ",
    "********  Lines below are comments ********************************",
    " ",
    "Description of lines",
    " ",
    "Line 1: Title",
    "Line 2: Base name of extracted 3D.DAT files. The program may output",
    "        more than one file from one application, based on user-input",
    "       control of number of days in each extracted file (the second",
    "        last Line).  The output files will be this base name except",
    "???, which will be replaced by 001, 002....",
    "Line 3: Beginning date (YYYYMMDDHH) for extraction",
    "Line 4: Number of input 3D.DAT files, followed by their file names.",
    "        If this number is zero (0), then the next line will be the",
    "        basename for input 3D.DAT files with the same rule as Line 2.",
    "Line 5 ....: Input 3D.DAT file name or input basename",
    "",
    "Line",
    "",
    "",
    "Note:",
    "2. k1 & K2 are not used for MM5 V2 files",
    "3. New Feature in Version 030430 and after",
    "   a. If Number of files is set to ZERO, MM5 file names are",
    "      generated automatically from Input Base name.",
    "   b. If Number of files > 0, MM5 file names are input from",
    "     this control file.",
    " ",
    "------------------------------------------------------------",
    "Sample for Auto-File names input",
    "Merge M3D file for Kazakhstan",
    "Print #FileNum, 'e:\\kazak\\m3d_small\\kzd2???.m3d  :Base of output file name (??? is the "
    "must)",
    "2002093012                 :beginning of combined MM5 file",
    "0                          :Number of files (0 for auto_filenames)",
    "e:\\kazak\\m3d\\junk???.m3d   :Base of input files (??? is the must)",
    "25,32,27,33,1,28           :Extration RangF: i1,i2,j1,j2,k1,k2",
    "4                          :Number of days in each merged file",
    "2002100500                 :last date of all MM5 file",
};

constexpr std::array<std::string_view, 11> mergeComments{
    " ",
    "----Below are comment lines and not used in the program ------------------",
    " ",
    "Note:",
    " ",
    "1. The First choice of 3D.DAT must be the finest domain.  Its Grid size",
    "   will be grid size of new 3D.DAT",
    "2. The last choice of 3D.DAT must cover the entire area required",
    "   by new 3D.DAT.",
    "3. User specified beg/end range of new 3D.DAT may be adjusted slightly",
    "   to nearest grid locations.",
};

/// Collects lines and ends each with CR LF, the last one included.
class Lines {
public:
    Lines& operator<<(std::string_view line)
    {
        m_text.append(line).append(lineEnd);
        return *this;
    }
    std::string text() && { return std::move(m_text); }

private:
    std::string m_text;
};

std::string titleLine(const std::string& title, std::string_view placeholder)
{
    return trimBlanks(title).empty() ? std::string(placeholder) : title;
}

} // namespace

std::string extractionBaseName(const std::string& outputName, TextEncoding encoding)
{
    const bool hasDot = outputName.find('.') != std::string::npos;
    const bool hasPlaceholder = outputName.find("???") != std::string::npos;
    if (hasPlaceholder)
        return hasDot ? outputName : outputName + ".m3d";
    if (!hasDot)
        return outputName + "???.m3d";
    const std::size_t cut = offsetOfLastCharacters(outputName, 4, encoding);
    return outputName.substr(0, cut) + "???" + outputName.substr(cut);
}

std::string outputStem(const std::string& outputName)
{
    return outputName.substr(0, outputName.find('.'));
}

std::string extractionControlPath(const CheckedJob& job)
{
    return job.settings().workingDirectory + "wxjoin2.inp";
}

std::string mergeControlPath(const CheckedJob& job)
{
    return job.settings().workingDirectory + outputStem(job.settings().outputName) + ".inp";
}

std::string extractionControlText(const CheckedJob& checked, const PathShortener& shorten)
{
    const JobSettings& job = checked.settings();
    const auto& b = job.domain.bounds;
    Lines lines;
    lines << titleLine(job.title, "WXJOIN - No project title")
          << extractionBaseName(job.outputName, nativeTextEncoding()) +
                 "       !Base name for output 3D.DAT file (??? is the must)"
          << dateHourStamp(checked.start()) +
                 "       :beginning time (YYYYMMDDHH) for output 3D.DAT "
          << std::to_string(job.inputPaths.size()) +
                 "        :Number of input 3D.DAT files (0 for auto-filename)";
    for (std::size_t k = 0; k < job.inputPaths.size(); ++k)
        lines << shorten(job.inputPaths[k]) + "       !Input File " + std::to_string(k + 1);
    lines << formatGeneral(b[0]) + "," + formatGeneral(b[1]) + "," + formatGeneral(b[2]) + "," +
                 formatGeneral(b[3]) + "," + formatGeneral(b[4]) + "," + formatGeneral(b[5]) +
                 "        :Extraction Range: i1,i2,j1,j2,k1,k2"
          << job.daysPerFile + "        :Number of days in each merged file"
          << dateHourStamp(checked.end()) + "        :last date of all MM5 file";
    for (const auto comment : extractionComments)
        lines << comment;
    return std::move(lines).text();
}

std::string mergeControlText(const CheckedJob& checked, const PathShortener& shorten)
{
    const JobSettings& job = checked.settings();
    const auto& b = job.domain.bounds;
    std::string method;
    if (job.coordinateType == CoordinateType::LatLon)
        method = "2                    ! Method of select domain (1: X/Y; 2: lon/lat)";
    else if (job.coordinateType == CoordinateType::XY)
        method = "1                    ! Method of select domain (1: X/Y; 2: lon/lat)";

    Lines lines;
    lines << titleLine(job.title, "GRIDFUSE - No project title")
          << outputStem(job.outputName) + ".lst          ! Log file"
          << job.outputName + "       ! Output file"
          << dateHourStamp(checked.start()) + "       ! Beginning time"
          << dateHourStamp(checked.end()) + "       ! Ending time" << method
          << formatGeneral(b[0]) + "," + formatGeneral(b[1]) +
                 "            ! Beg/End X(km) or longitudes"
          << formatGeneral(b[2]) + "," + formatGeneral(b[3]) +
                 "            ! Beg/End Y(km) or latitudes"
          << std::to_string(job.inputPaths.size()) +
                 "                    ! Number of source 3D.DAT files";
    for (std::size_t k = 0; k < job.inputPaths.size(); ++k)
        lines << shorten(job.inputPaths[k]) + "       !Input File " + std::to_string(k + 1);
    for (const auto comment : mergeComments)
        lines << comment;
    return std::move(lines).text();
}

std::optional<std::string> writeExtractionControlFile(const CheckedJob& job)
{
    return writeFileAtomically(
        extractionControlPath(job),
        extractionControlText(job, [](const std::string& path) { return shortPath(path); }));
}

std::optional<std::string> writeMergeControlFile(const CheckedJob& job)
{
    return writeFileAtomically(
        mergeControlPath(job),
        mergeControlText(job, [](const std::string& path) { return shortPath(path); }));
}

} // namespace gridloom
