#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, with AddressSanitizer and UndefinedBehaviorSanitizer) and
# runs each for the given number of seconds (default 5) on its corpus in fuzz/corpus. New inputs
# go to build/fuzz-work; a failing input is left in build/fuzz-work/<target>/.
#   scripts/fuzz.sh          the brief run of the test command
#   scripts/fuzz.sh 300      five minutes each
# The run fails when a target crashes, leaks, takes too long over one input, does not finish in
# its time, or cannot start at all.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
seconds="${1:-5}"
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz >/dev/null || { echo "fuzz: build failed" >&2; exit 1; }
# libFuzzer stops fuzzing after max_total_time; this bounds a target that hangs outside it.
grace=60
failed=0
for target in command_line key_notation settings_number drop_files log_line; do
  work="$root/build/fuzz-work/$target"
  mkdir -p "$work/corpus"
  log="$work/run.log"
  (cd "$work" && exec timeout --kill-after=10 $((seconds + grace)) "$root/build/fuzz/bin/fuzz_$target" \
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
    echo "fuzz_$target: FAILED, $reason (see $log)"
    grep -m5 -E 'ERROR|runtime error|SUMMARY|No such file|Permission denied|[Uu]nknown flag' "$log"
    failed=1
  else
    echo "fuzz_$target: $runs inputs in ${seconds} s, no failure"
  fi
done
exit $failed
