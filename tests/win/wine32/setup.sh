#!/usr/bin/env bash
# setup.sh PREFIX: makes Wine's 32-bit loader start for PREFIX. Where the
# kernel runs 32-bit code, it does already. Where it cannot, the loader runs
# under qemu-user: qemu-i386-static is registered with binfmt_misc (as root,
# once per boot), and the mmap shim that run-in-wine.sh preloads is built
# into PREFIX/qemu-i386-shim. Exits 0 when 32-bit Windows programs can run
# here; otherwise prints the reason on one line and exits 1.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
prefix=$(realpath -m "$1")
loader=/usr/lib/wine/wine
binfmt=/proc/sys/fs/binfmt_misc
fail() { echo "$*"; exit 1; }
emulated() { grep -qs '^enabled' "$binfmt/qemu-i386"; }

[ -x "$loader" ] || fail "Wine's 32-bit loader ($loader, package wine32:i386) is not installed"
if ! emulated; then
  "$loader" --version >/dev/null 2>&1 && exit 0
  [ -x /usr/bin/qemu-i386-static ] || fail "this kernel runs no 32-bit code, and qemu-user-static is not installed"
  [ "$(id -u)" -eq 0 ] || fail "this kernel runs no 32-bit code, and registering qemu-user with binfmt_misc needs root"
  [ -f "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null ||
    fail "this kernel runs no 32-bit code, and binfmt_misc cannot be mounted"
  # i386 ELF executables and shared objects; F opens the interpreter now, so
  # it serves every mount namespace.
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
    > "$binfmt/register" 2>/dev/null || emulated || fail "this kernel runs no 32-bit code, and qemu-user cannot be registered"
fi
# The shim for 32-bit processes; 64-bit ones find an empty twin under the
# same $PLATFORM path.
shim=$prefix/qemu-i386-shim
if [ ! -f "$shim/i686/mmap.so" ] || [ "$here/mmap-shim.c" -nt "$shim/i686/mmap.so" ]; then
  mkdir -p "$shim/i686" "$shim/x86_64"
  gcc -m32 -O2 -fPIC -shared -nostdlib -ffreestanding "$here/mmap-shim.c" -o "$shim/i686/mmap.so" ||
    fail "the mmap shim for Wine under qemu-user does not build (gcc -m32)"
  gcc -shared -nostdlib -x c /dev/null -o "$shim/x86_64/mmap.so"
fi
LD_PRELOAD="$shim/\$PLATFORM/mmap.so" "$loader" --version >/dev/null 2>&1 ||
  fail "Wine's 32-bit loader does not start under qemu-user"
