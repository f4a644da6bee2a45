#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for the given number of seconds (default 600)
# over a copy of its committed corpus, two at a time; then prints executions and findings per harness.
# A finding is left as crash-*/leak-*/timeout-* in build-fuzz/runs/<harness>/; add it to
# fuzz/corpus/<harness>/ once the fault is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
if ! command -v clang++ >/dev/null; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends clang
fi
seconds=${1:-600}
parallel=${FUZZ_PARALLEL:-2}
build=build-fuzz
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORB_WITH_QT=OFF -DORB_FUZZ=ON \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
harnesses=$(cd fuzz/corpus && ls)
cmake --build "$build" -j "$parallel" --target $(for h in $harnesses; do printf 'fuzz_%s ' "$h"; done)

run() {
  local h=$1 dir=$build/runs/$1
  rm -rf "$dir" && mkdir -p "$dir/corpus"
  cp fuzz/corpus/"$h"/* "$dir/corpus/"
  (cd "$dir" && UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "../../fuzz/fuzz_$h" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
    corpus >log.txt 2>&1) || true
}

running=0
for h in $harnesses; do
  run "$h" &
  running=$((running + 1))
  if [ "$running" -ge "$parallel" ]; then wait -n; running=$((running - 1)); fi
done
wait

printf '%-16s %14s %10s  %s\n' harness executions corpus findings
for h in $harnesses; do
  dir=$build/runs/$h
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$dir/log.txt" | grep -o '[0-9]*$' | tail -1 || true)
  found=$(cd "$dir" && ls crash-* leak-* timeout-* oom-* 2>/dev/null | tr '\n' ' ' || true)
  printf '%-16s %14s %10s  %s\n' "$h" "${execs:-?}" "$(ls "$dir/corpus" | wc -l)" "${found:-none}"
done
