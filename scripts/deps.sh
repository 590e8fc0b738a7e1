#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing:
# also Wine's 32-bit half (the i386 architecture and wine32:i386), and
# qemu-user-static where the kernel runs no 32-bit code, so that Wine's 32-bit
# loader runs emulated (tests/win/wine32/setup.sh).
set -eu
packages=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev libbenchmark-dev
          g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools binutils-mingw-w64
          wine wine64 wine32:i386 libwine-dev xvfb xauth fonts-wine wixl msitools)
install() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
install "${packages[@]}"
# Wine's 32-bit loader is a 32-bit program: where it does not start by
# itself, or qemu-user already runs it, qemu-user is needed.
if grep -qs '^enabled' /proc/sys/fs/binfmt_misc/qemu-i386 || ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  install qemu-user-static
fi
