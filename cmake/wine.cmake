# Runs this build's Windows programs under Wine. CTest, the screenshots and the installer check
# start each program through build-windows/wine-run, which gives it the DLLs of Qt and of the
# compiler and the environment it needs: Wine 8 keeps the QT_* variables of the Linux side from
# a Windows program, so the script sets them again inside the Wine side.

# Qt's prefix, three folders above its CMake package (none in a build of the core alone).
set(GRIDLOOM_QT_PREFIX)
if(Qt6_DIR)
    get_filename_component(GRIDLOOM_QT_PREFIX "${Qt6_DIR}/../../.." ABSOLUTE)
endif()

# The compiler's own DLLs: the C++ runtime, its unwinder, winpthread and the stack protector.
set(GRIDLOOM_RUNTIME_DLLS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll libssp-0.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
        message(FATAL_ERROR "The compiler does not know where ${dll} is (it answered '${path}')")
    endif()
    list(APPEND GRIDLOOM_RUNTIME_DLLS ${path})
endforeach()

find_program(GRIDLOOM_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(NOT GRIDLOOM_WINE)
    message(STATUS "Wine is missing: the Windows programs are built, not run")
    return()
endif()

# The folders a Windows program finds its DLLs in, in Wine's spelling (drive Z: is the Linux
# root).
set(dll_folders)
if(GRIDLOOM_QT_PREFIX)
    list(APPEND dll_folders ${GRIDLOOM_QT_PREFIX}/bin)
endif()
foreach(dll ${GRIDLOOM_RUNTIME_DLLS})
    get_filename_component(folder ${dll} DIRECTORY)
    get_filename_component(folder ${folder} REALPATH)
    list(APPEND dll_folders ${folder})
endforeach()
list(REMOVE_DUPLICATES dll_folders)
set(wine_path)
foreach(folder ${dll_folders})
    string(REPLACE "/" "\\" folder "Z:${folder}")
    string(APPEND wine_path "${folder};")
endforeach()
# Quoted: unquoted, the list would lose the last ";", and the last folder would run into the
# %PATH% the script appends.
set(GRIDLOOM_WINE_DLL_PATH "${wine_path}")
configure_file(${CMAKE_SOURCE_DIR}/scripts/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
