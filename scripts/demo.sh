#!/bin/bash
# The main job: installs what is missing, builds, and runs the sample host over
# the bundled sample pictures, printing what the library does with them.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
lorvex_prepare "$root"
out=$root/build/demo
# The scan demonstration acquires through the tests' stand-in TWAIN manager;
# Wine's own manager is switched off so that the stand-in answers.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;twain_32=n"
export LORVEX_TWAIN_STANDIN_DIR="Z:${root//\//\\}\\build\\tests\\twain-standin"
mkdir -p "$out"
# The mail demonstration sends through the tests' stand-in mail library,
# which Wine only takes in place of its own when native is preferred.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mapi32=n,b"
"$root/scripts/under-x.sh" "$root/build/host/lorvex-host.exe" demo "$root/samples" "$out" "$@"
# ImageMagick's own reading of the GIF demo's output: a palette with alpha,
# the pixels of the picked colour transparent (alpha 0), GIF interlace.
for gif in "$out"/*-transparent.gif; do
    [ -e "$gif" ] || continue
    echo "identify -verbose $(basename "$gif"):"
    identify -verbose "$gif" | grep -E '^  (Type|Alpha|Interlace):|^    [0-9]+: \([0-9]+,[0-9]+,[0-9]+,0\)' || true
done
# The picture viewer's scripted tour: a picture of the window at each step.
"$root/scripts/under-x.sh" "$root/scripts/viewer-tour.sh" "$root/build" "$out/tour" || echo "the tour reported failed steps"
echo "The viewer's tour, step by step: $out/tour/index.html"
