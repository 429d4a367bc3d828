#!/bin/sh
# Starts Gridloom, or says plainly why it cannot: a desktop program needs a display.
set -eu
program="$1"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "Gridloom is a desktop program and needs a graphical display, but none is available" >&2
    echo "(neither DISPLAY nor WAYLAND_DISPLAY is set). Run 'make run' from a desktop session," >&2
    echo "or over 'ssh -X', or start a virtual display first: xvfb-run make run" >&2
    exit 1
fi
exec "$program"
