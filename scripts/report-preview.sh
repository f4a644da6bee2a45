#!/usr/bin/env bash
# Renders the printed report of the start-up settings to a PDF in the build folder and to
# docs/screenshots/report.png,
# so the README can show what the print command produces without a printer.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}

cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" -j "$(nproc)" --target orb_report_preview

mkdir -p docs/screenshots
"$build_dir/print/orb_report_preview" "$build_dir/report.pdf"
pdftoppm -png -r 110 -singlefile "$build_dir/report.pdf" docs/screenshots/report
echo "Wrote $build_dir/report.pdf and docs/screenshots/report.png"
