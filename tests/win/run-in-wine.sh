#!/usr/bin/env bash
# run-in-wine.sh PREFIX PROGRAM [ARGS...]: runs a Windows program of the build
# with wine64 in the build's own prefix (made by wine-prefix.sh).
set -eu
export WINEPREFIX=$(realpath -m "$1"); shift
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine takes its user locale (here English, United States: 0x409) from the
# name itself, also when the host has not generated that locale; passing it
# through env keeps bash from warning that it cannot switch to it. Host file
# names follow the character type, which must exist on the host for names
# beyond ASCII: C.UTF-8 always does (the code pages stay 1252 and 437).
exec env -u LC_ALL LANG=en_US.UTF-8 LC_CTYPE=C.UTF-8 /usr/lib/wine/wine64 "$@"
