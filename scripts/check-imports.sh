#!/usr/bin/env bash
# Checks that every program of a Windows build imports only DLLs that come
# with Windows, so that the .exe runs on a bare system without MinGW's
# runtime DLLs (libstdc++, libgcc, winpthread) or zlib1.dll beside it.
#
#   check-imports.sh OBJDUMP BUILD_DIR
#
# Folders that hold no program of ours are skipped: CMake's own probes
# (CMakeFiles) and Wine prefixes (which hold Wine's stand-ins for Windows).
set -uo pipefail
objdump=${1:?usage: check-imports.sh OBJDUMP BUILD_DIR}
build=${2:?usage: check-imports.sh OBJDUMP BUILD_DIR}

allowed=(kernel32 user32 gdi32 advapi32 shell32 ole32 oleaut32 comctl32 comdlg32 gdiplus uxtheme
  version msimg32 msvcrt ws2_32 shlwapi winmm imm32 rpcrt4)
allowed=" ${allowed[*]} "

mapfile -d '' exes < <(find "$build" \( -name CMakeFiles -o -name 'wineprefix*' -o -name drive_c \) -prune \
  -o -type f -iname '*.exe' -print0 | sort -z)
if [ ${#exes[@]} -eq 0 ]; then
  echo "check-imports: no .exe found under $build" >&2
  exit 1
fi

bad=0
for exe in "${exes[@]}"; do
  if ! dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p'); then
    echo "check-imports: cannot read $exe" >&2
    bad=1
    continue
  fi
  for dll in $dlls; do
    name=$(printf '%s' "$dll" | tr 'A-Z' 'a-z')
    name=${name%.dll}
    case "$allowed" in
      *" $name "*) ;;
      *) echo "check-imports: ${exe#"$build"/} imports $dll"; bad=1 ;;
    esac
  done
done

echo "check-imports: ${#exes[@]} programs checked"
exit $bad
