#!/usr/bin/env bash
# The soak: builds the soak tests, runs RUNS fault-matrix collections (default 500; a third
# each on the direct line, from a station through the modem and by the reservation scheduler)
# with faults drawn from SEED (default: the time), then kills fenta21-cli collect at
# FENTA21_KILL_POINTS moments (default 35), and prints both summary lines. The same seed gives
# the same runs. A short version, as CI runs it: FENTA21_KILL_POINTS=14 scripts/soak.sh 75 1
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-500}"
seed="${2:-$(date +%s)}"
bash scripts/install-deps.sh
cmake --preset default
cmake --build --preset default --target fenta21_soak_tests
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
status=0
FENTA21_SOAK_RUNS="$runs" FENTA21_SOAK_SEED="$seed" FENTA21_KILL_POINTS="${FENTA21_KILL_POINTS:-35}" \
  build/default/tests/fenta21_soak_tests 2>&1 | tee "$log" || status=$?
echo
grep -E '^(soak|kill):' "$log" || true
exit "$status"
