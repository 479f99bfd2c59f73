#!/usr/bin/env bash
# Runs a libFuzzer target for a bounded time from a copy of its seed corpus.
#   run-fuzzer.sh FUZZER SEED_DIR WORK_DIR SECONDS
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3 seconds=$4
mkdir -p "$work"
[ -d "$seeds" ] && cp -n "$seeds"/* "$work"/ 2>/dev/null || true
cd "$(dirname "$work")"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$work"
