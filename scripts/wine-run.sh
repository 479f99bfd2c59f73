#!/usr/bin/env bash
# Runs a Windows program of the build under Wine: ctest's emulator and the
# program's runner both come through here.
#
#   wine-run.sh PROGRAM.exe [ARGS...]
#
# - The Wine prefix lives in the build folder (one per build, made once):
#   QM_WINEPREFIX overrides it.
# - Without DISPLAY, an Xvfb of its own is started on a free display and
#   stopped afterwards.
# - Wine's own output goes through files, because its helper processes
#   inherit the output and would keep a caller's pipe open after the program
#   has ended.
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
make_prefix() {
  "$wine" wineboot -i >/dev/null 2>&1
  # Debian's fonts-wine lands in a folder this Wine does not scan.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  for f in /usr/share/wine/fonts/*.ttf /usr/share/fonts/truetype/liberation/*.ttf; do
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
  touch "$WINEPREFIX/.qm-ready"
}
mkdir -p "$WINEPREFIX"
(
  flock 9
  [ -f "$WINEPREFIX/.qm-ready" ] || make_prefix
) 9>"$build/.wineprefix.lock"

xvfb_pid=
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 190); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
    if kill -0 "$xvfb_pid" 2>/dev/null; then export DISPLAY=":$n"; break; fi
    xvfb_pid=
  done
fi

out=$(mktemp); err=$(mktemp)
"$wine" "$exe" "$@" >"$out" 2>"$err" </dev/null
rc=$?
cat "$out"; cat "$err" >&2
rm -f "$out" "$err"
[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
exit $rc
