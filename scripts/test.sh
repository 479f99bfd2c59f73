#!/usr/bin/env bash
# Sets up the machine, builds every configuration and runs every test:
#   host  - the portable code with AddressSanitizer and UBSan, and the fuzzers
#   win64 - everything, tests under Wine in an Xvfb display
#   win32 - the shipped 32-bit program: built and checked for its imports
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/check-format.sh

jobs=$(nproc)
export CTEST_OUTPUT_ON_FAILURE=1

cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs"
ctest --preset host

cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs"
# One display for the whole run, so each test need not start its own.
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 190); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    trap 'kill $xvfb 2>/dev/null' EXIT
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
    export DISPLAY=":$n"
    break
  done
fi
ctest --preset win64

cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
# The shipped program is the tested one: the same imports and manifest.
scripts/compare-imports.sh i686-w64-mingw32-objdump build/win32/app/quillmere.exe \
  x86_64-w64-mingw32-objdump build/win64/app/quillmere.exe app/resources/quillmere.manifest
