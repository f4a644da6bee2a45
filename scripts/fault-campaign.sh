#!/usr/bin/env bash
# Runs the random fault campaign at the wire's pace (the real serial port against the simulated unit at
# 19,200 bit/s) for the given number of minutes (default 10), printing each run's seed, the faults that
# struck and the outcome, then a summary. A run that breaks an invariant is reported with its seed;
#   scripts/fault-campaign.sh --seed SEED
# replays that one run.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target random_fault_campaign_test orbsim

export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 ORB_TOOLS_DIR="$PWD/build/tools"
if [ "${1:-}" = "--seed" ]; then
  export ORB_CAMPAIGN_SEED=${2:?a seed}
else
  export ORB_CAMPAIGN_SECONDS=$((${1:-10} * 60))
fi
exec build/tests/faults/random_fault_campaign_test
