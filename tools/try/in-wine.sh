#!/usr/bin/env bash
# in-wine.sh BIN PREFIX OUT [BIN32]: the tour of scripts/try.sh, run under
# Xvfb. Makes PREFIX afresh, registers BIN/QuorvaneMarrowby.dll with Wine's own
# regsvr32 (and BIN32's 32-bit DLL with the 32-bit regsvr32, where 32-bit
# programs run), runs explorer_host's tour, a right-drag in a 32-bit program,
# shows a dialog and the Link page in German, unregisters, and checks that the
# registry is as it was. Pictures of the dialogs go to OUT/pictures. Exits
# non-zero when a step did not do what it should.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=$(realpath "$1") prefix=$(realpath -m "$2") out=$(realpath -m "$3") bin32=${4:+$(realpath "$4")}
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
short() {
  sed 's/^HKEY_LOCAL_MACHINE\\Software\\Classes\\Wow6432Node\\/HKCR (32-bit view)\\/
       s/^HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\/HKLM (32-bit view)\\Software\\/
       s/^HKEY_LOCAL_MACHINE\\Software\\Classes\\/HKCR\\/; s/^HKEY_LOCAL_MACHINE\\/HKLM\\/'
}

# The registry trees registration writes to, one value per line.
snapshot() {
  local key
  for key in 'HKLM\Software\Classes' 'HKLM\Software\Microsoft\Windows\CurrentVersion' \
             'HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion'; do
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

# The 32-bit DLL, where 32-bit programs run: its own regsvr32 writes the
# class keys, approval and overlay identifier in the 32-bit view; the keys
# both views share are there already.
# Where they cannot, one line says why and the tour goes on without it.
dll32= regsvr32_32='C:\windows\syswow64\regsvr32.exe' why=
if [ -z "$bin32" ] || [ ! -f "$bin32/QuorvaneMarrowby.dll" ]; then
  why="no 32-bit build was given"
elif ! why=$("$here/../../tests/win/wine32/setup.sh" "$prefix"); then
  :
elif [ ! -f "$prefix/drive_c/windows/syswow64/regsvr32.exe" ]; then
  why="the prefix has no 32-bit half"
fi
if [ -z "$why" ]; then
  dll32=$(windows "$bin32/QuorvaneMarrowby.dll")
  heading "Registering the 32-bit DLL: $regsvr32_32 QuorvaneMarrowby.dll"
  win "$regsvr32_32" "$dll32" | sed 's/^/   /'
  snapshot "$out/registered32.txt"
  say "what it wrote, in the 32-bit view (- before, + after):"
  changes "$out/registered.txt" "$out/registered32.txt"
else
  heading "SKIPPED: the 32-bit DLL's registration and its step in the tour: $why"
fi

status=0
win explorer_host.exe tour 'D:\Demo' "$(windows "$out/pictures")" || status=$?

if [ -n "$dll32" ]; then
  heading "18. A 32-bit program right-drags a file   [real hard link, through the 32-bit DLL]"
  say "32-bit programs that show folders (file dialogs, older file managers) load the 32-bit DLL,"
  say "found through the 32-bit view's class keys:"
  drag32=$(cd "$bin32" && "$here/../../tests/win/run-in-wine.sh" "$prefix" explorer_host.exe drag 'D:\Demo\Shared' \
     'D:\Demo\Docs\notes.txt') || status=1
  echo "$drag32" | sed 's/^/   /'
  if ! grep -qiF "(the extension ran from $dll32)" <<< "$drag32"; then
    say "UNEXPECTED: the 32-bit program did not run the 32-bit DLL"
    status=1
  fi
fi

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
if [ -n "$dll32" ]; then
  heading "Unregistering the 32-bit DLL: $regsvr32_32 /u QuorvaneMarrowby.dll"
  say "the 64-bit unregistration took the keys both views share, so this one reports them missing"
  say "(0x80070002) and removes its own keys all the same:"
  win "$regsvr32_32" /u "$dll32" | sed 's/^/   /' || true
fi
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
