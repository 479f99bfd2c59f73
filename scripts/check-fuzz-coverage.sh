#!/usr/bin/env bash
# Checks that a fuzzer and every library it tests carry libFuzzer's coverage
# hooks (an instrumented object refers to __sanitizer_cov_* and holds the
# __sancov counters); without them the fuzzer gets no feedback from the code
# it calls.
#
#   check-fuzz-coverage.sh NM FUZZER [LIBRARY...]
set -uo pipefail
nm=${1:?usage: check-fuzz-coverage.sh NM FUZZER [LIBRARY...]}
shift
bad=0
for file in "$@"; do
  if ! syms=$("$nm" -A "$file" 2>/dev/null); then
    echo "check-fuzz-coverage: cannot read $file" >&2
    bad=1
    continue
  fi
  if ! grep -q '__sanitizer_cov_\|__start___sancov_cntrs' <<<"$syms"; then
    echo "check-fuzz-coverage: $file has no coverage hooks (build it with -fsanitize=fuzzer-no-link)"
    bad=1
    continue
  fi
  # In a library, every object that has code must be instrumented.
  case "$file" in
    *.a)
      objects=$(sed -n 's/^[^:]*:\([^:]*\.o\):.* [TtW] .*/\1/p' <<<"$syms" | sort -u)
      covered=$(sed -n 's/^[^:]*:\([^:]*\.o\):.*__sanitizer_cov_.*/\1/p' <<<"$syms" | sort -u)
      missing=$(comm -23 <(printf '%s\n' "$objects") <(printf '%s\n' "$covered") | sed '/^$/d')
      if [ -n "$missing" ]; then
        echo "check-fuzz-coverage: objects of $file without coverage hooks:" $missing
        bad=1
      fi
      ;;
  esac
done
[ $bad -eq 0 ] && echo "check-fuzz-coverage: $# files carry coverage hooks"
exit $bad
