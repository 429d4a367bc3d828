#!/bin/sh
# Builds the .deb from a configured build folder and checks that it installs Gridloom as a
# desktop program: every file in its place, a valid desktop entry and AppStream metadata, no
# lintian error or warning, hardened and stripped binaries, and a program that starts from
# where it was unpacked. A `cmake --install` under another prefix and DESTDIR must give the
# same tree. Nothing lands on this machine: all goes into a scratch folder.
set -eu

build=$(cd "${1:?usage: check-package.sh BUILD_DIR}" && pwd)
id=io.github.gridloom.Gridloom
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# Qt warns on stderr without a runtime folder, and this check wants stderr to stay empty.
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

fail() {
    echo "check-package: $*" >&2
    exit 1
}

# Every file a desktop installation needs, under one prefix.
check_tree() {
    prefix=$1
    for file in libexec/gridloom/gridloom libexec/gridloom/gridloom_map_window.so \
        share/applications/$id.desktop \
        share/metainfo/$id.metainfo.xml share/icons/hicolor/scalable/apps/$id.svg \
        share/man/man1/gridloom.1.gz share/doc/gridloom/copyright \
        share/doc/gridloom/changelog.gz; do
        [ -f "$prefix/$file" ] || fail "$file is missing under $prefix"
    done
    [ -x "$prefix/libexec/gridloom/gridloom" ] || fail "the program is not executable"
    # Stripped as a distribution strips: no symbol table, no debug information, no compilers'
    # notes.
    for binary in gridloom gridloom_map_window.so; do
        leftover=$(readelf -SW "$prefix/libexec/gridloom/$binary" |
            grep -oE ' \.(symtab|debug_[a-z]+|comment|note) ' | tr -d ' ' | tr '\n' ' ')
        [ -z "$leftover" ] || fail "$binary under $prefix keeps $leftover"
    done
    for size in 16 22 24 32 48 64 128 256; do
        png=$prefix/share/icons/hicolor/${size}x$size/apps/$id.png
        file -b "$png" | grep -q "^PNG image data, $size x $size," ||
            fail "$png is not a $size x $size PNG"
    done
    # The program finds the processors beside its real executable, so bin/ must lead there,
    # and by a relative link, or the tree could not move from where it was built.
    link=$(readlink "$prefix/bin/gridloom") || fail "bin/gridloom is no link"
    case $link in /*) fail "bin/gridloom points at the absolute $link" ;; esac
    target=$(readlink -f "$prefix/bin/gridloom")
    [ "$target" = "$(readlink -f "$prefix/libexec/gridloom/gridloom")" ] ||
        fail "bin/gridloom leads to $target, not to libexec/gridloom/gridloom"
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$scratch"/out/*.deb)
root=$scratch/root
dpkg-deb -x "$deb" "$root"
check_tree "$root/usr"

DESTDIR="$scratch/destdir" cmake --install "$build" --prefix /opt/gridloom >/dev/null
check_tree "$scratch/destdir/opt/gridloom"

# A Depends line without Qt would mean dpkg-shlibdeps never looked at the binary.
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6 (>=' || fail "Depends was not computed"
[ "$(dpkg-deb -f "$deb" Section)" = science ] || fail "the section is not science"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "there is no maintainer"
# The changelog and the AppStream release list are written by hand; both must have caught up
# with the version the build says.
version=$(dpkg-deb -f "$deb" Version)
changelog=$(zcat "$root/usr/share/doc/gridloom/changelog.gz" | dpkg-parsechangelog -l - -S Version)
[ "$changelog" = "$version" ] || fail "the changelog's newest entry is $changelog, not $version"
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/$id.metainfo.xml" ||
    fail "the AppStream metadata lists no release $version"

# desktop-file-validate passes hints with success; the entry must not earn even those.
report=$(desktop-file-validate "$root/usr/share/applications/$id.desktop" 2>&1) ||
    fail "desktop-file-validate: $report"
[ -z "$report" ] || fail "desktop-file-validate: $report"
appstreamcli validate --no-net --no-color "$root/usr/share/metainfo/$id.metainfo.xml" \
    >"$scratch/appstream.log" 2>&1 ||
    { cat "$scratch/appstream.log" >&2; fail "appstreamcli validate failed"; }
# Shown with the pedantic and informational tags too, where lintian files missing hardening and
# leftover sections: a binary built without the distribution's flags, or installed unstripped,
# must fail here even though lintian only calls it information.
lintian --pedantic --display-info --fail-on error,warning "$deb" >"$scratch/lintian.log" 2>&1 ||
    { cat "$scratch/lintian.log" >&2; fail "lintian found an error or a warning"; }
# lintian sees fortification only in the checked calls it leaves behind, which a binary whose
# libc calls all have buffers of unknown size rightly lacks; so the flag itself is looked for
# in every compilation of the build.
[ -f "$build/compile_commands.json" ] || fail "the build keeps no compile_commands.json"
unfortified=$(grep '"command":' "$build/compile_commands.json" | grep -cv -- -D_FORTIFY_SOURCE) &&
    fail "$unfortified compilations of the build are not fortified"
unhardened=$(grep -E 'hardening-no-fortify-functions|hardening-no-bindnow|binary-has-unneeded-section' \
    "$scratch/lintian.log") && fail "lintian finds a binary unhardened or unstripped:
$unhardened"

# The unpacked program shows its splash, then its main window, until it is stopped: no crash
# and not a word on the way.
status=0
QT_QPA_PLATFORM=offscreen timeout 3 "$root/usr/bin/gridloom" >"$scratch/run.log" 2>&1 || status=$?
[ "$status" -eq 124 ] ||
    { cat "$scratch/run.log" >&2; fail "the program ended with status $status"; }
[ ! -s "$scratch/run.log" ] || { cat "$scratch/run.log" >&2; fail "the program printed warnings"; }

# On X11 the main window, once the splash has handed over, carries the window icon at each size
# the program embeds.
cat >"$scratch/icons.sh" <<'EOF'
QT_QPA_PLATFORM=xcb "$1" &
for _ in $(seq 20); do
    sleep 0.5
    for window in $(xwininfo -root -tree | awk '/\("gridloom" "Gridloom"\)/ { print $1 }'); do
        sizes=$(xprop -id "$window" _NET_WM_ICON | sed -n 's/^.*Icon (\([0-9]*\) x .*$/\1/p')
        [ -n "$sizes" ] && break 2
    done
done
kill $!
echo $sizes
EOF
sizes=$(xvfb-run -a sh "$scratch/icons.sh" "$root/usr/bin/gridloom")
[ "$sizes" = "16 24 32 48 64 128" ] || fail "the main window carries the icon sizes [$sizes]"
echo "check-package: $(basename "$deb"), $(stat -c %s "$deb") bytes, all checks passed"
