#!/bin/bash
# Runs lorvex-viewer's scripted tour over samples/ into OUTDIR (pictures of
# each step and index.html):
#   scripts/viewer-tour.sh BUILD_DIR OUTDIR
# The scan and e-mail steps talk to the tests' stand-in TWAIN manager and
# mail library, with Wine's own switched off; the viewer loads the library
# from the package it was built against.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
rm -rf "$out"/*
win() { local p=${1//\//\\}; echo "Z:$p"; }
export LORVEX_DLL_DIR="$build/viewer-prefix/package/lib/lorvexops"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}twain_32=n;mapi32=n,b"
export LORVEX_TWAIN_STANDIN_DIR="$(win "$build/tests/twain-standin")"
export LORVEX_MAIL_STANDIN_DIR="$(win "$build/tests")"
"$here/wine-run.sh" "$build" "$build/viewer/lorvex-viewer.exe" --tour "$(win "$out")" "$(win "$root/samples")" \
    >"$out/tour.log" 2>&1 </dev/null && rc=0 || rc=$?
grep '^tour:' "$out/tour.log" || tail -n 20 "$out/tour.log"
exit $rc
