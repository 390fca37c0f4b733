#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, with AddressSanitizer and UndefinedBehaviorSanitizer) and
# runs each for the given number of seconds (default 5) on its corpus in fuzz/corpus. New inputs
# go to build/fuzz-work; a failing input is left in build/fuzz-work/<target>/.
#   scripts/fuzz.sh          the brief run of the test command
#   scripts/fuzz.sh 300      five minutes each
# The targets are those the build makes (fuzz/CMakeLists.txt lists them in the build folder). The
# run fails when a target crashes, leaks, takes too long over one input, does not finish in its
# time, cannot start at all, or when the build made a program that was not run.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
seconds="${1:-5}"
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz >/dev/null || { echo "fuzz: build failed" >&2; exit 1; }
# libFuzzer stops fuzzing after max_total_time; this bounds a target that hangs outside it.
grace=60
failed=0
bin="$root/build/fuzz/bin"
mapfile -t targets < <(grep -v '^$' "$root/build/fuzz/fuzz-targets.txt")
declare -A ran=()
for program in "${targets[@]}"; do
  ran[$program]=1
  target="${program#fuzz_}"
  work="$root/build/fuzz-work/$target"
  mkdir -p "$work/corpus"
  log="$work/run.log"
  (cd "$work" && exec timeout --kill-after=10 $((seconds + grace)) "$bin/$program" \
     -max_total_time="$seconds" -timeout=10 -print_final_stats=1 "$work/corpus" "$root/fuzz/corpus/$target") \
    >"$log" 2>&1
  rc=$?
  runs=$(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  reason=
  case $rc in
    0) ;;
    124|137) reason="did not finish within $((seconds + grace)) s" ;;
    126|127) reason="could not start" ;;
    *) reason="exit status $rc" ;;
  esac
  if [ -z "$reason" ] && grep -q -E 'ERROR: (libFuzzer|[A-Za-z]+Sanitizer)|runtime error' "$log"; then
    reason="reported an error"
  fi
  if [ -z "$reason" ] && [ "${runs:-0}" = 0 ]; then reason="ran no input"; fi
  if [ -n "$reason" ]; then
    echo "$program: FAILED, $reason (see $log)"
    grep -m5 -E 'ERROR|runtime error|SUMMARY|No such file|Permission denied|[Uu]nknown flag' "$log"
    failed=1
  else
    echo "$program: $runs inputs in ${seconds} s, no failure"
  fi
done
while IFS= read -r -d '' built; do
  if [ -z "${ran[${built##*/}]+set}" ]; then
    echo "${built##*/}: FAILED, built but not run (no target of fuzz/CMakeLists.txt; remove it or make it one)"
    failed=1
  fi
done < <(find "$bin" -maxdepth 1 -type f -perm -u+x -print0)
if [ ${#targets[@]} -eq 0 ]; then echo "fuzz: FAILED, the build made no target"; failed=1; fi
exit $failed
