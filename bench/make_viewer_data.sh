#!/bin/bash
# Makes the folder of the viewer's next-picture benchmark: 100 JPEGs of 12
# megapixels (4000 x 3000), natively with ImageMagick:
#   bench/make_viewer_data.sh /tmp/lorvex-viewer-bench
set -eu
dir=${1:-/tmp/lorvex-viewer-bench}
mkdir -p "$dir"
convert -size 4000x3000 plasma:fractal -quality 90 "$dir/photo000.jpg"
for i in $(seq 1 99); do cp "$dir/photo000.jpg" "$dir/$(printf 'photo%03d.jpg' "$i")"; done
echo "$(ls "$dir" | wc -l) JPEGs in $dir"
