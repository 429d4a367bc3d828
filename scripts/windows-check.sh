#!/bin/sh
# Builds the core's Windows check with the windows-core preset and runs it under Wine.
#     scripts/windows-check.sh <source folder> <scratch folder>
# CTest calls it from the Linux build. Without the cross-compiler or Wine it says so in one
# line and exits 77, which CTest counts as skipped.
set -eu
source_dir=$1
scratch=$2

# Debian's wine64 package puts the loader outside PATH; the wine package would add a wrapper.
wine=$(command -v wine64 || true)
if [ -z "$wine" ] && [ -x /usr/lib/wine/wine64 ]; then wine=/usr/lib/wine/wine64; fi
if [ -z "$wine" ] || ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
    echo "windows_check skipped: MinGW-w64 or Wine is missing (scripts/install-deps.sh windows installs both)"
    exit 77
fi

mkdir -p "$scratch"
cd "$source_dir"
# The build's output is only shown when it fails; ninja re-runs CMake itself when needed.
if ! { [ -f build-windows/build.ninja ] || cmake --preset windows-core; } >"$scratch/build.log" 2>&1 ||
    ! cmake --build --preset windows-core >>"$scratch/build.log" 2>&1; then
    cat "$scratch/build.log"
    exit 1
fi

# The image must be built for ASLR, with high entropy, and for DEP, as the build asks of the
# linker, whatever the linker's own defaults.
exe=build-windows/tests/windows/windows_check.exe
characteristics=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n '/^DllCharacteristics/,/^[^[:space:]]/p')
for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT; do
    if ! printf '%s\n' "$characteristics" | grep -qw "$flag"; then
        printf 'windows_check.exe is not marked %s:\n%s\n' "$flag" "$characteristics"
        exit 1
    fi
done

# A prefix of the check's own, made once and then kept: without a display no dialog can
# appear, the empty DLL overrides keep the Mono and Gecko installers away, and the disabled
# menu builder keeps Wine out of the desktop's menus. The locale fixes the ANSI code page
# (1252), which the name rows are written for.
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all LC_ALL=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/.made" ]; then
    rm -rf "$WINEPREFIX"
    if ! "$wine" wineboot --init >"$scratch/wineboot.log" 2>&1; then
        cat "$scratch/wineboot.log"
        exit 1
    fi
    touch "$WINEPREFIX/.made"
fi

# Wine's drive Z: is the root of the Linux file system.
exec "$wine" "$exe" \
    "Z:$(printf '%s' "$source_dir/tests/data" | tr / '\\')"
