#!/usr/bin/env bash
# make-msi.sh BIN64 BIN32 OUTPUT.msi: builds the package from the 64-bit and
# the 32-bit build's output folders (each holding QuorvaneMarrowby.dll and its
# language modules). The version is the product version of the 64-bit DLL's
# version resource; the 32-bit DLL and every language module must carry it too.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
bin64=$(realpath "$1") bin32=$(realpath "$2") output=$(realpath -m "$3")

# PRODUCTVERSION a, b, c, d of a module's version resource, as a.b.c.d
# (product_version TOOL-PREFIX FILE).
product_version() {
  "$1"-w64-mingw32-windres -i "$2" -O rc 2>/dev/null |
    sed -n 's/^ *PRODUCTVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\) *$/\1.\2.\3.\4/p' |
    grep . || { echo "make-msi.sh: no version resource in $2" >&2; return 1; }
}

version=$(product_version x86_64 "$bin64/QuorvaneMarrowby.dll")
modules=$(cd "$bin64" && ls QuorvaneMarrowby.dll QuorvaneMarrowby.lang-*.dll)
for module in $modules; do
  for arch in x86_64:"$bin64" i686:"$bin32"; do
    found=$(product_version "${arch%%:*}" "${arch#*:}/$module")
    [ "$found" = "$version" ] || {
      echo "make-msi.sh: ${arch#*:}/$module has version $found, not $version" >&2; exit 1; }
  done
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
ln -s "$bin64" "$stage/x64"
ln -s "$bin32" "$stage/x86"

# One component per language module and architecture.
{
  echo '<?xml version="1.0" encoding="utf-8"?>'
  echo '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi"><Fragment>'
  for arch in 64:x64:yes 32:x86:no; do
    bits=${arch%%:*} folder=${arch#*:}; folder=${folder%%:*}
    echo "  <DirectoryRef Id=\"QmFolder$bits\">"
    for module in $modules; do
      [ "$module" = QuorvaneMarrowby.dll ] && continue
      id=Lang${module#QuorvaneMarrowby.lang-}; id=${id%.dll}x$bits
      echo "    <Component Id=\"$id\" Guid=\"*\" Win64=\"${arch##*:}\"><File Id=\"$id\" Name=\"$module\" Source=\"$folder/$module\" KeyPath=\"yes\"/></Component>"
    done
    echo '  </DirectoryRef>'
  done
  echo '  <ComponentGroup Id="LanguageModules">'
  for module in $modules; do
    [ "$module" = QuorvaneMarrowby.dll ] && continue
    id=Lang${module#QuorvaneMarrowby.lang-}; id=${id%.dll}
    echo "    <ComponentRef Id=\"${id}x64\"/><ComponentRef Id=\"${id}x32\"/>"
  done
  echo '  </ComponentGroup>'
  echo '</Fragment></Wix>'
} > "$stage/languages.wxs"

mkdir -p "$(dirname "$output")"
rm -f "$output"
# wixl finds the sources relative to the working folder.
(cd "$stage" && wixl --arch x64 -D Version="$version" -D Bin64=x64 -D Bin32=x86 \
                     -o "$output" "$here/QuorvaneMarrowby.wxs" languages.wxs)

# Every file is a module with the package's version: versioned files are
# replaced by version, not by date.
queries=("UPDATE \`File\` SET \`Version\` = '$version'")
while IFS= read -r line; do
  case $line in ''|--*) ;; *) queries+=("$line") ;; esac
done < "$here/registration.sql"
args=()
for query in "${queries[@]}"; do args+=(-q "$query"); done
msibuild "$output" "${args[@]}"
echo "$output"
