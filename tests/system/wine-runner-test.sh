#!/usr/bin/env bash
# Checks scripts/wine-run.sh with a probe program: exit codes and both
# output streams come through, and a crash ends the run at once with a
# failure (no crash dialog waiting for a click).
#   wine-runner-test.sh WINE_RUN PROBE.exe
set -uo pipefail
run=$1 probe=$2
failures=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

"$run" "$probe" exit 0 >"$tmp/out" 2>"$tmp/err"; rc=$?
check "exit code 0 passes through" '[ $rc -eq 0 ]'
# The program writes text-mode output: its lines end in CR LF.
check "standard output passes through" '[ "$(tr -d "\r" <"$tmp/out")" = "probe stdout" ]'
check "standard error passes through" 'grep -q "probe stderr" "$tmp/err"'

"$run" "$probe" exit 7 >/dev/null 2>&1; rc=$?
check "exit code 7 passes through" '[ $rc -eq 7 ]'

# A crash dialog would wait for a click for ever: the time limit only
# guards against that hang.
timeout 120 "$run" "$probe" crash >"$tmp/out" 2>"$tmp/err"; rc=$?
check "a crash does not hang" '[ $rc -ne 124 ]'
check "a crash fails the run (exit code $rc)" '[ $rc -ne 0 ]'
check "a crash is reported with a backtrace" 'grep -q "^Backtrace:" "$tmp/out" "$tmp/err"'

echo "wine-runner-test: $failures of 7 checks failed"
[ $failures -eq 0 ]
