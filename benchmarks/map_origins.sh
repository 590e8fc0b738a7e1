#!/usr/bin/env bash
# map_origins.sh MAP: the bytes of a module by origin and kind, from its GNU
# ld link map (input sections before alignment; debug sections and .bss,
# which take no room in the stripped file, left out).
set -eu
printf '  %-26s %10s %10s %10s %10s %10s %10s\n' origin total code data unwind imports resources
awk '
  function hex(text,   i, c, value) {
    value = 0
    for (i = 3; i <= length(text); ++i) value = value * 16 + index("0123456789abcdef", tolower(substr(text, i, 1))) - 1
    return value
  }
  function origin(file) {
    if (file ~ /libstdc\+\+\.a|libsupc\+\+\.a/) return "C++ runtime (libstdc++)"
    if (file ~ /libgcc(_eh)?\.a/) return "unwinder (libgcc)"
    if (file ~ /crt[0-9a-z]*\.o$|libmingw(32|ex)\.a|libmsvcrt|libmoldname/) return "C runtime (mingw-w64)"
    if (file ~ /\.res$/) return "resources"
    if (file ~ /libqm_|\.obj$/) return "our code"
    if (file ~ /\/lib[a-z0-9_]+\.a\(/) return "import tables"
    return "other"
  }
  function kind(section) {
    if (section == ".text") return "code"
    if (section == ".pdata" || section == ".xdata") return "unwind"
    if (section == ".rsrc") return "resources"
    if (section == ".idata") return "imports"
    return "data"
  }
  function add(size, file,   o) {
    if (skip || size == 0) return
    o = origin(file)
    bytes[o, kind(output)] += size; total[o] += size; all += size
  }
  /^Linker script and memory map/ { mapped = 1; next }
  !mapped { next }
  /^\.[A-Za-z_]/ { output = $1; skip = (output ~ /^\.(debug|bss|stab)/); pending = 0; next }
  /^ [^ ]/ && NF == 1 { pending = 1; next }
  /^ [^ ]/ && NF >= 4 && $2 ~ /^0x/ && $3 ~ /^0x/ { add(hex($3), $4); pending = 0; next }
  pending && /^  +0x/ && NF >= 3 && $2 ~ /^0x/ { add(hex($2), $3); pending = 0; next }
  { pending = 0 }
  function kb(value) { return sprintf("%7.1f KB", value / 1024) }
  END {
    sort = "sort -r | cut -f2-"
    for (o in total)
      printf "%012d\t  %-26s %10s %10s %10s %10s %10s %10s\n", total[o], o, kb(total[o]), kb(bytes[o, "code"]),
             kb(bytes[o, "data"]), kb(bytes[o, "unwind"]), kb(bytes[o, "imports"]), kb(bytes[o, "resources"]) | sort
    close(sort)
    printf "  %-26s %10s\n", "all", kb(all)
  }
' "$1"
