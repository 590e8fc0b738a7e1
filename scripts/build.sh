#!/usr/bin/env bash
# Builds QuorvaneMarrowby.dll for 64-bit and 32-bit Windows (and the language
# modules) into build/release-x64/bin and build/release-x86/bin, then the
# installer package of both, build/release-msi/QuorvaneMarrowby.msi.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/deps.sh
for arch in x64:x86_64 x86:i686; do
  dir=build/release-${arch%%:*}
  cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-${arch##*:}.cmake \
        -DCMAKE_BUILD_TYPE=Release -DQM_TESTS=OFF >/dev/null
  ninja -C "$dir" QuorvaneMarrowby all
done
ls -l build/release-x64/bin/*.dll build/release-x86/bin/*.dll
package=$(installer/make-msi.sh build/release-x64/bin build/release-x86/bin build/release-msi/QuorvaneMarrowby.msi)
echo "Installer package: $package"
