#!/usr/bin/env bash
# Repaint benchmark of the program under Wine: a full repaint of its window
# (RedrawWindow with invalidate, erase, all children, update now, from
# another process), collapsed and expanded, against a bare Win32 window and
# against the same-shape floor (the program's window tree, each window a
# plain fill), interleaved in the same run.
#   scripts/bench-repaint.sh [rounds]   (default 20) medians, ranges, ratios
#   scripts/bench-repaint.sh --tree     the program's window tree as the
#                                       floor's table (shape_floor_tree.inc)
#   scripts/bench-repaint.sh --server   what the program's start-up and one
#                                       repaint of each ask of the Wine server
# QM_PROGRAM=other/quillmere.exe measures that build of the program instead
# (an older one, say).
set -euo pipefail
cd "$(dirname "$0")/.."
bench_target=bench_repaint
. scripts/bench-common.sh
args=("${bench_args[@]}")

if [ "${1:-}" = --tree ]; then
  scripts/wine-run.sh "$build/tests/app/bench_repaint.exe" "${args[@]}" --tree | tr -d "\r"
  exit
fi
if [ "${1:-}" != --server ]; then
  scripts/wine-run.sh "$build/tests/app/bench_repaint.exe" "${args[@]}" "${1:-20}"
  exit
fi

# The server traces requests when the process that starts it asks for it:
# a copy of the build's prefix gets a server of its own.
[ -f "$build/wineprefix/.qm-ready" ] || scripts/wine-run.sh "$build/tests/app/bare_window.exe" --version >/dev/null 2>&1 || true
cp -a "$build/wineprefix" "$work/prefix"
rm -f "$work/prefix/.qm-lock"
QM_WINEPREFIX="$work/prefix" WINEDEBUG=+server scripts/wine-run.sh "$build/tests/app/bench_repaint.exe" \
  "${args[@]}" --marks >"$work/out" 2>"$work/trace"
WINEPREFIX="$work/prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
[ -z "${QM_TRACE_COPY:-}" ] || cp "$work/trace" "$QM_TRACE_COPY"
tr -d "\r" <"$work/out" >"$work/out.txt"
cat "$work/out.txt"
program=$(sed -n 's/^quillmere threads //p' "$work/out.txt")
bare=$(sed -n 's/^bare window threads //p' "$work/out.txt")
floor=$(sed -n 's/^floor threads //p' "$work/out.txt")
# Requests are "tid: name( args )"; replies "tid: name() = status ...".
# requests WHAT THREADS: the names of the requests the threads made between
# the marks of what, one a line.
requests() {
  awk -v what="$1" -v threads="$2" '
    BEGIN { n = split(threads, t, ","); for (i = 1; i <= n; ++i) mine[t[i]] = 1 }
    index($0, "L\"qm-mark-" what "-begin\"") { on = 1; next }
    index($0, "L\"qm-mark-" what "-end\"") { on = 0; next }
    on && /^[0-9a-f]+: [a-z_0-9]+\( / {
      id = substr($0, 1, index($0, ":") - 1)
      if (!(id in mine)) next
      name = substr($0, length(id) + 3)
      print substr(name, 1, index(name, "(") - 1)
    }' "$work/trace"
}
report() {  # title what threads times: the requests, each count divided by times
  echo "  $1: $(( $(requests "$2" "$3" | wc -l) / $4 )) requests"
  requests "$2" "$3" | sort | uniq -c | sort -rn | head -n 12 | awk -v n="$4" '{ printf "    %6d %s\n", $1 / n, $2 }'
}
times=$(sed -n 's/^repaints between marks //p' "$work/out.txt")
echo "server requests of the program's threads:"
report "start-up to the first painted window" startup "$program" 1
report "one full repaint, collapsed (mean of $times)" collapsed "$program" "$times"
report "one full repaint, expanded (mean of $times)" expanded "$program" "$times"
echo "server requests of the bare window's threads:"
report "one full repaint (mean of $times)" bare "$bare" "$times"
echo "server requests of the same-shape floor's threads:"
report "one full repaint, collapsed (mean of $times)" floor "$floor" "$times"
