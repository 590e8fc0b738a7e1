#!/usr/bin/env bash
# stdcall-bytes.sh NM LIBDIR LIB...: the argument bytes every import of the
# given i686 import libraries pops on return, from their decorated names
# (__imp__CreateFileA@28 pops 28; a name without "@" is cdecl and pops none),
# as C++ initialisers sorted by name. A name two libraries spell differently
# keeps the larger count (a stray "@" without digits).
set -eu
nm=$1 libdir=$2; shift 2
for lib in "$@"; do "$nm" "$libdir/lib$lib.a"; done |
  sed -n 's/^.* I __imp__\([A-Za-z_][A-Za-z0-9_]*\)\(@\([0-9]*\)\)\{0,1\}$/\1 \3/p' |
  awk '{ print $1, ($2 == "" ? 0 : $2) }' | LC_ALL=C sort -k1,1 -k2,2nr |
  awk '$1 != last { printf "{\"%s\", %d},\n", $1, $2; last = $1 }'
