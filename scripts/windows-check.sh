#!/bin/sh
# Runs Gridloom's tests for Windows under Wine:  scripts/windows-check.sh <source folder> <scratch>
# CTest calls it from the Linux build. Two depths:
#   full (the default): Qt for Windows built when missing
#       (scripts/build-qt-windows.sh, a quarter of an hour on two idle cores), then the whole
#       program and every test built with the windows preset and run under Wine, then the
#       installer built, installed silently and started (scripts/check-windows-installer.sh);
#   core (GRIDLOOM_WINDOWS_SUITE=core): only the core's Windows branches (windows-core preset,
#       no Qt), in a minute.
# Without the cross-compiler or Wine it says so in one line and exits 77, which CTest counts as
# skipped.
set -eu
source_dir=$1
scratch=$2
suite=${GRIDLOOM_WINDOWS_SUITE:-full}

# Debian's wine64 package puts the loader outside PATH; the wine package would add a wrapper.
wine=$(command -v wine64 || true)
if [ -z "$wine" ] && [ -x /usr/lib/wine/wine64 ]; then wine=/usr/lib/wine/wine64; fi
if [ -z "$wine" ] || ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
    echo "windows_check skipped: MinGW-w64 or Wine is missing (scripts/install-deps.sh windows installs both)"
    exit 77
fi

mkdir -p "$scratch"
cd "$source_dir"
# No display: the tests run on the offscreen platform, and no Wine dialog can appear.
unset DISPLAY WAYLAND_DISPLAY

# The images must be built for ASLR, with high entropy, and for DEP, as the build asks of the
# linker, whatever the linker's own defaults.
check_hardening() {
    for exe in "$@"; do
        characteristics=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n '/^DllCharacteristics/,/^[^[:space:]]/p')
        for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT; do
            if ! printf '%s\n' "$characteristics" | grep -qw "$flag"; then
                printf '%s is not marked %s:\n%s\n' "$exe" "$flag" "$characteristics"
                exit 1
            fi
        done
    done
}

if [ "$suite" != full ]; then
    echo "The windows, the dialogs and the installer are not tested here; without GRIDLOOM_WINDOWS_SUITE=core they are."
    # The build's output is only shown when it fails; ninja re-runs CMake itself when needed.
    if ! { [ -f build-windows-core/build.ninja ] || cmake --preset windows-core; } >"$scratch/build.log" 2>&1 ||
        ! cmake --build --preset windows-core >>"$scratch/build.log" 2>&1; then
        cat "$scratch/build.log"
        exit 1
    fi
    check_hardening build-windows-core/tests/windows/windows_check.exe
    exec ctest --preset windows-core
fi

if ! scripts/build-windows.sh all package >"$scratch/build.log" 2>&1; then
    tail -n 80 "$scratch/build.log"
    exit 1
fi
check_hardening build-windows/gridloom.exe build-windows/tests/windows/windows_check.exe
status=0
# The whole log stays in the scratch folder; shown here are each test's line, and every row
# skipped or failed with its reason.
ctest --preset windows -V >"$scratch/ctest.log" 2>&1 || status=$?
grep -E '^ *[0-9]+/[0-9]+ Test|^[0-9]+: (SKIP|FAIL|QFATAL|   (Actual|Expected|Windows))|tests passed|tests failed' \
    "$scratch/ctest.log" || true
echo "Windows test log: $scratch/ctest.log"
installer=$(ls build-windows/Gridloom-*-win64.exe | head -n 1)
echo "installer: $installer, $(du -k "$installer" | cut -f1) KiB"
scripts/check-windows-installer.sh "$installer" "$scratch/installer" "$scratch/installed.png" || status=1
exit $status
