#!/usr/bin/env bash
# check-dll.sh OBJDUMP DLL EXPORT...: the DLL imports only system DLLs and
# exports exactly the given names, undecorated.
set -eu
objdump=$1 dll=$2; shift 2
allowed="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll shlwapi.dll ole32.dll oleaut32.dll version.dll comctl32.dll msvcrt.dll"
status=0
while read -r name; do
  lower=$(echo "$name" | tr 'A-Z' 'a-z')
  case " $allowed " in *" $lower "*) ;; *) echo "$dll imports non-system DLL $name"; status=1;; esac
done < <("$objdump" -p "$dll" | sed -n "s/^[[:space:]]*DLL Name: //p")
exports=$("$objdump" -p "$dll" | awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t && /^[ \t]*\[/ {print $NF} t && /^$/ {t=0}' | sort)
wanted=$(printf '%s\n' "$@" | sort)
if [ "$exports" != "$wanted" ]; then
  echo "$dll exports:"; echo "$exports"; echo "expected:"; echo "$wanted"; status=1
fi
[ $status -eq 0 ] && echo "$dll: system imports only; exports $(echo $exports)"
exit $status
