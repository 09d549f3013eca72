#!/bin/bash
# Configures and builds everything (library, sample host, tests, benchmarks)
# into BUILD_DIR (default: build/ beside this checkout's sources).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
mkdir -p "$build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$build/configure.log" 2>&1 \
    || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j"$(nproc)"
