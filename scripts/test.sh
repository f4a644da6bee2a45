#!/usr/bin/env bash
# Builds everything and runs every test; makes the Debian package and checks what it holds and that its
# programs run; then builds the plain C++ core once more with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs its tests again. Each phase says what it does in one line; the
# full output of each goes to a log in build-logs/, which a failure names and shows the end of.
set -euo pipefail
cd "$(dirname "$0")/.."
logs=$PWD/build-logs
mkdir -p "$logs"
jobs=$(nproc)
# Qt wants a private runtime folder; without one it warns in every test.
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT

# Runs one phase with its output in its log; on failure shows the log's end and stops.
phase() {
  local name=$1 description=$2
  shift 2
  echo "== $description (log: build-logs/$name.log)"
  if ! "$@" >"$logs/$name.log" 2>&1; then
    tail -n 40 "$logs/$name.log"
    echo "FAILED: $description; the whole output is in build-logs/$name.log"
    exit 1
  fi
}

# Runs the tests of a build folder; prints a line per failing test and ctest's summary.
run_tests() {
  local name=$1 description=$2 folder=$3
  echo "== $description (log: build-logs/$name.log)"
  if ctest --test-dir "$folder" --output-on-failure -j "$jobs" >"$logs/$name.log" 2>&1; then
    grep -E '^[0-9]+% tests passed' "$logs/$name.log"
  else
    sed -n '/The following tests FAILED:/,$p' "$logs/$name.log" | grep -vE '^Errors while running CTest'
    grep -E '^[0-9]+% tests passed' "$logs/$name.log" || true
    echo "FAILED: $description; the failing tests' output is in build-logs/$name.log"
    exit 1
  fi
}

phase install "Installing the Debian packages that are missing" ./scripts/install-deps.sh
phase configure "Configuring build/ (RelWithDebInfo, with Qt)" \
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
phase build "Building everything in build/" cmake --build build -j "$jobs"
run_tests test "Running every test of build/ (window tests on Qt's offscreen platform)" build
phase package "Making the Debian package" cmake --build build --target package
echo "== Checking the Debian package (lintian, hardening, its programs)"
./scripts/check-package.sh build
phase configure-sanitize "Configuring build-sanitize/ (the core with AddressSanitizer and UBSan)" \
  cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DORB_WITH_QT=OFF -DORB_SANITIZE=ON
phase build-sanitize "Building build-sanitize/" cmake --build build-sanitize -j "$jobs"
run_tests test-sanitize "Running the core's tests under the sanitizers" build-sanitize

passed=$(($(grep -oE 'out of [0-9]+' "$logs/test.log" | grep -oE '[0-9]+') + \
  $(grep -oE 'out of [0-9]+' "$logs/test-sanitize.log" | grep -oE '[0-9]+')))
echo "All passed: $passed tests in build/ and build-sanitize/, the package and its check."
