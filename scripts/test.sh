#!/usr/bin/env bash
# Builds everything and runs every test: native core tests, the same under
# AddressSanitizer and UndefinedBehaviorSanitizer, a smoke run of each fuzzer,
# the Windows tests under wine64 and Xvfb (the installer package under Wine's
# msiexec and the tour of scripts/try.sh among them), and the checks of both DLLs.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/deps.sh
jobs=$(nproc)
started=$(date +%s)

step() { printf '\n=== %s\n' "$*"; }

step "native core tests"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
ninja -C build/native -j "$jobs"
ctest --test-dir build/native --output-on-failure

step "core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" >/dev/null
ninja -C build/sanitize -j "$jobs"
ctest --test-dir build/sanitize --output-on-failure

step "fuzzer smoke runs"
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
      -DQM_TESTS=OFF -DQM_FUZZ=ON >/dev/null
ninja -C build/fuzz -j "$jobs"
ctest --test-dir build/fuzz --output-on-failure

step "32-bit DLL"
cmake -S . -B build/x86 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DQM_WINE_TESTS=OFF >/dev/null
ninja -C build/x86 -j "$jobs"
ctest --test-dir build/x86 --output-on-failure

step "64-bit DLL and the Windows tests under wine64"
cmake -S . -B build/x64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build/x64 -j "$jobs"
tests/win/wine-prefix.sh build/x64/wineprefix
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build/x64 --output-on-failure

echo
echo "all tests passed in $(( $(date +%s) - started )) s"
