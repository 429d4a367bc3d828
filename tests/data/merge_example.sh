#!/bin/sh
if cd -- '/work/'; then
    [ '/work/west.inp' -ef gridfuse.inp ] || cp -- '/work/west.inp' gridfuse.inp
    '/tools/gridfuse'
fi
printf '%s' 'Press Enter to close this window '
read -r answer
