#!/bin/bash
# Runs a command under one virtual X server and stops Wine's server (and the
# helper processes that hold the display) before the X server goes away.
set -u
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '"$@"; rc=$?; ws=${WINESERVER:-/usr/lib/wine/wineserver}; "$ws" -k 2>/dev/null; "$ws" -w 2>/dev/null; exit $rc' under-x "$@"
