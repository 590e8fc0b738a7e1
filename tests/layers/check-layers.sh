#!/usr/bin/env bash
# check-layers.sh COMPILER SRC LAYER|ROOTS|ABOVE ...: each LAYER's include
# path (ROOTS, colon-separated, as its sources are compiled) reaches its own
# headers, while a header of each folder in ABOVE (comma-separated: the
# layers above it or beside it) is not found.
set -eu
compiler=$1 src=$2; shift 2
probe=$(mktemp --suffix=.cpp)
trap 'rm -f "$probe"' EXIT
status=0
# Preprocesses an include of $1 with the include roots $2; prints the compiler's complaint.
preprocess() {
  printf '#include "%s"\n' "$1" > "$probe"
  local flags=()
  IFS=: read -ra roots <<< "$2"
  for root in "${roots[@]}"; do flags+=("-I$root"); done
  "$compiler" -std=c++20 -E "${flags[@]}" "$probe" -o /dev/null 2>&1
}
first_header() { (cd "$src" && ls "$1"/*.h | head -n 1); }
for check in "$@"; do
  IFS='|' read -r layer roots above <<< "$check"
  own=$(first_header "$layer")
  if ! out=$(preprocess "$own" "$roots"); then
    echo "$layer: its own $own does not preprocess:"; echo "$out"; status=1
  fi
  IFS=, read -ra folders <<< "$above"
  for folder in "${folders[@]}"; do
    header=$(first_header "$folder")
    if out=$(preprocess "$header" "$roots"); then
      echo "$layer reaches $header of a layer above or beside it"; status=1
    elif ! grep -q "$header: No such file" <<< "$out"; then
      echo "$layer: $header failed for another reason:"; echo "$out"; status=1
    fi
  done
  [ $status -eq 0 ] && echo "$layer: sees $own, not ${above//,/, }"
done
exit $status
