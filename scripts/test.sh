#!/usr/bin/env bash
# Builds everything and runs every test: native core tests, the same under
# AddressSanitizer and UndefinedBehaviorSanitizer, a smoke run of each fuzzer,
# the checks of both DLLs, and the Windows tests under Wine and Xvfb against
# each DLL: the 32-bit build's under Wine's 32-bit loader (emulated by
# qemu-user where the kernel runs no 32-bit code, tests/win/wine32/setup.sh),
# the 64-bit build's under wine64, with the installer package under Wine's
# msiexec and the tour of scripts/try.sh, which take both DLLs.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/deps.sh
jobs=$(nproc)
started=$(date +%s)

step() { printf '\n=== %s\n' "$*"; }
# windows_tests DIR: the build's Windows tests under Xvfb, each GoogleTest
# program's results in DIR/gtest; "N tests in M programs" for the summary.
windows_tests() {
  rm -rf "$1/gtest"
  GTEST_OUTPUT="xml:Z:$root/$1/gtest/" xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$1" --output-on-failure
  echo "$(cat "$1"/gtest/*.xml | grep -c '<testcase .*status="run" result="completed"') tests in $(ls "$1"/gtest/*.xml | wc -l) programs" \
    > "$1/gtest/count"
}

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

step "32-bit DLL and the Windows tests under Wine's 32-bit loader"
cmake -S . -B build/x86 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build/x86 -j "$jobs"
x86_started=$(date +%s)
if why=$(tests/win/wine32/setup.sh build/x86/wineprefix); then
  tests/win/wine-prefix.sh build/x86/wineprefix
  windows_tests build/x86
  x86_tests="$(cat build/x86/gtest/count), in $(( $(date +%s) - x86_started )) s"
else
  echo "SKIPPED: the 32-bit Windows tests: $why"
  ctest --test-dir build/x86 --output-on-failure -LE wine
  x86_tests="skipped ($why)"
fi

step "64-bit DLL and the Windows tests under wine64"
cmake -S . -B build/x64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build/x64 -j "$jobs"
x64_started=$(date +%s)
tests/win/wine-prefix.sh build/x64/wineprefix
windows_tests build/x64
x64_tests="$(cat build/x64/gtest/count), in $(( $(date +%s) - x64_started )) s"

echo
echo "Windows tests, 64-bit DLL: $x64_tests; the installer package and the tour take both DLLs"
echo "Windows tests, 32-bit DLL: $x86_tests"
echo "all tests passed in $(( $(date +%s) - started )) s"
