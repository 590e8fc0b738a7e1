#!/usr/bin/env bash
# Takes PNG pictures of the four option dialogs, in English and German, from
# the real windows under Xvfb: docs/images/dialog-<en|de>-<name>.png.
# Installs what only the pictures need when it is missing: ImageMagick (for
# `import`) and Wine's own fonts (Tahoma for the dialogs, Marlett for the
# caption buttons).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/deps.sh
missing=()
command -v import >/dev/null || missing+=(imagemagick)
dpkg-query -W -f='${Status}' fonts-wine 2>/dev/null | grep -q "install ok installed" || missing+=(fonts-wine)
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

build=build/x64
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C "$build" dialog_gallery
tests/win/wine-prefix.sh "$build/wineprefix"

shots="$root/$build/screenshots"
rm -rf "$shots"
mkdir -p "$shots" docs/images
# Wine sees the Linux root as drive Z:.
shots_windows="Z:$(echo "$shots" | tr / '\\')"

xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -eu
  build=$1 shots=$2 shots_windows=$3
  for language in en de; do
    (cd "$build/bin" && ../../../tests/win/run-in-wine.sh ../wineprefix dialog_gallery.exe "$shots_windows" $language) &
    gallery=$!
    for name in copy-directory copy-soft-link move-soft-link delete-soft-link; do
      base="$shots/$language-$name"
      for _ in $(seq 600); do [ -s "$base.rect" ] && break; sleep 0.1; done
      read -r x y width height < "$base.rect"
      import -window root -crop "${width}x${height}+${x}+${y}" +repage "$base.tmp.png"
      mv "$base.tmp.png" "$base.png"
    done
    wait $gallery
  done
' screenshots "$build" "$shots" "$shots_windows"

for picture in "$shots"/*.png; do
  cp "$picture" "docs/images/dialog-$(basename "$picture")"
done
ls -1 docs/images/dialog-*.png
