# The protections a distribution builds its own programs with: checked buffer functions,
# stack canaries, a position-independent program and a relocation table made read-only once
# every symbol is bound at load. Gridloom reads files from anywhere, so what the user installs
# gets them too. Included before the first target, so every target of this folder and below
# is built so.
#
# Not with the sanitizers or the fuzzers: they bring their own checks, and libc's checked
# variants of the string and memory calls would slip past them.
if(GRIDLOOM_SANITIZE OR GRIDLOOM_FUZZ)
    return()
endif()

# The checked functions need the optimiser to know object sizes, and without it glibc only warns,
# which -Werror turns into a failed build.
set(gridloom_optimised $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)

if(MINGW)
    # Windows' counterparts: a relocatable image placed anywhere in the 64-bit address space
    # (ASLR with high entropy) and data pages that cannot run (DEP). The stack canaries and
    # the checked functions come from GCC's libssp, linked statically like the rest of the
    # runtime.
    add_compile_options(-fstack-protector-strong
        $<${gridloom_optimised}:-D_FORTIFY_SOURCE=2>)
    add_link_options(-fstack-protector-strong
        -Wl,--dynamicbase -Wl,--high-entropy-va -Wl,--nxcompat)
    link_libraries(ssp)
    return()
endif()

# Where dpkg-buildflags exists its flags are taken as they are, so the build follows the
# distribution's choices as they change. Elsewhere the build stays as the compiler makes it.
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT DPKG_BUILDFLAGS)
    message(STATUS "dpkg-buildflags not found: building without the distribution's hardening")
    return()
endif()

# The build type owns optimisation and debug information. The source paths stay as they are
# (no file-prefix-map), so a debugger finds the sources from the build folder.
set(gridloom_maint_options "hardening=+all reproducible=-fixfilepath,-fixdebugpath")
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=${gridloom_maint_options}
                ${DPKG_BUILDFLAGS} --get ${kind}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
        COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags EXCLUDE REGEX "^-(O|g)")
    set(gridloom_dpkg_${kind} ${flags})
endforeach()

# _FORTIFY_SOURCE in an unoptimised build would only earn glibc's warning.
set(gridloom_fortify ${gridloom_dpkg_CPPFLAGS})
list(FILTER gridloom_fortify INCLUDE REGEX "^-D_FORTIFY_SOURCE")
list(FILTER gridloom_dpkg_CPPFLAGS EXCLUDE REGEX "^-D_FORTIFY_SOURCE")
add_compile_options(${gridloom_dpkg_CPPFLAGS} ${gridloom_dpkg_CXXFLAGS}
    "$<${gridloom_optimised}:${gridloom_fortify}>")
add_link_options(${gridloom_dpkg_LDFLAGS})
string(JOIN " " gridloom_hardening ${gridloom_dpkg_CPPFLAGS} ${gridloom_fortify}
    ${gridloom_dpkg_CXXFLAGS} ${gridloom_dpkg_LDFLAGS})
message(STATUS "Hardening from dpkg-buildflags: ${gridloom_hardening}")
