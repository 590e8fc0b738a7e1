#!/usr/bin/env bash
# msi-test.sh BIN64 BIN32 WORK: builds the package from the two builds' output
# folders, then in a fresh Wine prefix under WORK installs it with msiexec /qn,
# checks the machine, removes it with msiexec /x /qn and checks again. An
# InfoTip list another program wrote is planted before the installation.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
bin64=$(realpath "$1") bin32=$(realpath -m "$2") work=$(realpath -m "$3")
[ -f "$bin32/QuorvaneMarrowby.dll" ] || {
  echo "no 32-bit build in $bin32: build it first, or configure with -DQM_X86_BIN=<its bin folder>" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
package=$("$root/installer/make-msi.sh" "$bin64" "$bin32" "$work/QuorvaneMarrowby.msi")
echo "package: $package, $(stat -c %s "$package") bytes"
"$root/tests/win/wine-prefix.sh" "$work/prefix"

wine() { (cd "$work" && "$root/tests/win/run-in-wine.sh" "$work/prefix" "$@"); }
checks() { QM_BIN32="Z:${bin32//\//\\}" wine "$bin64/installer_checks.exe" "$@"; }
# msiexec ACTION LOG: runs it quietly, prints its time, shows the log on failure.
msiexec() {
  local started status=0
  started=$(date +%s%N)
  wine msiexec "$1" QuorvaneMarrowby.msi /qn /l*v "$2" || status=$?
  printf 'msiexec %s: exit status %d after %d ms\n' "$1" "$status" $(( ($(date +%s%N) - started) / 1000000 ))
  if [ "$status" -ne 0 ]; then
    echo "actions that did not succeed (whole log: $work/$2):"
    grep "Return value [^1]" "$work/$2" || tail -n 20 "$work/$2"
    return 1
  fi
}

checks plant
msiexec /i install.log
checks installed
msiexec /x remove.log
checks removed
if ! [ -f "$work/prefix/drive_c/windows/syswow64/regsvr32.exe" ]; then
  echo "SKIPPED: registration of the 32-bit DLL (this Wine has no 32-bit subsystem; its files were installed and removed)"
fi
