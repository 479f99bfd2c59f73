#!/usr/bin/env bash
# Start-up benchmark of the program under Wine: time to the first painted
# main window against a bare Win32 window, in the same run.
#   scripts/bench-startup.sh [rounds]   (default 10)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QM_BUILD_DIR:-build/win64}
[ -f "$build/CMakeCache.txt" ] || cmake --preset win64 -B "$build" >/dev/null
cmake --build "$build" --target bench_startup >/dev/null
winpath() { echo "Z:$(realpath "$1" | tr / '\\')"; }
# Timed as shipped, without the debug information of this build.
strip=$(sed -n 's/^CMAKE_STRIP:FILEPATH=//p' "$build/CMakeCache.txt")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$strip" -o "$work/quillmere.exe" "$build/app/quillmere.exe"
"$strip" -o "$work/bare_window.exe" "$build/tests/app/bare_window.exe"
scripts/wine-run.sh "$build/tests/app/bench_startup.exe" \
  "$(winpath "$work/quillmere.exe")" "$(winpath "$work/bare_window.exe")" "${1:-10}"
