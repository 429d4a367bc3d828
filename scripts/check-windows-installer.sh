#!/bin/sh
# Installs Gridloom from its Windows installer silently (/S) into a Wine prefix of its own and
# starts the installed program on a virtual display, to see its splash and then its main window:
#     scripts/check-windows-installer.sh <installer.exe> <scratch folder> [picture.png]
# The picture (with ImageMagick's import, where installed) shows the screen once the main window
# is up, and <picture>-splash.png the screen when the splash first appears. The program is started exactly as installed: no DLL folder of the build on PATH.
set -eu
installer=$(readlink -f "$1")
scratch=$2
picture=${3:-}
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)

mkdir -p "$scratch"
scratch=$(readlink -f "$scratch")
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all LC_ALL=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
rm -rf "$WINEPREFIX"
env -u DISPLAY "$wine" wineboot --init >"$scratch/wineboot.log" 2>&1 || {
    cat "$scratch/wineboot.log"
    exit 1
}
env -u DISPLAY "$wine" "$installer" /S
# Wine has no Arial, which the windows ask for: Liberation Sans, made to its metrics, stands in.
env -u DISPLAY "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ \
    /d 'Liberation Sans' /f >/dev/null
# The prefix's server and desktop were started without a display and would keep every later
# window off the virtual one: they end here, and the program starts them anew.
"${wine%64}server64" -k 2>/dev/null || wineserver -k 2>/dev/null || true
"${wine%64}server64" -w 2>/dev/null || wineserver -w 2>/dev/null || true

folder="$WINEPREFIX/drive_c/Program Files/Gridloom"
status=0
for file in gridloom.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll libstdc++-6.dll \
    platforms/qwindows.dll styles/qwindowsvistastyle.dll Uninstall.exe; do
    [ -f "$folder/$file" ] || { echo "not installed: $file"; status=1; }
done
link=$(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Gridloom/Gridloom.lnk' | head -n 1)
[ -n "$link" ] || { echo "no Start-menu entry Gridloom"; status=1; }
[ $status -eq 0 ] || exit 1
echo "installed: $(cd "$folder" && find . -type f | wc -l) files in C:\\Program Files\\Gridloom, Start-menu entry $(basename "$link")"

# On a virtual display: the splash first (titled "Gridloom", no frame), then the main window.
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    folder=$1 wine=$2 picture=$3
    "$wine" "C:\\Program Files\\Gridloom\\gridloom.exe" -platform windows:fontengine=freetype \
        >/dev/null 2>&1 &
    seen_splash="" seen_main=""
    for tick in $(seq 1 240); do
        windows=$(xwininfo -root -tree 2>/dev/null || true)
        case $windows in *"\"Gridloom\""*)
            if [ -z "$seen_splash" ] && [ -n "$picture" ] && command -v import >/dev/null; then
                import -window root "${picture%.png}-splash.png"
            fi
            seen_splash=yes ;;
        esac
        case $windows in *"\"Gridloom - Graphical User Interface\""*) seen_main=yes ;; esac
        [ -n "$seen_main" ] && break
        sleep 0.5
    done
    if [ -n "$seen_main" ]; then
        sleep 2
        if [ -n "$picture" ] && command -v import >/dev/null; then import -window root "$picture"; fi
    fi
    "${wine%64}server64" -k 2>/dev/null || wineserver -k 2>/dev/null || true
    echo "splash seen: ${seen_splash:-no}; main window seen: ${seen_main:-no} (after $tick half-seconds)"
    [ -n "$seen_splash" ] && [ -n "$seen_main" ]
' sh "$folder" "$wine" "$picture"
