#!/bin/bash
# Installs the build into a temporary prefix, builds tests/consumer against it
# with find_package(lorvexops) and runs it.
set -eu
build=$(cd "$1" && pwd); source_dir=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$build/consumer-test
rm -rf "$work"
cmake --install "$build" --prefix "$work/prefix" >"$work.install.log" 2>&1 || { cat "$work.install.log"; exit 1; }
cmake -S "$source_dir" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$here/../cmake/winelib-toolchain.cmake" \
    -DCMAKE_PREFIX_PATH="$work/prefix"
cmake --build "$work/build"
export LORVEX_DLL_DIR="$work/prefix/lib/lorvexops"
out=$("$here/wine-run.sh" "$build" "$work/build/consumer.exe" </dev/null 2>&1 | tail -n 5)
echo "$out"
case "$out" in *"consumer ok"*) exit 0 ;; *) exit 1 ;; esac
