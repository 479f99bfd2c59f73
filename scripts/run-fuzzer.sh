#!/usr/bin/env bash
# Runs libFuzzer targets.
#
#   run-fuzzer.sh FUZZER SEED_DIR WORK_DIR SECONDS
#     one target for a bounded time from a copy of its seed corpus (the
#     fuzzers' ctest tests run this way).
#
#   run-fuzzer.sh --all MINUTES [BUILD_DIR [CORPUS_DIR [NAME_PATTERN]]]
#     every target the build holds (default build/host), each for MINUTES,
#     at most QM_FUZZ_JOBS (default 3) at once. Each target's corpus is kept
#     in CORPUS_DIR/NAME (default BUILD_DIR/fuzz-corpus) and grows from one
#     run to the next; its findings go to CORPUS_DIR/NAME-findings, its log to
#     CORPUS_DIR/NAME.log. A target that stops on a finding starts again for
#     the rest of its time. At the end a table says, per target, the runs,
#     the coverage (cov, ft) and the findings.
#
# Every run has a temporary folder of its own (TMPDIR), removed at the end.
set -euo pipefail

run_dir=$(mktemp -d "${TMPDIR:-/tmp}/qm-fuzz.XXXXXX")
trap 'rm -rf "$run_dir"' EXIT
export TMPDIR=$run_dir

fuzz_flags=(-timeout=10 -rss_limit_mb=2048 -print_final_stats=1)

# run_for FUZZER WORK_DIR FINDINGS_DIR SECONDS LOG: runs until the time is up,
# starting again after each finding.
run_for() {
  local fuzzer=$1 work=$2 findings=$3 seconds=$4 log=$5
  local end=$(($(date +%s) + seconds)) left
  mkdir -p "$work" "$findings"
  : >"$log"
  while left=$((end - $(date +%s))) && [ "$left" -gt 0 ]; do
    "$fuzzer" -max_total_time="$left" "${fuzz_flags[@]}" -artifact_prefix="$findings/" "$work" >>"$log" 2>&1 || true
  done
}

# summary NAME LOG FINDINGS_DIR: one line of the table.
summary() {
  local name=$1 log=$2 findings=$3
  local runs cov ft found
  runs=$(sed -n 's/^stat::number_of_executed_units:[[:space:]]*//p' "$log" | awk '{s += $1} END {print s + 0}')
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  found=$(find "$findings" -type f 2>/dev/null | wc -l)
  printf '%-28s %14s %8s %8s %9s\n' "$name" "$runs" "${cov:--}" "${ft:--}" "$found"
}

if [ "${1:-}" = "--one" ]; then
  # Internal: one target of an --all run.
  #   run-fuzzer.sh --one CORPUS_DIR SECONDS NAME FUZZER SEED_DIR
  corpus=$2 seconds=$3 name=$4 fuzzer=$5 seeds=$6
  mkdir -p "$corpus/$name"
  if [ -d "$seeds" ] && [ -z "$(ls -A "$corpus/$name")" ]; then cp -n "$seeds"/* "$corpus/$name"/ 2>/dev/null || true; fi
  run_for "$fuzzer" "$corpus/$name" "$corpus/$name-findings" "$seconds" "$corpus/$name.log"
  echo "run-fuzzer: $name done"
  exit 0
fi

if [ "${1:-}" = "--all" ]; then
  minutes=${2:?usage: run-fuzzer.sh --all MINUTES [BUILD_DIR [CORPUS_DIR [NAME_PATTERN]]]}
  build=$(cd "${3:-build/host}" && pwd)
  corpus=${4:-$build/fuzz-corpus}
  pattern=${5:-.}
  mkdir -p "$corpus"
  corpus=$(cd "$corpus" && pwd)
  # Each fuzzer's build writes fuzzers/NAME.txt: its program and seed folder.
  mapfile -t lists < <(find "$build/fuzzers" -name '*.txt' 2>/dev/null | sort | grep -E "/[^/]*${pattern}[^/]*\.txt$" || true)
  if [ ${#lists[@]} -eq 0 ]; then
    echo "run-fuzzer: no fuzzer in $build (configure with QM_FUZZ=ON and build)" >&2
    exit 1
  fi
  self=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
  for list in "${lists[@]}"; do
    { read -r fuzzer; read -r seeds; } <"$list"
    printf '%s\0%s\0%s\0' "$(basename "$list" .txt)" "$fuzzer" "$seeds"
  done | xargs -0 -n 3 -P "${QM_FUZZ_JOBS:-3}" "$self" --one "$corpus" $((minutes * 60))
  printf '%-28s %14s %8s %8s %9s\n' target runs cov ft findings
  for list in "${lists[@]}"; do
    name=$(basename "$list" .txt)
    summary "$name" "$corpus/$name.log" "$corpus/$name-findings"
  done
  exit 0
fi

fuzzer=$1 seeds=$2 work=$3 seconds=$4
mkdir -p "$work"
[ -d "$seeds" ] && cp -n "$seeds"/* "$work"/ 2>/dev/null || true
cd "$(dirname "$work")"
"$fuzzer" -max_total_time="$seconds" "${fuzz_flags[@]}" "$work"
