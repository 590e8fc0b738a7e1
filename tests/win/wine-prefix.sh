#!/usr/bin/env bash
# wine-prefix.sh PREFIX: makes the Wine prefix the Windows tests run in, once,
# and ends its wineserver so that a later start under Xvfb owns the display.
# The prefix holds both halves, as 64-bit Windows does, where 32-bit programs
# can run here (wine32/setup.sh); one made without them is made again.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
prefix=$(realpath -m "$1")
export WINEARCH=win64
wine() { "$here/run-in-wine.sh" "$prefix" "$@"; }
if "$here/wine32/setup.sh" "$prefix" >/dev/null && [ -f "$prefix/system.reg" ] &&
   [ ! -d "$prefix/drive_c/windows/syswow64" ]; then
  rm -rf "$prefix"
  "$here/wine32/setup.sh" "$prefix" >/dev/null
fi
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  wine wineboot -i >/dev/null 2>&1 || true
fi
# No window manager runs under Xvfb: unmanaged windows spare the 2 s that Wine
# otherwise waits for one whenever a captioned window is hidden or destroyed.
if ! grep -q '"Managed"="N"' "$prefix/user.reg" 2>/dev/null; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
fi
# Test drives: D: and E: are folders of the build, so tests can use drive
# letters whose volumes the harness describes.
for letter in d e; do
  mkdir -p "$prefix/drives/$letter"
  ln -sfn "../drives/$letter" "$prefix/dosdevices/$letter:"
done
WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
WINEPREFIX=$prefix /usr/lib/wine/wineserver -w 2>/dev/null || true
