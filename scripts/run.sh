#!/usr/bin/env bash
# Builds Velmar (Release, in build/) and shows it working on the built-in sample image.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMAR_BUILD_CLI=ON -DVELMAR_BUILD_APP=ON \
  -DVELMAR_BUILD_FUZZ=OFF -DVELMAR_SANITIZE=OFF
cmake --build build -j "$jobs"

cli=build/src/cli/velmar-cli
"$cli" sample build/sample.nes
echo "Wrote build/sample.nes"
echo
echo "== velmar-cli scenes build/sample.nes"
"$cli" scenes build/sample.nes
echo
echo "== velmar-cli scene build/sample.nes c:000000"
"$cli" scene build/sample.nes c:000000
