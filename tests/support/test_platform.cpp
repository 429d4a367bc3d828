#include "support/test_platform.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace gridloom::testing {

std::string makeWaitingPipe(const std::string& path)
{
#ifdef _WIN32
    const auto cut = path.find_last_of("/\\");
    const std::string name = "\\\\.\\pipe\\" + path.substr(cut == std::string::npos ? 0 : cut + 1) +
                             "-" + std::to_string(GetCurrentProcessId());
    // The handle is left open on purpose: the pipe exists only while its server end does.
    const HANDLE server = CreateNamedPipeA(name.c_str(), PIPE_ACCESS_OUTBOUND,
                                           PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 0, 0, nullptr);
    return server == INVALID_HANDLE_VALUE ? std::string() : name;
#else
    return ::mkfifo(path.c_str(), 0600) == 0 ? path : std::string();
#endif
}

std::string endlessDevice()
{
#ifdef _WIN32
    return "CONIN$";
#else
    return "/dev/zero";
#endif
}

} // namespace gridloom::testing
