#!/usr/bin/env bash
# in-wine.sh BIN PREFIX OUT: the tour of scripts/try.sh, run under Xvfb. Makes
# PREFIX afresh, registers BIN/QuorvaneMarrowby.dll with Wine's own regsvr32,
# runs explorer_host's tour, shows a dialog and the Link page in German,
# unregisters, and checks that the registry is as it was. Pictures of the
# dialogs go to OUT/pictures.
# Exits non-zero when a step did not do what it should.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=$(realpath "$1") prefix=$(realpath -m "$2") out=$(realpath -m "$3")
mkdir -p "$out/pictures"
rm -f "$out"/pictures/*.png
rm -rf "$prefix"
"$here/../../tests/win/wine-prefix.sh" "$prefix"
# The prefix's processes end before Xvfb does, however the session ends.
trap 'WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null; WINEPREFIX=$prefix /usr/lib/wine/wineserver -w 2>/dev/null' EXIT

win() { (cd "$bin" && "$here/../../tests/win/run-in-wine.sh" "$prefix" "$@"); }
windows() { echo "Z:$(echo "$1" | tr / '\\')"; }
heading() { printf '\n== %s\n' "$*"; }
say() { printf '   %s\n' "$*"; }
short() { sed 's/^HKEY_LOCAL_MACHINE\\Software\\Classes\\/HKCR\\/; s/^HKEY_LOCAL_MACHINE\\/HKLM\\/'; }

# The registry trees registration writes to, one value per line.
snapshot() {
  local key
  for key in 'HKLM\Software\Classes' 'HKLM\Software\Microsoft\Windows\CurrentVersion'; do
    win reg export "$key" "$(windows "$out/export.reg")" /y >/dev/null
    iconv -f UTF-16LE -t UTF-8 "$out/export.reg" | tr -d '\r' | awk -f "$here/registry.awk"
  done | LC_ALL=C sort > "$1"
  rm -f "$out/export.reg"
}
changes() {
  LC_ALL=C comm -23 "$1" "$2" | short | awk -v sign='   - ' -f "$here/changes.awk"
  LC_ALL=C comm -13 "$1" "$2" | short | awk -v sign='   + ' -f "$here/changes.awk"
}

dll=$(windows "$bin/QuorvaneMarrowby.dll")
heading "The registry before"
say "A fresh Wine prefix lacks keys that every Windows has, which registration adds to and"
say "unregistration must leave as they were (tools/try/windows-keys.reg): the tour imports them first."
win reg import "$(windows "$here/windows-keys.reg")" >/dev/null 2>&1
grep '^\[\|^"' "$here/windows-keys.reg" | sed 's/^/   /'
snapshot "$out/before.txt"

heading "Registering: wine regsvr32 QuorvaneMarrowby.dll"
win regsvr32 "$dll" | sed 's/^/   /'
snapshot "$out/registered.txt"
say "what it wrote (HKCR is HKLM\\Software\\Classes; - before, + after):"
changes "$out/before.txt" "$out/registered.txt"

status=0
win explorer_host.exe tour 'D:\Demo' "$(windows "$out/pictures")" || status=$?

heading "Languages: the Locale setting picks a language module"
say 'reg add HKCU\SOFTWARE\Quorvane\Marrowby\Locale /v Default /t REG_DWORD /d 1031   (German)'
win reg add 'HKCU\SOFTWARE\Quorvane\Marrowby\Locale' /v Default /t REG_DWORD /d 1031 /f >/dev/null
say 'the next program that loads the DLL asks in German:'
win explorer_host.exe ask-copy 'D:\Demo\Docs' 'D:\Demo\Archive' "$(windows "$out/pictures/copy-directory-de.png")" ||
  status=1
say 'and the Link page in Properties of a soft link, and of a file with three names:'
win explorer_host.exe properties 'D:\Demo\Desk\Music' "$(windows "$out/pictures/link-page-junction-de.png")" 'D:\Demo\Music' ||
  status=1
win explorer_host.exe properties 'D:\Demo\Docs\report.txt' "$(windows "$out/pictures/link-page-hard-link-de.png")" ||
  status=1
win reg delete 'HKCU\SOFTWARE\Quorvane\Marrowby\Locale' /f >/dev/null
say 'reg delete HKCU\SOFTWARE\Quorvane\Marrowby\Locale   (back to the user'"'"'s language)'

heading "Unregistering: wine regsvr32 /u QuorvaneMarrowby.dll"
win regsvr32 /u "$dll" | sed 's/^/   /'
snapshot "$out/unregistered.txt"
if cmp -s "$out/before.txt" "$out/unregistered.txt"; then
  say "the registry trees are as they were before registering: every key and value it wrote is gone,"
  say "and the InfoTip lists hold their own entries again"
else
  say "UNEXPECTED: the registry differs from before registering:"
  changes "$out/before.txt" "$out/unregistered.txt"
  status=1
fi
say "(the dialogs' settings under HKCU\\SOFTWARE\\Quorvane\\Marrowby are the user's, and stay)"

exit $status
