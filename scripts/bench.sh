#!/usr/bin/env bash
# Builds the stripped 64-bit DLL (build/release-x64) and the benchmarks and
# runs them under wine64 against that DLL: the cold load cycle against a
# minimal COM server with the same toolchain, the two DLL sizes and what the
# DLL's bytes are made of (from the link map); then the column, overlay and
# Properties requests, and the link commands and menus, each beside the raw
# calls it cannot avoid.
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
# The benchmarks that drive the DLL through the test harness build with the
# 64-bit tests; they load whichever QuorvaneMarrowby.dll lies beside them.
harness_dir=build/x64
cmake -S . -B "$harness_dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C "$harness_dir" column_provider_benchmark link_commands_benchmark >/dev/null
bin=$root/$dir/bin
run=$bin
server=QuorvaneMarrowby.dll
if [ $# -gt 0 ]; then
  # In a folder of its own, under its own name, beside the same language modules.
  run=$root/build/bench/other
  rm -rf "$run" && mkdir -p "$run"
  cp "$1" "$run/QuorvaneMarrowby.dll"
  cp "$bin"/QuorvaneMarrowby.lang-*.dll "$run/" 2>/dev/null || true
  server='..\..\bench\other\QuorvaneMarrowby.dll'
fi
cp "$harness_dir"/bin/column_provider_benchmark.exe "$harness_dir"/bin/link_commands_benchmark.exe "$run/"
prefix=$root/build/bench/wineprefix
tests/win/wine-prefix.sh "$prefix"
(cd "$bin" && "$root/tests/win/run-in-wine.sh" "$prefix" load_cycle.exe "$server" minimal_com_server.dll)
if [ $# -eq 0 ]; then
  echo "bytes by origin (input sections of the link map, before alignment)"
  benchmarks/map_origins.sh "$dir/QuorvaneMarrowby.map"
fi
# The link menus read the clipboard, which needs a display.
(cd "$run" && xvfb-run -a "$root/tests/win/run-in-wine.sh" "$prefix" column_provider_benchmark.exe &&
  xvfb-run -a "$root/tests/win/run-in-wine.sh" "$prefix" link_commands_benchmark.exe)
