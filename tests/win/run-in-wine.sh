#!/usr/bin/env bash
# run-in-wine.sh PREFIX PROGRAM [ARGS...]: runs a Windows program of the build
# with wine64 in the build's own prefix (made by wine-prefix.sh).
set -eu
export WINEPREFIX=$(realpath -m "$1"); shift
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8
exec /usr/lib/wine/wine64 "$@"
