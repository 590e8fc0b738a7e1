#!/usr/bin/env bash
# Builds the DLLs, then tries them in a Wine prefix of its own as Explorer
# and the shell's file operations use them (tools/try/in-wine.sh): both
# registered with the regsvr32 of their bitness, every feature driven by
# explorer_host, one step by the 32-bit explorer_host through the 32-bit DLL
# (where 32-bit programs run), both unregistered, the registry shown clean.
# Prints the transcript; pictures of the dialogs go to build/try/pictures.
# Exits non-zero when a step did not do what it should.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
started=$(date +%s)
echo "Building the DLLs (scripts/build.sh; its output in build/try/build.log) ..."
mkdir -p build/try
if ! scripts/build.sh > build/try/build.log 2>&1; then
  cat build/try/build.log
  exit 1
fi
grep '^Installer package:' build/try/build.log || true
echo "Trying build/release-x64/bin/QuorvaneMarrowby.dll (and the 32-bit one) in a Wine prefix of its own, build/try/wineprefix."
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" tools/try/in-wine.sh build/release-x64/bin build/try/wineprefix build/try \
  build/release-x86/bin ||
  status=$?
printf '\nPictures of the dialogs: %s\n' "$(ls build/try/pictures/*.png | tr '\n' ' ')"
echo "scripts/try.sh took $(( $(date +%s) - started )) s$([ $status -eq 0 ] || echo ", and some steps did not do what they should")."
exit $status
