#!/bin/bash
# Makes the 100,000-file folder of bench_folder_list natively (creating that
# many files through Wine takes tens of minutes):
#   bench/make_folder_list_data.sh /tmp/lorvex-bench-folder
set -eu
dir=${1:-/tmp/lorvex-bench-folder}
mkdir -p "$dir"
python3 - "$dir" <<'PY'
import os, sys
folder = sys.argv[1]
exts = [".jpg", ".JPG", ".png", ".bmp", ".gif", ".tif", ".tiff", ".jpeg", ".psd", ".txt", ".doc", ".lvx", ""]
count = 100000
base = 1614556800  # 2021-03-01 UTC
for i in range(count):
    path = os.path.join(folder, "img%06d%s" % ((i * 7919) % count, exts[i % len(exts)]))
    with open(path, "wb") as f:
        f.write(b"x" * (1 + (i * 31) % 1000))
    t = base + (i * 104729) % count
    os.utime(path, (t, t))
PY
echo "$(ls "$dir" | wc -l) files in $dir"
