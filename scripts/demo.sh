#!/bin/bash
# The main job: installs what is missing, builds, and runs the sample host over
# the bundled sample pictures, printing what the library does with them.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$build"
. "$root/scripts/wine-env.sh"
lorvex_wine_env "$build"
lorvex_wine_up
trap '"$WINESERVER" -k 2>/dev/null || true' EXIT
out=$build/demo
mkdir -p "$out"
"$root/scripts/under-x.sh" "$build/host/lorvex-host.exe" demo "$root/samples" "$out" "$@"
