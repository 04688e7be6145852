#!/usr/bin/env bash
# Makes the pictures the README shows, docs/screenshots/*.png: the main window and each editor
# window on the built-in sample image, on a virtual 1600 x 1000 display.
#
# Needs xvfb-run (Debian: xvfb) and the build in build/ (as scripts/run.sh or scripts/test.sh
# leave it; the velmar-screenshots target is built here). A window manager (openbox) is used when
# one is installed, but none is needed: each window is grabbed from its own contents, without a
# frame. The program writes the pictures itself, in 256 colours at most, so no image tools
# (ImageMagick, pngquant) are needed either.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v xvfb-run >/dev/null; then
  echo "xvfb-run is needed: apt install xvfb" >&2
  exit 1
fi
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMAR_BUILD_APP=ON
fi
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target velmar-screenshots

out=docs/screenshots
mkdir -p "$out"
run='build/tools/velmar-screenshots "$0" dat'
if command -v openbox >/dev/null; then
  run="openbox & sleep 1; $run"
fi
# The virtual display's own platform, whatever the shell asks for.
env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1600x1000x24" sh -c "$run" "$out"

# Kept in the repository: each picture should stay small.
for f in "$out"/*.png; do
  size=$(stat -c %s "$f")
  if [ "$size" -gt $((150 * 1024)) ]; then
    echo "warning: $f takes $size bytes, more than 150 KB" >&2
  fi
done
