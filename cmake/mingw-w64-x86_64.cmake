# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (package g++-mingw-w64-x86-64-posix).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The POSIX thread model, which std::thread needs.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C++ runtime and winpthread linked in, so an executable runs on a bare Windows (or Wine)
# without the compiler's DLLs beside it. Programs on Qt's DLLs share one runtime with Qt instead
# (GRIDLOOM_SHARED_RUNTIME): two copies of libstdc++ in one process would each keep their own
# state, and the compiler's DLLs go beside the program.
if(NOT GRIDLOOM_SHARED_RUNTIME)
    set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
endif()
