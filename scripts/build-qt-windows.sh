#!/bin/sh
# Builds the part of Qt that Gridloom needs (Core, Gui, Widgets, Test; the windows and offscreen
# platform plugins; the Vista style) for 64-bit Windows, from Debian's own qtbase source, with
# MinGW-w64 and the host tools of qt6-base-dev-tools. Nobody offers Qt for Windows as a package
# here, so this is the only way to build and test the windows for Windows.
#     scripts/build-qt-windows.sh          prints the installed Qt's prefix as its last line
# The result lives outside the clone, in ${XDG_CACHE_HOME:-~/.cache}/gridloom/qt-windows/<key>,
# where the key names the Qt source version, the compiler version and a hash of this script and
# of the toolchain file: a change to any of them builds anew, and anything else reuses it. A cold
# build takes about a quarter of an hour on two cores; it runs at the lowest priority and logs
# to <key>.log beside the result. Packages: scripts/install-deps.sh windows.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source_root=$(dirname "$here")
toolchain="$source_root/cmake/mingw-w64-x86_64.cmake"
jobs=${GRIDLOOM_QT_JOBS:-2}

for tool in x86_64-w64-mingw32-g++-posix dpkg-source cmake ninja; do
    if ! command -v "$tool" >/dev/null; then
        echo "build-qt-windows: $tool is missing (scripts/install-deps.sh windows installs it)" >&2
        exit 1
    fi
done
# The host tools (moc, rcc, uic) must be of the very version of the source.
qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools 2>/dev/null || true)
if [ -z "$qt_version" ]; then
    echo "build-qt-windows: qt6-base-dev-tools is missing (scripts/install-deps.sh windows)" >&2
    exit 1
fi
compiler_version=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix 2>/dev/null ||
    x86_64-w64-mingw32-g++-posix -dumpfullversion)
recipe_hash=$(cat "$0" "$toolchain" | sha256sum | cut -c1-12)
key=$(printf 'qt%s-gcc%s-%s' "$qt_version" "$compiler_version" "$recipe_hash" | tr -c 'A-Za-z0-9._\n-' '_')

cache=${XDG_CACHE_HOME:-$HOME/.cache}/gridloom/qt-windows
prefix="$cache/$key"
mkdir -p "$cache"
# Two builds at once (a test run and a developer) would share the same folders; the second
# waits and then finds the first one's result.
exec 9>"$cache/.lock"
flock 9
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

log="$cache/$key.log"
work="$cache/$key.work"
rm -rf "$work" "$prefix"
mkdir -p "$work"
echo "build-qt-windows: building Qt $qt_version for Windows into $prefix (log: $log)" >&2
start=$(date +%s)
{
    cd "$work"
    # The source of exactly the installed host tools' version, with Debian's own patches.
    apt-get source --download-only "qt6-base=$qt_version"
    dpkg-source --no-check -x qt6-base_*.dsc src
    cd src
    # With DirectWrite 3 off the windows plugin must not ask for its font database, which Gui
    # then does not have. The guard is what a later Qt release does too.
    sed -i 's/^#if QT_CONFIG(directwrite3)$/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/' \
        src/plugins/platforms/windows/qwindowsintegration.cpp
    cd "$work"
    # Only what the program and its tests use: no network, SQL, D-Bus, OpenGL or printing, and
    # the bundled third-party code (zlib, libpng, FreeType, HarfBuzz, PCRE2) built in, because
    # MinGW-w64 has no Windows builds of them here. FreeType gives the offscreen plugin that the
    # tests run on. Debian's tarball lacks the tablet headers, so no tablet events.
    cmake -S src -B build -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DGRIDLOOM_SHARED_RUNTIME=ON \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DBUILD_SHARED_LIBS=ON \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
        -DFEATURE_pkg_config=OFF \
        -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF \
        -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF -DFEATURE_androiddeployqt=OFF \
        -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF \
        -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF -DFEATURE_tabletevent=OFF \
        -DFEATURE_icu=OFF -DFEATURE_zstd=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF \
        -DFEATURE_ico=OFF \
        -DFEATURE_freetype=ON -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_pcre2=OFF \
        -DFEATURE_system_doubleconversion=OFF
    cmake --build build --parallel "$jobs"
    cmake --install build --strip
} >"$log" 2>&1 || {
    status=$?
    tail -n 40 "$log" >&2
    echo "build-qt-windows: the build failed; the whole log is $log" >&2
    exit $status
}
rm -rf "$work"
touch "$prefix/.complete"
echo "build-qt-windows: built in $(($(date +%s) - start)) s" >&2
echo "$prefix"
