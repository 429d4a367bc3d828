// The core's Windows branches on the Windows API as Wine provides it, run by
// scripts/windows-check.sh as "windows_check <folder of the golden files>". It fills C:\ of a
// Wine prefix of its own (the worked examples name C:\work, C:\DATA and C:\D), and every row
// prints what Windows answered.
#include "common/platform.h"
#include "input/input_list_rules.h"
#include "run/control_files.h"
#include "run/job_validation.h"
#include "run/run_script.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <system_error>
#include <thread>
#include <tuple>
#include <vector>
#include <windows.h>

using namespace gridloom;
using namespace std::chrono;

namespace {

int failures = 0;

/// Bytes outside printable ASCII as <XX>, so that the log shows them whatever its encoding.
std::string shown(const std::string& text)
{
    std::string result;
    char byte[8];
    for (const char c : text) {
        std::snprintf(byte, sizeof byte, c >= ' ' && c < 127 ? "%c" : "<%02X>",
                      static_cast<unsigned char>(c));
        result += byte;
    }
    return result;
}

void row(const std::string& name, bool held, const std::string& seen)
{
    std::printf("%s %s\n       Windows: %s\n", held ? "ok  " : "FAIL", shown(name).c_str(),
                shown(seen).c_str());
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

/// Where the bytes part from the expected ones, for the log.
std::string comparison(const std::string& expected, const std::string& got)
{
    const auto [e, g] = std::mismatch(expected.begin(), expected.end(), got.begin(), got.end());
    if (e == expected.end() && g == got.end())
        return std::to_string(got.size()) + " bytes as expected";
    return "differs from byte " + std::to_string(g - got.begin()) + ": " +
           got.substr(g - got.begin(), 40);
}

std::string systemText(DWORD code)
{
    char text[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r'))
        --length;
    return std::string(text, length);
}

/// The short form as the directory listing gives it, component by component: the 8.3 name
/// where the entry has one, the name itself where it is 8.3 already.
std::string listedShortForm(const std::string& path)
{
    std::string result = path.substr(0, 2);
    for (std::size_t end = 2; end < path.size();) {
        end = std::min(path.find('\\', end + 1), path.size());
        WIN32_FIND_DATAA entry{};
        FindClose(FindFirstFileA(path.substr(0, end).c_str(), &entry));
        result += "\\" + std::string(entry.cAlternateFileName[0] != '\0' ? entry.cAlternateFileName
                                                                         : entry.cFileName);
    }
    return result;
}

std::string makeFolders(const std::vector<std::string>& folders)
{
    std::string path = "C:";
    for (const auto& folder : folders)
        CreateDirectoryA((path += "\\" + folder).c_str(), nullptr);
    return path;
}

const char* const holdingEvent = "gridloom-check-holding";

/// Another process that holds the file open as a viewer would: others may read it, not change
/// or delete it. Ended with TerminateProcess.
PROCESS_INFORMATION holdOpen(const std::string& self, const std::string& path)
{
    const HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, holdingEvent);
    std::string command = "\"" + self + "\" --hold \"" + path + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &child))
        WaitForSingleObject(ready, 10000);
    CloseHandle(ready);
    return child;
}

JobSettings example(ProcessingMode mode)
{
    JobSettings job;
    job.mode = mode;
    job.workingDirectory = "C:\\work\\";
    job.domain.domainValid = true;
    if (mode == ProcessingMode::Extract) {
        job.coordinateType = CoordinateType::IJK;
        job.outputName = "out";
        job.startDate = 2002y / October / 1;
        job.endDate = 2002y / October / 5;
        job.domain.bounds = {25, 32, 27, 33, 1, 28};
        job.daysPerFile = "4";
        job.inputPaths = {"C:\\DATA\\A.M3D", "C:\\DATA\\B.M3D"};
    } else {
        job.coordinateType = CoordinateType::LatLon;
        job.title = "west";
        job.outputName = "west";
        job.startDate = 2001y / July / 1;
        job.endDate = 2001y / July / 3;
        job.endHour = "23";
        job.domain.bounds = {-106.5, -104, 38.25, 40, 0, 0};
        job.inputPaths = {"C:\\D\\FINE.M3D", "C:\\D\\COARSE.M3D"};
    }
    return job;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--hold") {
        if (CreateFileA(argv[2], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                        nullptr) != INVALID_HANDLE_VALUE)
            SetEvent(OpenEventA(EVENT_MODIFY_STATE, FALSE, holdingEvent));
        Sleep(INFINITE);
    }
    const std::string golden = std::string(argc > 1 ? argv[1] : ".") + "\\";
    char module[MAX_PATH];
    const std::string self(module, GetModuleFileNameA(nullptr, module, MAX_PATH));
    std::printf("ANSI code page %u\n", GetACP());

    // Whatever an earlier run left goes, read-only files included.
    for (const wchar_t* root : {L"C:\\check", L"C:\\work", L"C:\\DATA", L"C:\\D"}) {
        std::error_code error;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root, error))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(root, error);
    }
    for (const char* folder : {"C:\\work", "C:\\DATA", "C:\\D"})
        CreateDirectoryA(folder, nullptr);
    for (const char* input :
         {"C:\\DATA\\A.M3D", "C:\\DATA\\B.M3D", "C:\\D\\FINE.M3D", "C:\\D\\COARSE.M3D"})
        putFile(input, "3D.DAT");

    // Short names and the 132-character rule. The path has 136 characters in code page 1252;
    // four of them (\265 micro, \263 cubed, \260 degree, \261 plus-minus) would be taken for
    // parts of the character before them if it were counted as UTF-8, leaving 132.
    const std::string longPath = makeFolders({"check", "Measured concentrations in \265g per m\263",
                                              "Temperatures in \260C and winds \261 0.5 m per s"}) +
                                 "\\October 2002 extraction, fine grid domain 1.m3d";
    putFile(longPath, "3D.DAT header");
    const std::string listedShort = listedShortForm(longPath);
    const PathCheck listed = checkPathLength(longPath, shortPath, nativeTextEncoding());
    row("ShortPath gives the 8.3 form the directory listing gives",
        shortPath(longPath) == listedShort, shortPath(longPath));
    row("a path of 136 ANSI characters is listed as its short form",
        listed == PathCheck{listedShort, ListColour::White, false}, listed.path);
    row("a file is read through its short name", readFileStart(listedShort, 6) == "3D.DAT",
        readFileStart(listedShort, 6).value_or("nothing read"));

    // Levels of "a b c d" (8 characters short) until a last 8.3 name of 4 to 12 characters
    // brings the short form to exactly 256. Wine's GetShortPathNameA fails from 260 characters
    // on (ERROR_FILENAME_EXCED_RANGE), so 256 to 259 is what it can show.
    std::string deep = makeFolders({"check", "deep"});
    while (listedShortForm(deep).size() + 1 + 12 < 256)
        CreateDirectoryA((deep += "\\a b c d").c_str(), nullptr);
    const std::size_t room = 255 - listedShortForm(deep).size();
    deep += "\\" + (room <= 8 ? std::string(room, 'x') : std::string(room - 4, 'x') + ".m3d");
    putFile(deep, "x");
    const std::string deepShort = shortPath(deep);
    row("a short form of 256 characters is refused with the message",
        deepShort == listedShortForm(deep) &&
            checkPathLength(deep, shortPath, nativeTextEncoding()) ==
                PathCheck{{}, ListColour::Yellow, true},
        std::to_string(deep.size()) + " characters long, " + std::to_string(deepShort.size()) +
            " short: " + deepShort);

    // The program folder as Windows reports it for the running executable (the processor put
    // there in capitals), a drive root, and a folder named like the processor.
    const std::string folder = self.substr(0, self.rfind('\\'));
    makeFolders({"check", "folder", "wxjoin2.exe"});
    const struct {
        std::string folder;
        ProcessingMode mode;
        std::string placed;
        std::string path;
        bool present;
    } processors[] = {
        {folder, ProcessingMode::Extract, folder + "\\WXJOIN2.EXE", folder + "\\wxjoin2.exe", true},
        {"C:\\", ProcessingMode::Merge, "C:\\gridfuse.exe", "C:\\gridfuse.exe", true},
        {"C:\\check\\folder", ProcessingMode::Extract, "", "C:\\check\\folder\\wxjoin2.exe", false},
    };
    for (const auto& p : processors) {
        putFile(p.placed, "MZ");
        const std::string path = processorPath(ScriptForm::Batch, p.folder, p.mode);
        const bool present = processorPresent(path);
        DeleteFileA(p.placed.c_str());
        row("program folder " + p.folder + ": " + p.path + (p.present ? " found" : " not found"),
            path == p.path && present == p.present, path + (present ? " present" : " absent"));
    }

    // The file queries with Windows' names: letter case ignored, drive roots, trailing
    // separators, device names, and names in the ANSI code page (\200 is the euro sign in code page
    // 1252). The working directory's existence is asked by the job check of the merge example
    // below.
    const std::string q = makeFolders({"check", "q"});
    putFile(q + "\\Data.M3D", "d");
    putFile(q + "\\\200uro.m3d", "e");
    makeFolders({"check", "q", "sub"});
    makeFolders({"check", "q", "\200 dir"});
    const auto canList = [](const std::string& path) { return !directoryReadError(path); };
    const struct {
        const char* what;
        std::function<bool(const std::string&)> ask;
        std::string path;
        bool expected;
    } queries[] = {
        {"an ordinary file", isOrdinaryFile, q + "\\DATA.m3d", true},
        {"an ordinary file", isOrdinaryFile, q + "\\\200uro.m3d", true},
        {"an ordinary file", isOrdinaryFile, q + "\\nul", false},
        {"a directory", dirExists, "C:\\", true},
        {"a directory", dirExists, q + "\\sub\\", true},
        {"a directory", dirExists, q + "\\\200 dir\\", true},
        {"listable", canList, q + "\\\200 dir\\", true},
        {"listable", canList, q + "\\missing\\", false},
    };
    for (const auto& query : queries) {
        const bool answer = query.ask(query.path);
        const auto reason = directoryReadError(query.path);
        row(query.path + (query.expected ? " is " : " is not ") + query.what,
            answer == query.expected,
            (answer ? "yes" : "no") + (reason && query.path.ends_with('\\') ? ": " + *reason : ""));
    }

    // A pipe with plenty to say: read as a file, it would pass for the start of a header.
    const char* const pipeName = "\\\\.\\pipe\\gridloom-check";
    const HANDLE pipe =
        CreateNamedPipeA(pipeName, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 8192, 8192, 0, nullptr);
    std::thread([pipe] {
        ConnectNamedPipe(pipe, nullptr);
        DWORD written = 0;
        WriteFile(pipe, std::string(8000, ' ').data(), 8000, &written, nullptr);
    }).detach();
    const auto fromPipe = readFileStart(pipeName, 100);
    row("a named pipe is refused, not read", !fromPipe,
        fromPipe ? "read " + std::to_string(fromPipe->size()) + " bytes" : "refused");

    // The working-directory pattern that decides the file dialog's first folder.
    const std::string p = makeFolders({"check", "p"});
    putFile(p + "\\Data.M3D", "d");
    makeFolders({"check", "p", "sub", "deeper"});
    putFile(makeFolders({"check", "bare"}) + "\\README", "r");
    const std::pair<std::string, bool> patterns[] = {
        {p + "\\", true},       {"C:/check/p/", true},          {p, false},
        {p + "\\sub\\", false}, {p + "\\data.m3d", true},       {p + "\\?ATA.M3D", true},
        {p + "\\*.dat", false}, {"C:\\check\\bare\\*.*", true}, {p + "\\sub\\*", false},
    };
    for (const auto& [pattern, matches] : patterns)
        row("pattern " + pattern + (matches ? " matches" : " matches nothing"),
            patternMatchesFile(pattern) == matches,
            patternMatchesFile(pattern) ? "matches" : "matches nothing");

    // Replacing the control file leaves the old one whole or the new one whole, and no
    // temporary. Wine replaces a read-only file, which Windows refuses to do.
    const JobSettings extraction = example(ProcessingMode::Extract);
    const std::string control = extractionControlPath(extraction);
    const std::string newBytes = fileBytes(golden + "extract_example.inp");
    const std::string oldBytes = "an older control file\r\n";
    const struct {
        const char* name;
        DWORD attributes; // 0: no old file
        bool heldOpen;
        bool mayBeWritten;
        bool mayBeRefused;
    } replacements[] = {
        {"a new control file is the worked example, CR LF", 0, false, true, false},
        {"an existing control file", FILE_ATTRIBUTE_NORMAL, false, true, false},
        {"a read-only control file", FILE_ATTRIBUTE_READONLY, false, true, true},
        {"a control file open in another process", FILE_ATTRIBUTE_NORMAL, true, false, true},
    };
    const std::string sharingViolation =
        "Unable to replace " + control + ": " + systemText(ERROR_SHARING_VIOLATION);
    for (const auto& r : replacements) {
        SetFileAttributesA(control.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(control.c_str());
        if (r.attributes != 0) {
            putFile(control, oldBytes);
            SetFileAttributesA(control.c_str(), r.attributes);
        }
        const PROCESS_INFORMATION holder =
            r.heldOpen ? holdOpen(self, control) : PROCESS_INFORMATION{};
        const auto failure = writeExtractionControlFile(extraction);
        TerminateProcess(holder.hProcess, 0);
        WaitForSingleObject(holder.hProcess, 10000);
        const std::string bytes = fileBytes(control);
        WIN32_FIND_DATAA entry;
        const HANDLE temporary = FindFirstFileA("C:\\work\\.wxjoin2.inp.tmp*", &entry);
        const bool written = !failure && bytes == newBytes;
        const bool refused =
            failure && bytes == oldBytes && (!r.heldOpen || failure == sharingViolation);
        row(r.name,
            ((r.mayBeWritten && written) || (r.mayBeRefused && refused)) &&
                temporary == INVALID_HANDLE_VALUE,
            failure.value_or("written") + "; " + comparison(newBytes, bytes) +
                (temporary == INVALID_HANDLE_VALUE ? "" : "; a temporary was left"));
    }
    SetFileAttributesA(control.c_str(), FILE_ATTRIBUTE_NORMAL);

    // The merge example through the job check, and the worked examples' batch scripts, as
    // written to disk.
    JobSettings merge = example(ProcessingMode::Merge);
    merge.outputName = validateJob(merge).outputName;
    using Written = std::tuple<std::string, const char*, std::optional<std::string>>;
    for (const auto& [path, goldenName, failure] :
         {Written{mergeControlPath(merge), "merge_example.inp", writeMergeControlFile(merge)},
          Written{"C:\\work\\run_wxjoin2.bat", "extract_example.bat",
                  writeRunScript({ProcessingMode::Extract, "C:\\work\\", "out", "C:\\tools"})},
          Written{"C:\\work\\run_gridfuse.bat", "merge_example.bat",
                  writeRunScript(
                      {ProcessingMode::Merge, "C:\\work\\", merge.outputName, "C:\\tools"})}})
        row(path + " is " + goldenName + " byte for byte",
            !failure && fileBytes(path) == fileBytes(golden + goldenName),
            failure.value_or(comparison(fileBytes(golden + goldenName), fileBytes(path))));
    const std::string percent =
        batchScriptText({ProcessingMode::Extract, "D:\\100% sure\\", "out", "C:\\"});
    row("another drive's line, \"%\" doubled, a drive root's processor",
        percent == "D:\r\ncd \"D:\\100%% sure\\\"\r\n\"C:\\wxjoin2.exe\" wxjoin2.inp\r\npause\r\n",
        percent);

    // The name rules on names in code page 1252: \212 is S with caron, \374 u with umlaut.
    // Counted as UTF-8, the cubed sign \263 would belong to the "m" before it.
    merge.outputName = "\212koda.m\263d";
    const std::string completed = validateJob(merge).outputName;
    const auto ansiFailure = writeMergeControlFile(merge);
    row("Merge keeps a name whose fourth character from the end is \".\"",
        completed == "\212koda.m\263d", completed);
    row("Merge writes the control file under its ANSI name",
        !ansiFailure && GetFileAttributesA("C:\\work\\\212koda.inp") != INVALID_FILE_ATTRIBUTES,
        ansiFailure.value_or(mergeControlPath(merge)));
    JobSettings named = extraction;
    named.outputName = "Z\374rich.m\263d";
    const std::string text = extractionControlText(named, shortPath);
    const std::size_t line2 = text.find('\n') + 1;
    const std::string base = text.substr(line2, text.find(' ', line2) - line2);
    row("the extraction base gets \"???\" before the last four characters",
        base == "Z\374rich???.m\263d", base);

    std::printf("%d of the rows failed\n", failures);
    return failures == 0 ? 0 : 1;
}
