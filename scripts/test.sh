#!/bin/bash
# The test command: installs what is missing, builds, checks that the sources
# compile for Windows, and runs every test inside Wine under one virtual X
# server.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
lorvex_prepare "$root"
"$root/scripts/check-windows.sh"
"$root/scripts/under-x.sh" ctest --test-dir "$root/build" --output-on-failure "$@"
