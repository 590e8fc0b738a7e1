#!/usr/bin/env bash
# Builds the DLLs, then tries the 64-bit one in a Wine prefix of its own the
# way Explorer would use it, and prints what a user would see. Wine cannot
# store junctions, so the soft link shows Wine's refusal; hard links are real.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/build.sh >/dev/null
bin=$root/build/release-x64/bin
prefix=$root/build/try/wineprefix
tests/win/wine-prefix.sh "$prefix"
drive=$prefix/drives/d
rm -rf "$drive/Demo"
mkdir -p "$drive/Demo/Docs" "$drive/Demo/Links" "$drive/Demo/Music"
echo "quarterly figures" > "$drive/Demo/Docs/report.txt"
echo "meeting notes" > "$drive/Demo/Docs/notes.txt"

host() { (cd "$bin" && "$root/tests/win/run-in-wine.sh" "$prefix" explorer_host.exe "$@") || true; }
show() { printf '\n$ %s\n' "$*"; }

xvfb-run -a bash -c "$(declare -f host show); root='$root' bin='$bin' prefix='$prefix'
show 'right-drag D:\\Demo\\Docs\\report.txt onto D:\\Demo\\Links'
host drag 'D:\\Demo\\Links' 'D:\\Demo\\Docs\\report.txt'
show 'copy both documents, then right-click D:\\Demo\\Docs'
host copy 'D:\\Demo\\Docs\\report.txt' 'D:\\Demo\\Docs\\notes.txt'
host paste 'D:\\Demo\\Docs'
show 'right-drag D:\\Demo\\Music onto D:\\Demo\\Links'
host drag 'D:\\Demo\\Links' 'D:\\Demo\\Music'
" 2>/dev/null
printf '\nFiles now (link count, name):\n'
(cd "$drive/Demo" && find . -type f -printf '  %n  %p\n' | sort -k2)
