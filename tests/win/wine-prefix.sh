#!/usr/bin/env bash
# wine-prefix.sh PREFIX: makes the Wine prefix the Windows tests run in, once,
# and ends its wineserver so that a later start under Xvfb owns the display.
set -eu
prefix=$(realpath -m "$1")
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
fi
# No window manager runs under Xvfb: unmanaged windows spare the 2 s that Wine
# otherwise waits for one whenever a captioned window is hidden or destroyed.
if ! grep -q '"Managed"="N"' "$prefix/user.reg" 2>/dev/null; then
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
fi
# Test drives: D: and E: are folders of the build, so tests can use drive
# letters whose volumes the harness describes.
for letter in d e; do
  mkdir -p "$prefix/drives/$letter"
  ln -sfn "../drives/$letter" "$prefix/dosdevices/$letter:"
done
/usr/lib/wine/wineserver -k 2>/dev/null || true
/usr/lib/wine/wineserver -w 2>/dev/null || true
