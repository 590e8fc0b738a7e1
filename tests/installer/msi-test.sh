#!/usr/bin/env bash
# msi-test.sh BIN64 BIN32 WORK: builds the package from the two builds' output
# folders, then in a fresh Wine prefix under WORK installs it with msiexec /qn,
# checks the machine, unregisters the DLL by hand and installs a rebuild over
# it (the old one goes, although its unregistration now fails), checks again,
# removes it with msiexec /x /qn and checks that nothing is left. InfoTip
# lists another program wrote are planted before all of it.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
bin64=$(realpath "$1") bin32=$(realpath -m "$2") work=$(realpath -m "$3")
[ -f "$bin32/QuorvaneMarrowby.dll" ] || {
  echo "no 32-bit build in $bin32: build it first, or configure with -DQM_X86_BIN=<its bin folder>" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
for package in QuorvaneMarrowby.msi rebuild/QuorvaneMarrowby.msi; do
  "$root/installer/make-msi.sh" "$bin64" "$bin32" "$work/$package" >/dev/null
done
echo "package: $(stat -c %s "$work/QuorvaneMarrowby.msi") bytes"
"$root/tests/win/wine-prefix.sh" "$work/prefix"

wine() { (cd "$work" && "$root/tests/win/run-in-wine.sh" "$work/prefix" "$@"); }
checks() { QM_BIN32="Z:${bin32//\//\\}" wine "$bin64/installer_checks.exe" "$@"; }
# msiexec OPTION PACKAGE LOG: runs it quietly, prints its time, shows the log on failure.
msiexec() {
  local started status=0
  started=$(date +%s%N)
  wine msiexec "$1" "${2//\//\\}" /qn /l*v "$3" || status=$?
  printf 'msiexec %s %s: exit status %d after %d ms\n' "$1" "$2" "$status" $(( ($(date +%s%N) - started) / 1000000 ))
  if [ "$status" -ne 0 ]; then
    echo "actions that did not succeed (whole log: $work/$3):"
    grep "Return value [^1]" "$work/$3" || tail -n 20 "$work/$3"
    return 1
  fi
}

checks plant
msiexec /i QuorvaneMarrowby.msi install.log
checks installed
wine regsvr32 /s /u 'C:\Program Files\Quorvane Marrowby\QuorvaneMarrowby.dll'
msiexec /i rebuild/QuorvaneMarrowby.msi reinstall.log
checks installed
msiexec /x rebuild/QuorvaneMarrowby.msi remove.log
checks removed
if ! [ -f "$work/prefix/drive_c/windows/syswow64/regsvr32.exe" ]; then
  echo "SKIPPED: registration of the 32-bit DLL (this Wine has no 32-bit subsystem; its files were installed and removed)"
fi
