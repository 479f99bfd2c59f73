#!/usr/bin/env bash
# Runs a Windows program of the build under Wine: ctest's emulator and the
# program's runner both come through here.
#
#   wine-run.sh PROGRAM.exe [ARGS...]
#
# - The Wine prefix lives in the build folder (one per build, made once):
#   QM_WINEPREFIX overrides it.
# - Without DISPLAY, an Xvfb of its own (1280x1024, 96 dpi) is started on a
#   free display and stopped afterwards.
# - Wine's own output goes through files, because its helper processes
#   inherit the output and would keep a caller's pipe open after the program
#   has ended.
# - The exit code is the program's; a crash always gives a non-zero one
#   (125: the program cannot run here at all).
set -uo pipefail

exe=${1:?usage: wine-run.sh PROGRAM.exe [ARGS...]}
shift
exe=$(readlink -f "$exe")

# A 32-bit program under a 64-bit-only Wine fails inside Wine and exits 0:
# refuse it instead of reporting a false pass.
machine=$(od -An -tx2 -j "$(( $(od -An -tu4 -j60 -N4 "$exe") + 4 ))" -N2 "$exe" | tr -d ' ')
if [ "$machine" = "014c" ] && ! { [ -x /usr/lib/wine/wine ]; }; then
  echo "wine-run: $exe is a 32-bit program and this Wine runs only 64-bit ones" >&2
  exit 125
fi

build=$(dirname "$exe")
while [ "$build" != / ] && [ ! -f "$build/CMakeCache.txt" ]; do build=$(dirname "$build"); done
[ "$build" = / ] && build=$(dirname "$exe")
export WINEPREFIX=${QM_WINEPREFIX:-$build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export LANG=C.UTF-8 LC_ALL=C.UTF-8

wine=/usr/lib/wine/wine64
export WINELOADER=$wine
wineserver=/usr/lib/wine/wineserver

# Make the prefix once; concurrent tests wait for the first to finish it.
# The lock lives in the prefix, so builds that share one (QM_WINEPREFIX)
# wait for each other too. .qm-ready holds the set-up's version: a prefix
# made by an older version of this script is set up again.
setup_version=2
make_prefix() {
  "$wine" wineboot -i >/dev/null 2>&1
  # Debian's fonts-wine lands in a folder this Wine does not scan: link its
  # TrueType fonts (Tahoma) and bitmap fonts (MS Sans Serif), and the
  # Liberation fonts that stand in for Arial, Times New Roman and Courier New.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  for f in /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon /usr/share/fonts/truetype/liberation/*.ttf; do
    [ -e "$f" ] && ln -sf "$f" "$fonts/"
  done
  cat > "$WINEPREFIX/qm-setup.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="Y"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\DllOverrides]
"winemenubuilder.exe"=""
REG
  "$wine" regedit /S "$WINEPREFIX/qm-setup.reg" >/dev/null 2>&1
  "$wineserver" -w
  echo "$setup_version" > "$WINEPREFIX/.qm-ready"
}
mkdir -p "$WINEPREFIX"
(
  flock 9
  [ "$(cat "$WINEPREFIX/.qm-ready" 2>/dev/null)" = "$setup_version" ] || make_prefix
) 9>"$WINEPREFIX/.qm-lock"

# Xvfb picks a free display itself (-displayfd) and reports its number once
# it accepts connections: two runs that start together never share one.
xvfb_pid=
if [ -z "${DISPLAY:-}" ]; then
  displayfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 200); do
    [ -s "$displayfile" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
  done
  n=$(head -n1 "$displayfile")
  rm -f "$displayfile"
  if [ -z "$n" ]; then
    echo "wine-run: Xvfb did not start" >&2
    kill "$xvfb_pid" 2>/dev/null
    exit 125
  fi
  export DISPLAY=":$n"
fi

out=$(mktemp); err=$(mktemp)
"$wine" "$exe" "$@" >"$out" 2>"$err" </dev/null
rc=$?
cat "$out"; cat "$err" >&2
# A crash hands the program to winedbg, which prints a backtrace and ends
# it; the exit code is then sometimes 0. Wine's own report of the crash
# decides instead.
if [ $rc -eq 0 ] && grep -q '^wine: Unhandled' "$err"; then
  echo "wine-run: the program crashed" >&2
  rc=1
fi
rm -f "$out" "$err"
if [ -n "$xvfb_pid" ]; then
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
fi
exit $rc
