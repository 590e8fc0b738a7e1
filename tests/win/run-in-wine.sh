#!/usr/bin/env bash
# run-in-wine.sh PREFIX PROGRAM [ARGS...]: runs a Windows program of the build
# in the build's own prefix (made by wine-prefix.sh), with Wine's loader of the
# program's bitness: /usr/lib/wine/wine for a 32-bit executable (a path of the
# host or C:\...), wine64 for the others and for Wine's own programs by name.
set -eu
export WINEPREFIX=$(realpath -m "$1"); shift
export WINEDEBUG=-all
# No debugger starts for a program that crashes: it ends with a failure
# status (winedbg --auto waits for ever under qemu-user).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe,winedbg.exe=d"
# Where 32-bit code runs under qemu-user (wine32/setup.sh), every Wine process
# preloads the mmap shim of its bitness.
if [ -d "$WINEPREFIX/qemu-i386-shim" ]; then
  export LD_PRELOAD="$WINEPREFIX/qemu-i386-shim/\$PLATFORM/mmap.so${LD_PRELOAD:+ $LD_PRELOAD}"
fi
file=$1
case $file in [Cc]:\\*) file="$WINEPREFIX/drive_c/$(echo "${file:3}" | tr '\\' /)" ;; esac
loader=/usr/lib/wine/wine64
# The PE header's machine field: 0x014c is i386.
if [ -f "$file" ] && [ "$(od -An -tx1 -j "$(( $(od -An -tu4 -j60 -N4 "$file") + 4 ))" -N2 "$file" 2>/dev/null | tr -d ' ')" = 4c01 ]; then
  loader=/usr/lib/wine/wine
fi
# Wine takes its user locale (here English, United States: 0x409) from the
# name itself, also when the host has not generated that locale; passing it
# through env keeps bash from warning that it cannot switch to it. Host file
# names follow the character type, which must exist on the host for names
# beyond ASCII: C.UTF-8 always does (the code pages stay 1252 and 437).
# A program that hangs is ended after QM_WINE_TIMEOUT seconds (status 124).
exec env -u LC_ALL LANG=en_US.UTF-8 LC_CTYPE=C.UTF-8 timeout --foreground -k 10 "${QM_WINE_TIMEOUT:-600}" "$loader" "$@"
