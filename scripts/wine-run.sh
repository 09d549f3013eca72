#!/bin/bash
# Runs a Winelib program of a build folder in that build's own Wine prefix:
#   scripts/wine-run.sh BUILD_DIR PROGRAM [ARGS...]
# Without an X display it starts a virtual one (Xvfb), since every dialog and
# control needs a real X server.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
build=$1; shift
lorvex_wine_env "$build"
lorvex_wine_up
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
fi
exec "$@"
