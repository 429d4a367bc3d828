#!/bin/sh
if cd -- '/work/'; then
    '/tools/wxjoin2' wxjoin2.inp
fi
printf '%s' 'Press Enter to close this window '
read -r answer
