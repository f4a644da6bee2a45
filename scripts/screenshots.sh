#!/usr/bin/env bash
# Builds the screenshot tool if needed and, on a virtual X display, grabs the four tabs of the main window,
# the three entry dialogs, the about and the progress window into docs/screenshots/ (and, drawn at twice
# the scale, into docs/screenshots/scale2/). BUILD_DIR names another build folder (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

build=${BUILD_DIR:-build}
cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)" --target orb_screenshots

grab() {
  mkdir -p "$1"
  xvfb-run -a -s "-screen 0 1280x800x24" env QT_QPA_PLATFORM=xcb "$build/ui/orb_screenshots" "$1"
}
grab docs/screenshots
QT_SCALE_FACTOR=2 grab docs/screenshots/scale2
echo "Screenshots written to docs/screenshots/"
