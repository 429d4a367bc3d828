#!/bin/sh
# Installs the Debian packages that building, running and testing Gridloom need, and only
# those that are missing, so a second run costs nothing.
set -eu

packages="cmake ninja-build g++ make qt6-base-dev xvfb xauth xterm fonts-liberation2 fonts-dejavu-core locales"
# Rendering the icon, building the .deb and checking it.
packages="$packages librsvg2-bin dpkg-dev file desktop-file-utils appstream lintian x11-utils"
# The domain map: projections, the netCDF reader and GSHHG's coastlines.
packages="$packages libproj-dev libnetcdf-dev gmt-gshhg-low"
if [ "${1:-}" = fuzz ]; then
    packages="$packages clang-14 libclang-rt-14-dev"
fi
if [ "${1:-}" = windows ]; then
    # The cross-compiler and Wine for the core's Windows check. wine64 alone runs 64-bit
    # programs (its loader is /usr/lib/wine/wine64); 32-bit Wine is not needed.
    packages="$packages g++-mingw-w64-x86-64-posix wine64"
    # Qt for Windows is built from Debian's own qtbase source (scripts/build-qt-windows.sh),
    # with the host tools of the same version; NSIS makes the installer, icotool its icon.
    packages="$packages qt6-base-dev-tools nsis icoutils dpkg-dev"
fi

# apt-get source needs the source index beside the binary one, from the same mirror.
src_list=/etc/apt/sources.list.d/gridloom-qt-source.sources
need_src=""
if [ "${1:-}" = windows ] && [ ! -f "$src_list" ]; then need_src=yes; fi

missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && [ -z "$need_src" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
if [ -n "$need_src" ]; then
    mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n 1)
    [ -n "$mirror" ] || mirror=$(sed -n 's/^deb  *\([^ ]*\) .*/\1/p' /etc/apt/sources.list 2>/dev/null | head -n 1)
    if [ -n "$mirror" ]; then
        printf 'Types: deb-src\nURIs: %s\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
            "$mirror" | $sudo tee "$src_list" >/dev/null
    else
        echo "No Debian mirror found in the apt sources: add a deb-src entry to build Qt for Windows." >&2
    fi
fi
[ -n "$missing" ] && echo "Installing:$missing"
$sudo apt-get update -qq
[ -z "$missing" ] && exit 0
# shellcheck disable=SC2086
$sudo apt-get install -y -qq --no-install-recommends $missing
