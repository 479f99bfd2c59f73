# Sourced by the benchmarks of the program under Wine: builds the benchmark
# named in $bench_target in the win64 build (QM_BUILD_DIR overrides it) and
# puts stripped copies of the program (QM_PROGRAM overrides which), of the
# bare window and of the same-shape floor in a temporary folder $work,
# removed on exit. Sets $build, $work and $bench_args (the three copies'
# Windows paths).
build=${QM_BUILD_DIR:-build/win64}
[ -f "$build/CMakeCache.txt" ] || cmake --preset win64 -B "$build" >/dev/null
cmake --build "$build" --target "$bench_target" >/dev/null
winpath() { echo "Z:$(realpath "$1" | tr / '\\')"; }
# Timed as shipped, without the debug information of this build.
strip=$(sed -n 's/^CMAKE_STRIP:FILEPATH=//p' "$build/CMakeCache.txt")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$strip" -o "$work/quillmere.exe" "${QM_PROGRAM:-$build/app/quillmere.exe}"
"$strip" -o "$work/bare_window.exe" "$build/tests/app/bare_window.exe"
"$strip" -o "$work/shape_floor.exe" "$build/tests/app/shape_floor.exe"
bench_args=("$(winpath "$work/quillmere.exe")" "$(winpath "$work/bare_window.exe")" "$(winpath "$work/shape_floor.exe")")
