#!/bin/sh
# Builds Gridloom for Windows with the windows preset:  scripts/build-windows.sh [target...]
# Qt for Windows comes from scripts/build-qt-windows.sh, which builds it once into a cache
# outside the clone; a build folder made for another Qt is made anew.
set -eu
cd "$(dirname "$0")/.."
qt=$(scripts/build-qt-windows.sh)
export GRIDLOOM_QT_WINDOWS="$qt"
if [ -f build-windows/CMakeCache.txt ] &&
    ! grep -q "^CMAKE_PREFIX_PATH:[A-Z]*=$qt\$" build-windows/CMakeCache.txt; then
    rm -rf build-windows
fi
[ -f build-windows/build.ninja ] || cmake --preset windows
if [ $# -gt 0 ]; then
    cmake --build --preset windows --target "$@"
else
    cmake --build --preset windows
fi
