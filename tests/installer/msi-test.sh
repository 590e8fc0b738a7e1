#!/usr/bin/env bash
# msi-test.sh BIN64 BIN32 WORK: builds the package from the two builds' output
# folders, then in a fresh Wine prefix with both halves: an installation, the
# rollback of its registrations, a rebuild installed over it after the 64-bit
# DLL was unregistered by hand (the old one goes, although its unregistration
# now fails), and the removal. Between the steps installer_checks.exe of each
# bitness checks the machine, the registry in its own view. InfoTip lists
# another program wrote are planted before all of it.
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

# Its checks run several times: no GoogleTest results for scripts/test.sh.
wine() { (cd "$work" && env -u GTEST_OUTPUT "$root/tests/win/run-in-wine.sh" "$work/prefix" "$@"); }
both=yes
[ -f "$work/prefix/drive_c/windows/syswow64/regsvr32.exe" ] || both=
# checks PHASE: the 64-bit view, then the 32-bit one.
checks() {
  QM_BIN32="Z:${bin32//\//\\}" wine "$bin64/installer_checks.exe" "$@"
  [ -z "$both" ] || QM_BIN32="Z:${bin32//\//\\}" wine "$bin32/installer_checks.exe" "$@"
}
# msiexec OPTION PACKAGE LOG: runs it quietly, prints its time, shows the log
# when it fails.
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

# regsvr32s [/u]: the package's registrations (64-bit, then 32-bit), or with
# /u their undo actions in the order a rollback runs them (32-bit, then 64-bit).
regsvr32s() {
  local dll64='C:\Program Files\Quorvane Marrowby\QuorvaneMarrowby.dll'
  local dll32='C:\Program Files (x86)\Quorvane Marrowby\QuorvaneMarrowby.dll'
  if [ -z "${1:-}" ]; then
    wine regsvr32 /s "$dll64"; [ -z "$both" ] || wine 'C:\windows\syswow64\regsvr32.exe' /s "$dll32"
  else
    [ -z "$both" ] || wine 'C:\windows\syswow64\regsvr32.exe' /s /u "$dll32" || true; wine regsvr32 /s /u "$dll64" || true
  fi
}

checks plant
msiexec /i QuorvaneMarrowby.msi install.log
checks installed
# Wine's msiexec runs a rollback script in the order it was written, so the
# files go before the undo actions can unregister them; Windows runs it
# backwards. The undo actions of both registrations run here as Windows runs
# them (the second reports the keys both views share already gone).
regsvr32s /u
checks unregistered
regsvr32s
wine regsvr32 /s /u 'C:\Program Files\Quorvane Marrowby\QuorvaneMarrowby.dll'
msiexec /i rebuild/QuorvaneMarrowby.msi reinstall.log
checks installed
msiexec /x rebuild/QuorvaneMarrowby.msi remove.log
checks removed
if [ -z "$both" ]; then
  echo "SKIPPED: the 32-bit DLL's registration and the 32-bit view (this Wine runs no 32-bit programs; the files were installed and removed)"
fi
