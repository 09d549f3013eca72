#!/bin/bash
# The test command: installs what is missing, builds, and runs every test
# inside Wine under one virtual X server.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$build"
. "$root/scripts/wine-env.sh"
lorvex_wine_env "$build"
lorvex_wine_up
trap '"$WINESERVER" -k 2>/dev/null || true' EXIT
"$root/scripts/under-x.sh" ctest --test-dir "$build" --output-on-failure "$@"
