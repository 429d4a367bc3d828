// The core's Windows branches on the Windows API as Wine provides it, run by
// scripts/windows-check.sh as "windows_check <folder of the golden files>". It fills C:\ of a
// Wine prefix of its own (the worked examples name C:\work, C:\DATA and C:\D), and every row
// prints what Windows answered.
#include "common/platform.h"
#include "input/input_list_rules.h"
#include "run/control_file_reader.h"
#include "run/control_files.h"
#include "run/job_validation.h"
#include "run/run_script.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <process.h>
#include <string>
#include <thread>
#include <tuple>
#include <windows.h>

using namespace gridloom;
using namespace std::chrono;

namespace {

int failures = 0;

/// Bytes outside printable ASCII show as <XX>, so that the log reads the same in any encoding.
void row(const std::string& name, bool held, const std::string& seen)
{
    for (const unsigned char c : (held ? "ok   " : "FAIL ") + name + "\n  Windows: " + seen + "\n")
        std::printf(c == '\n' || (c >= ' ' && c < 127) ? "%c" : "<%02X>", c);
    failures += held ? 0 : 1;
}

// The C runtime's narrow file names are in the ANSI code page, as the core's are.
std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void putFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

/// The short form as the directory listing gives it, component by component: the 8.3 name
/// where the entry has one, the name itself where it is 8.3 already.
std::string listedShortForm(const std::string& path)
{
    std::string result = path.substr(0, 2);
    for (std::size_t end = 2; end < path.size();) {
        end = std::min(path.find('\\', end + 1), path.size());
        WIN32_FIND_DATAA found{};
        FindClose(FindFirstFileA(path.substr(0, end).c_str(), &found));
        (result += '\\') += *found.cAlternateFileName ? found.cAlternateFileName : found.cFileName;
    }
    return result;
}

/// Makes the folder and those it lies in.
std::string makeFolders(const std::string& path)
{
    for (std::size_t end = 0; end != std::string::npos;)
        CreateDirectoryA(path.substr(0, end = path.find('\\', end + 1)).c_str(), nullptr);
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    // The process that holds the control file open, through the handle it inherits.
    if (argc == 2 && std::string(argv[1]) == "--hold")
        Sleep(INFINITE);
    // Started by a run script in the processor's place: it notes the folder it was started in.
    if (argc == 2 && std::string(argv[1]) == "wxjoin2.inp") {
        char here[MAX_PATH];
        putFile("C:\\check\\ran-in.txt", std::string(here, GetCurrentDirectoryA(MAX_PATH, here)));
        return 0;
    }
    const std::string golden = std::string(argc > 1 ? argv[1] : ".") + "\\";
    char module[MAX_PATH];
    const std::string self(module, GetModuleFileNameA(nullptr, module, MAX_PATH));

    // Whatever an earlier run left goes; the control file is the one it may have left read-only.
    SetFileAttributesA("C:\\work\\wxjoin2.inp", FILE_ATTRIBUTE_NORMAL);
    for (const std::string root : {"C:\\check", "C:\\work", "C:\\DATA", "C:\\D"}) {
        std::filesystem::remove_all(root);
        CreateDirectoryA(root.c_str(), nullptr);
    }
    for (const char* input :
         {"C:\\DATA\\A.M3D", "C:\\DATA\\B.M3D", "C:\\D\\FINE.M3D", "C:\\D\\COARSE.M3D"})
        putFile(input, "3D.DAT");

    // Short names and the 132-character rule. The path has 136 characters in code page 1252;
    // four of them (\265 micro, \263 cubed, \260 degree, \261 plus-minus) would be taken for
    // parts of the character before them if it were counted as UTF-8, leaving 132.
    const std::string longPath =
        makeFolders("C:\\check\\Measured concentrations in \265g per m\263\\Temperatures in \260C "
                    "and winds \261 0.5 m per s") +
        "\\October 2002 extraction, fine grid domain 1.m3d";
    putFile(longPath, "3D.DAT header");
    const std::string listedShort = listedShortForm(longPath);
    const PathCheck listed = checkPathLength(longPath, shortPath, nativeTextEncoding());
    row("a path of 136 ANSI characters is listed as the 8.3 form the directory listing gives",
        listed == PathCheck{listedShort, ListColour::White, false}, listed.path);
    row("a file is read through its short name", readFileStart(listedShort, 6) == "3D.DAT",
        readFileStart(listedShort, 6).value_or("nothing read"));

    // Levels of "a b c d" (8 characters short) until a last 8.3 name of 4 to 12 characters
    // brings the short form to exactly 256. Wine's GetShortPathNameA fails from 260 characters
    // on (ERROR_FILENAME_EXCED_RANGE), so 256 to 259 is what it can show.
    std::string deep = makeFolders("C:\\check\\deep");
    while (listedShortForm(deep).size() + 1 + 12 < 256)
        CreateDirectoryA((deep += "\\a b c d").c_str(), nullptr);
    const std::size_t room = 255 - listedShortForm(deep).size();
    deep += "\\" + (room <= 8 ? std::string(room, 'x') : std::string(room - 4, 'x') + ".m3d");
    putFile(deep, "x");
    row("a short form of 256 characters is refused with the message",
        shortPath(deep) == listedShortForm(deep) &&
            checkPathLength(deep, shortPath, nativeTextEncoding()) ==
                PathCheck{{}, ListColour::Yellow, true},
        shortPath(deep));

    // The program folder as Windows reports it for the running executable (the processor put
    // there in capitals), a drive root, and a folder holding a folder named like the processor.
    const std::string folder = self.substr(0, self.rfind('\\'));
    makeFolders("C:\\check\\p\\wxjoin2.exe");
    const std::tuple<std::string, ProcessingMode, std::string, std::string> processors[] = {
        {folder, ProcessingMode::Extract, folder + "\\WXJOIN2.EXE", folder + "\\wxjoin2.exe"},
        {"C:\\", ProcessingMode::Merge, "C:\\gridfuse.exe", "C:\\gridfuse.exe"},
        {"C:\\check\\p", ProcessingMode::Extract, "", "C:\\check\\p\\wxjoin2.exe"}};
    for (const auto& [where, mode, placed, expected] : processors) {
        putFile(placed, "MZ");
        const std::string path = processorPath(nativeScriptForm(), where, mode);
        const bool present = processorPresent(path);
        DeleteFileA(placed.c_str());
        row(expected + (placed.empty() ? " absent" : " found"),
            path == expected && present == !placed.empty(),
            path + (present ? " found" : " absent"));
    }

    // The file queries and the working-directory pattern with Windows' names: letter case
    // ignored, trailing separators, device names, and names in the ANSI code page (\200 is the
    // euro sign in code page 1252). The working directory's existence is asked by the job check
    // of the merge example below.
    const std::string q = makeFolders("C:\\check\\q");
    for (const char* folder : {"\\sub\\deeper", "\\\200 dir"})
        makeFolders(q + folder);
    putFile(q + "\\Data.M3D", "d");
    putFile(q + "\\\200uro.m3d", "e");
    const auto canList = [](const std::string& path) { return !directoryReadError(path); };
    const std::tuple<const char*, bool (*)(const std::string&), std::string, bool> queries[] = {
        {"an ordinary file", isOrdinaryFile, q + "\\\200URO.M3D", true},
        {"an ordinary file", isOrdinaryFile, q + "\\nul", false},
        {"a directory", dirExists, q + "\\\200 dir\\", true},
        {"listable", canList, q + "\\\200 dir\\", true},
        {"listable", canList, q + "\\missing\\", false}};
    for (const auto& [what, ask, path, expected] : queries)
        row(path + (expected ? " is " : " is not ") + what, ask(path) == expected,
            ask(path) ? "yes" : "no");
    // "*.*" is given a folder whose one file has no dot in its name.
    putFile("C:\\check\\p\\README", "r");
    const std::pair<std::string, bool> patterns[] = {
        {q + "\\", true},           {"C:/check/q/", true},    {q, false},
        {q + "\\sub\\", false},     {q + "\\?ATA.m3d", true}, {q + "\\*.dat", false},
        {"C:\\check\\p\\*.*", true}};
    for (const auto& [pattern, matches] : patterns)
        row(pattern + (matches ? " matches a file" : " matches no file"),
            patternMatchesFile(pattern) == matches, patternMatchesFile(pattern) ? "yes" : "no");

    // A pipe with plenty to say: read as a file, it would pass for the start of a header.
    const HANDLE pipe = CreateNamedPipeA("\\\\.\\pipe\\gridloom-check", PIPE_ACCESS_OUTBOUND,
                                         PIPE_TYPE_BYTE, 1, 8192, 8192, 0, nullptr);
    std::thread([pipe, written = DWORD{}]() mutable {
        ConnectNamedPipe(pipe, nullptr);
        WriteFile(pipe, std::string(8000, ' ').data(), 8000, &written, nullptr);
    }).detach();
    const auto fromPipe = readFileStart("\\\\.\\pipe\\gridloom-check", 100);
    row("a named pipe is refused, not read", !fromPipe, fromPipe ? "read" : "refused");

    // Replacing the control file leaves the old one whole or the new one whole, and no
    // temporary. Another process holds the file open through the handle it inherits (the
    // read-only file's holder inherits none), letting others read it as a viewer would, and in
    // the last case delete it too. Only a refused request to delete it tells a file held open
    // from a denied access, so that last case keeps the system's reason. Wine replaces a
    // read-only file, which Windows refuses to do. The worked example below replaces the file
    // the last case leaves, and the merge example's is a new file.
    JobSettings extraction{.mode = ProcessingMode::Extract,
                           .coordinateType = CoordinateType::IJK,
                           .title = "",
                           .workingDirectory = "C:\\work\\",
                           .inputPaths = {"C:\\DATA\\A.M3D", "C:\\DATA\\B.M3D"},
                           .domain = {{25, 32, 27, 33, 1, 28}, true},
                           .startDate = 2002y / October / 1,
                           .endDate = 2002y / October / 5,
                           .daysPerFile = "4",
                           .outputName = "out"};
    // Every job below passes the check; the working directory is taken as there.
    const auto checkedJob = [](const JobSettings& job) {
        return *validateJob(job, [](const std::string&) { return true; }).job;
    };
    const std::string control = extractionControlPath(checkedJob(extraction));
    const std::string oldBytes = "an older control file\r\n";
    const std::string newBytes = fileBytes(golden + "extract_example.inp");
    const std::tuple<const char*, DWORD, DWORD> replacements[] = {
        {"a read-only control file is replaced or left whole", FILE_ATTRIBUTE_READONLY, 0},
        {"a control file open in another process is left whole", FILE_ATTRIBUTE_NORMAL,
         FILE_SHARE_READ},
        {"a control file open elsewhere but deletable is replaced or left whole",
         FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ | FILE_SHARE_DELETE}};
    for (const auto& [name, attributes, shared] : replacements) {
        SetFileAttributesA(control.c_str(), FILE_ATTRIBUTE_NORMAL);
        putFile(control, oldBytes);
        SetFileAttributesA(control.c_str(), attributes);
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, shared != 0};
        const HANDLE file = CreateFileA(control.c_str(), GENERIC_READ, shared, &inherited,
                                        OPEN_EXISTING, 0, nullptr);
        const auto holder = reinterpret_cast<HANDLE>(
            _spawnl(_P_NOWAIT, self.c_str(), "windows_check", "--hold", nullptr));
        CloseHandle(file);
        const auto failure = writeExtractionControlFile(checkedJob(extraction));
        TerminateProcess(holder, 0);
        WaitForSingleObject(holder, 10000);
        const bool locked = shared == FILE_SHARE_READ;
        char reason[512] = "";
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
                       locked ? ERROR_SHARING_VIOLATION : ERROR_ACCESS_DENIED, 0, reason,
                       sizeof reason, nullptr);
        const std::string refusal = "Unable to replace " + control + ": " +
                                    std::string(reason, std::strcspn(reason, "\r\n"));
        const std::string bytes = fileBytes(control);
        row(name,
            (failure == refusal && bytes == oldBytes) || (!locked && !failure && bytes == newBytes),
            failure.value_or("replaced"));
    }
    WIN32_FIND_DATAA entry{};
    const HANDLE leftover = FindFirstFileA("C:\\work\\*.tmp*", &entry);
    row("no replacement leaves its temporary behind", leftover == INVALID_HANDLE_VALUE,
        entry.cFileName);

    // The merge example through the job check, and the worked examples' batch scripts, as
    // written to disk.
    JobSettings merge{.coordinateType = CoordinateType::LatLon,
                      .title = "west",
                      .workingDirectory = "C:\\work\\",
                      .inputPaths = {"C:\\D\\FINE.M3D", "C:\\D\\COARSE.M3D"},
                      .domain = {{-106.5, -104, 38.25, 40, 0, 0}, true},
                      .startDate = 2001y / July / 1,
                      .endDate = 2001y / July / 3,
                      .endHour = "23",
                      .outputName = "west"};
    const CheckedJob checkedMerge = checkedJob(merge);
    const std::tuple<std::string, const char*, std::optional<std::string>> written[] = {
        {control, "extract_example.inp", writeExtractionControlFile(checkedJob(extraction))},
        {mergeControlPath(checkedMerge), "merge_example.inp", writeMergeControlFile(checkedMerge)},
        {"C:\\work\\run_wxjoin2.bat", "extract_example.bat",
         writeRunScript(ScriptJob{checkedJob(extraction), "C:\\work\\", "C:\\tools"})},
        {"C:\\work\\run_gridfuse.bat", "merge_example.bat",
         writeRunScript(ScriptJob{checkedMerge, "C:\\work\\", "C:\\tools"})}};
    for (const auto& [path, goldenName, failure] : written) {
        const bool same = !failure && fileBytes(path) == fileBytes(golden + goldenName);
        row(path + " is " + goldenName + " byte for byte", same,
            failure.value_or(same ? "the same bytes" : fileBytes(path)));
    }
    // Read back, a control file names its inputs by the short forms written, which are their
    // own short forms: the job writes the same lines again.
    JobSettings shortJob = extraction;
    shortJob.inputPaths = {longPath};
    const auto shortFailure = writeExtractionControlFile(checkedJob(shortJob));
    const ControlFileRead reread = readControlFile(control);
    const auto* readBack = std::get_if<ReadJob>(&reread);
    row("a control file reads back with the short paths it was written with",
        !shortFailure && readBack && readBack->inputPaths == std::vector{listedShort} &&
            shortPath(listedShort) == listedShort,
        readBack ? readBack->inputPaths.front() : std::get<ReadError>(reread).expected);
    const std::string percent =
        batchScriptText(ScriptJob{checkedJob(extraction), "D:\\100% sure\\", "C:\\"});
    row("another drive's line, \"%\" doubled, a drive root's processor",
        percent == "D:\r\ncd \"D:\\100%% sure\\\"\r\n\"C:\\wxjoin2.exe\" wxjoin2.inp\r\npause\r\n",
        percent);

    // cmd.exe reads a batch file in the console's (OEM) code page, not in the ANSI one the
    // names come in: \351 is e acute in code page 1252 and a capital U acute in code page 850.
    // Written as it comes, the script would change into a folder that does not exist, and the
    // processor (this program under the processor's name) would run in the wrong one.
    const std::string accented = makeFolders("C:\\check\\Donn\351es");
    makeFolders("C:\\check\\tools");
    CopyFileA(self.c_str(), "C:\\check\\tools\\wxjoin2.exe", FALSE);
    const auto accentedFailure =
        writeRunScript(ScriptJob{checkedJob(extraction), accented + "\\", "C:\\check\\tools"});
    std::system((accented + "\\run_wxjoin2.bat <NUL >NUL").c_str());
    row("a run script in a folder named in code page " + std::to_string(GetACP()) +
            " runs the processor there, read in code page " + std::to_string(GetOEMCP()),
        !accentedFailure && fileBytes("C:\\check\\ran-in.txt") == accented,
        accentedFailure.value_or(fileBytes("C:\\check\\ran-in.txt")));

    // The name rules on names in code page 1252: \212 is S with caron, \374 u with umlaut.
    // Counted as UTF-8, the cubed sign \263 would belong to the "m" before it.
    merge.outputName = "\212koda.m\263d";
    const CheckedJob ansiMerge = checkedJob(merge);
    const std::string completed = ansiMerge.settings().outputName;
    const auto ansiFailure = writeMergeControlFile(ansiMerge);
    row("Merge keeps a name whose fourth character from the end is \".\"",
        completed == "\212koda.m\263d", completed);
    row("Merge writes the control file under its ANSI name",
        !ansiFailure && GetFileAttributesA("C:\\work\\\212koda.inp") != INVALID_FILE_ATTRIBUTES,
        ansiFailure.value_or(mergeControlPath(ansiMerge)));
    extraction.outputName = "Z\374rich.m\263d";
    const std::string text = extractionControlText(checkedJob(extraction), shortPath);
    row("the extraction base gets \"???\" before the last four characters",
        text.find("\r\nZ\374rich???.m\263d ") != std::string::npos,
        text.substr(0, text.find(" !Base")));

    std::printf("%d of the rows failed in ANSI code page %u\n", failures, GetACP());
    return failures == 0 ? 0 : 1;
}
