#!/usr/bin/env bash
# Start-up benchmark of the program under Wine: time to the first painted
# main window against a bare Win32 window and against the same-shape floor
# (the program's window tree, each window a plain fill), interleaved.
#   scripts/bench-startup.sh [rounds]   (default 10)
set -euo pipefail
cd "$(dirname "$0")/.."
bench_target=bench_startup
. scripts/bench-common.sh
scripts/wine-run.sh "$build/tests/app/bench_startup.exe" "${bench_args[@]}" "${1:-10}"
