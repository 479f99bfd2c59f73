#!/usr/bin/env bash
# Checks that the 32-bit and the 64-bit program are the same program: they
# import the same functions from the same DLLs and carry the same manifest
# (the one in app/resources). The portable code is tested on the 64-bit
# build; the 32-bit one cannot run here.
#
#   compare-imports.sh OBJDUMP32 EXE32 OBJDUMP64 EXE64 MANIFEST
#
# What differs by processor alone is left out of the comparison: the C
# runtime (msvcrt.dll names its start-up and its 64-bit file and time
# functions apart), the 64-bit unwinding (kernel32's Rtl* functions and
# __C_specific_handler), and the window-long functions, which the 32-bit
# headers map to GetWindowLongA and SetWindowLongA.
set -uo pipefail
objdump32=${1:?usage: compare-imports.sh OBJDUMP32 EXE32 OBJDUMP64 EXE64 MANIFEST}
exe32=${2:?} objdump64=${3:?} exe64=${4:?} manifest=${5:?}

arch_only='^(msvcrt\.dll:.*|kernel32\.dll:(RtlCaptureContext|RtlLookupFunctionEntry|RtlUnwindEx|RtlVirtualUnwind|__C_specific_handler))$'

imports() {
  "$1" -p "$2" | awk '
    /^[[:space:]]*DLL Name:/ { dll = tolower($3); next }
    /^[[:space:]]*vma:/ { next }
    dll != "" && NF == 0 { dll = ""; next }
    dll != "" && NF >= 3 && $1 ~ /^[0-9a-f]+$/ { print dll ":" $3 }
  ' | grep -Ev "$arch_only" | sed 's/^user32\.dll:\(Get\|Set\)WindowLongPtrA$/user32.dll:\1WindowLongA/' | sort -u
}

bad=0
a=$(imports "$objdump32" "$exe32") || bad=1
b=$(imports "$objdump64" "$exe64") || bad=1
if [ -z "$a" ] || [ -z "$b" ]; then
  echo "compare-imports: cannot read the imports" >&2
  exit 1
fi
only32=$(comm -23 <(printf '%s\n' "$a") <(printf '%s\n' "$b"))
only64=$(comm -13 <(printf '%s\n' "$a") <(printf '%s\n' "$b"))
if [ -n "$only32" ]; then
  echo "compare-imports: only the 32-bit program imports:"; printf '  %s\n' $only32
  bad=1
fi
if [ -n "$only64" ]; then
  echo "compare-imports: only the 64-bit program imports:"; printf '  %s\n' $only64
  bad=1
fi
for exe in "$exe32" "$exe64"; do
  if ! python3 - "$exe" "$manifest" <<'PY'; then
import sys
exe, manifest = open(sys.argv[1], 'rb').read(), open(sys.argv[2], 'rb').read()
sys.exit(0 if manifest.strip() and manifest.strip() in exe else 1)
PY
    echo "compare-imports: $exe does not carry $manifest"
    bad=1
  fi
done
[ $bad -eq 0 ] && echo "compare-imports: $(printf '%s\n' "$a" | wc -l) imports alike, one manifest"
exit $bad
