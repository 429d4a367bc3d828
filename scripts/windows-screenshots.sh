#!/bin/sh
# Renders the windows as the Windows build draws them, under Wine on a virtual display:
#     scripts/windows-screenshots.sh <folder>
# The Windows platform plugin with its Vista style (which falls back to the classic look where
# Wine has no theme), and FreeType for the text: Wine's own GDI font engine leaves line edits
# empty. Without MinGW-w64 or Wine it says so and does nothing.
set -eu
folder=$1
cd "$(dirname "$0")/.."
if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null || ! [ -x /usr/lib/wine/wine64 ]; then
    echo "No Windows screenshots: MinGW-w64 or Wine is missing (scripts/install-deps.sh windows)"
    exit 0
fi
mkdir -p build
scripts/build-windows.sh gridloom_screenshots >build/windows-screenshots.log 2>&1 || {
    tail -n 40 build/windows-screenshots.log
    exit 1
}
mkdir -p "$folder"
folder=$(cd "$folder" && pwd)
xvfb-run -a -s "-screen 0 1280x1024x24" \
    build-windows/wine-run build-windows/tools/gridloom_screenshots.exe \
    "Z:$(printf '%s' "$folder" | tr / '\\')" -platform windows:fontengine=freetype
