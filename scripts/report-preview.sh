#!/usr/bin/env bash
# Renders the printed report of the start-up settings to docs/report.pdf and docs/screenshots/report.png,
# so the README can show what the print command produces without a printer.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}

cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" -j "$(nproc)" --target orb_report_preview

mkdir -p docs/screenshots
"$build_dir/print/orb_report_preview" docs/report.pdf
pdftoppm -png -r 110 -singlefile docs/report.pdf docs/screenshots/report
echo "Wrote docs/report.pdf and docs/screenshots/report.png"
