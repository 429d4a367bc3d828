// Plays a processor in tests: writes down how it was started and which control file it read,
// into stand_in_record.txt in its current directory, and exits.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    // Without the ".exe" that Windows' programs carry, so that the record reads alike on both.
    const std::string program = fs::path(argv[0]).stem().string();
    // wxjoin2 is told its control file; gridfuse always reads its own name.
    const std::string control = argc > 1 ? std::string(argv[1]) : program + ".inp";

    std::ifstream in(control, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());

    std::ofstream record("stand_in_record.txt", std::ios::binary | std::ios::trunc);
    record << "program: " << program << '\n';
    for (int i = 1; i < argc; ++i)
        record << "argument: " << argv[i] << '\n';
    record << "directory: " << fs::current_path().string() << '\n';
    record << "control file: " << control << (in ? "" : " (missing)") << '\n';
    record << content;
    return record ? 0 : 1;
}
