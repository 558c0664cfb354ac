#!/usr/bin/env bash
# Builds the screenshot driver and retakes the user's guide's pictures of the
# real windows (docs/guide/images/*.png), offscreen. BUILD defaults to build.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build" -j2 --target orvane_guide_screenshots
mkdir -p docs/guide/images
QT_QPA_PLATFORM=offscreen "$build/orvane_guide_screenshots" docs/guide/images
