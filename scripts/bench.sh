#!/usr/bin/env bash
# Builds the stripped 64-bit DLL and the benchmarks (build/release-x64) and
# runs them under wine64: the cold load cycle against a minimal COM server
# with the same toolchain, the two DLL sizes, and what the DLL's bytes are
# made of (from the link map).
#
#   scripts/bench.sh [DLL]   # another build of QuorvaneMarrowby.dll instead of this one
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/deps.sh
dir=build/release-x64
cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release -DQM_TESTS=OFF >/dev/null
ninja -C "$dir" QuorvaneMarrowby minimal_com_server load_cycle >/dev/null
bin=$root/$dir/bin
server=QuorvaneMarrowby.dll
if [ $# -gt 0 ]; then
  # In a folder of its own, under its own name, beside the same language modules.
  other=$root/build/bench/other
  rm -rf "$other" && mkdir -p "$other"
  cp "$1" "$other/QuorvaneMarrowby.dll"
  cp "$bin"/QuorvaneMarrowby.lang-*.dll "$other/" 2>/dev/null || true
  server='..\..\bench\other\QuorvaneMarrowby.dll'
fi
prefix=$root/build/bench/wineprefix
tests/win/wine-prefix.sh "$prefix"
(cd "$bin" && "$root/tests/win/run-in-wine.sh" "$prefix" load_cycle.exe "$server" minimal_com_server.dll)
if [ $# -eq 0 ]; then
  echo "bytes by origin (input sections of the link map, before alignment)"
  benchmarks/map_origins.sh "$dir/QuorvaneMarrowby.map"
fi
