#!/bin/bash
# The library is Windows code: every library source, every public header and
# the sample host and viewer must compile with the MinGW cross compilers for 64-bit and
# 32-bit Windows, unchanged. Syntax only (nothing is linked), -Wall -Werror for
# our own code, the headers of Magick++ and minizip as system headers. A
# failure names the target, the file and its first error.
#   scripts/check-windows.sh [FILE...]    only these files (paths from the root)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
compilers=(x86_64-w64-mingw32-g++-posix i686-w64-mingw32-g++-posix)
"$root/scripts/install-deps.sh"     # the compilers and MinGW's zlib headers

# The subsystem folders the library is built from (cmake/Library.cmake).
subsystems=$(sed -n 's/^set(LORVEX_SUBSYSTEMS \(.*\))$/\1/p' "$root/cmake/Library.cmake")
[ -n "$subsystems" ] || { echo "check-windows: no subsystem list in cmake/Library.cmake" >&2; exit 1; }

# The outside libraries' headers, as system headers.
outside=""
for flag in $(pkg-config --cflags Magick++); do
    case $flag in
        -I*) outside+=" -isystem ${flag#-I}" ;;
        -D*) outside+=" $flag" ;;
    esac
done

units=$(mktemp)
logs=$(mktemp -d)
trap 'rm -rf "$units" "$logs"' EXIT
# minizip's headers (as <minizip/zip.h>) without the rest of the Linux
# include folder; its zlib.h comes from MinGW's own zlib.
mkdir "$logs/include"
ln -s "$(pkg-config --variable=includedir minizip)" "$logs/include/minizip"
outside+=" -isystem $logs/include"
(
    cd "$root"
    for sub in $subsystems; do
        for f in "$sub"/*.cpp "$sub"/*.c; do [ -e "$f" ] && echo "lib $f"; done
    done
    for f in include/lorvexops/*.h; do echo "header $f"; done
    for f in host/*.cpp viewer/*.cpp; do echo "host $f"; done
) | while read -r kind file; do
    if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qxF "$file"; then continue; fi
    for c in "${compilers[@]}"; do echo "$c $kind $file"; done
done >"$units"

export root logs outside
compile_one() {
    local compiler=$1 kind=$2 file=$3 flags
    flags=(-std=c++17 -fsyntax-only -Wall -Werror -I"$root/include")
    case $kind in
        lib) flags+=(-DLORVEXOPS_BUILDING -I"$root" -I"$root/resources") ;;
        header) flags+=(-x c++) ;;      # on its own, as a host includes it
        host) flags+=(-municode -I"$root") ;;
    esac
    local log="$logs/${compiler%%-*}_${file//\//_}.log"
    local source="$root/$file"
    [ "$kind" = header ] && source=-
    # shellcheck disable=SC2086 # the outside libraries' flags are split on purpose
    if ! echo "#include \"$root/$file\"" | "$compiler" "${flags[@]}" $outside "$source" >"$log" 2>&1; then
        local first
        first=$(grep -m1 -E '(error|Error):' "$log" || head -n1 "$log")
        echo "check-windows: ${compiler%%-*}: $file: ${first#"$root/"}"
        return 1
    fi
}
export -f compile_one

count=$(wc -l <"$units")
if xargs -P2 -L1 bash -c 'compile_one "$@"' _ <"$units"; then
    echo "check-windows: $count compilations passed (x86_64 and i686)"
else
    echo "check-windows: FAILED" >&2
    exit 1
fi
