#!/usr/bin/env bash
# Builds Velmar (Release, in build/) and opens the editor on the built-in sample image.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMAR_BUILD_CLI=ON -DVELMAR_BUILD_APP=ON \
  -DVELMAR_BUILD_FUZZ=OFF -DVELMAR_SANITIZE=OFF
# Only what runs here: the editor and the CLI (the tests and benchmarks are scripts/test.sh's).
cmake --build build -j "$jobs" --target velmar velmar-cli

# The editor on the built-in sample image (written once to the user's data folder and kept).
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/src/app/velmar --sample
fi

# No display here: show the same sample image through velmar-cli instead.
echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): showing the sample with velmar-cli."
cli=build/src/cli/velmar-cli
"$cli" sample build/sample.nes
echo "Wrote build/sample.nes"
echo
echo "== velmar-cli scenes build/sample.nes"
"$cli" scenes build/sample.nes
echo
echo "== velmar-cli render build/sample.nes c:000000 build/stage-1-1.png --actors"
"$cli" render build/sample.nes c:000000 build/stage-1-1.png --actors
echo "Wrote build/stage-1-1.png"
