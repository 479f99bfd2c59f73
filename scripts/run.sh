#!/usr/bin/env bash
# Sets up the machine, builds the program and starts it under Wine. Without
# a DISPLAY it runs in a virtual screen (Xvfb) of its own.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target quillmere -j "$(nproc)"
exec scripts/wine-run.sh build/win64/app/quillmere.exe "$@"
