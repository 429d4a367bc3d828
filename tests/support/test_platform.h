#pragma once

#include <string>

// What the tests need from the system they run on, in the one test file that knows which
// system that is (the product's own platform layer is src/common/platform.h).
namespace gridloom::testing {

/// True in the Windows build, where the run scripts are batch files for cmd.exe.
#ifdef _WIN32
inline constexpr bool onWindows = true;
#else
inline constexpr bool onWindows = false;
#endif

/// Makes a named pipe that nobody writes to, so that a reader who waited for data would wait
/// for ever, and returns the path that opens it: a fifo at `path` on POSIX systems; on Windows
/// a pipe of the pipe file system named after the file name of `path`, whose server end stays
/// open until the test ends. Empty when it could not be made.
std::string makeWaitingPipe(const std::string& path);

/// A device that is no ordinary file and that a reader could read for ever: /dev/zero, or on
/// Windows the console's input.
std::string endlessDevice();

} // namespace gridloom::testing
