#!/usr/bin/env bash
# Builds everything and runs every test; makes the Debian package and checks what it holds and that its
# programs run; then builds the plain C++ core once more with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs its tests again.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
cmake --build build --target package
./scripts/check-package.sh build

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DORB_WITH_QT=OFF -DORB_SANITIZE=ON
cmake --build build-sanitize -j "$jobs"
ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
