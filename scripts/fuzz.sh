#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, with AddressSanitizer and UndefinedBehaviorSanitizer) and
# runs each for the given number of seconds (default 5) on its corpus in fuzz/corpus. New inputs
# go to build/fuzz-work; a crash leaves its input in build/fuzz-work/<target>/ and fails the run.
#   scripts/fuzz.sh          the brief run of the test command
#   scripts/fuzz.sh 300      five minutes each
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
seconds="${1:-5}"
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz >/dev/null || { echo "fuzz: build failed" >&2; exit 1; }
failed=0
for target in command_line key_notation settings_number drop_files log_line; do
  work="$root/build/fuzz-work/$target"
  mkdir -p "$work/corpus"
  log="$work/run.log"
  (cd "$work" && "$root/build/fuzz/bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
     "$work/corpus" "$root/fuzz/corpus/$target" >"$log" 2>&1) 2>/dev/null
  runs=$(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  if grep -q -E 'ERROR: (libFuzzer|AddressSanitizer|UndefinedBehaviorSanitizer)|runtime error' "$log"; then
    echo "fuzz_$target: FAILED (see $log)"
    grep -m5 -E 'ERROR|runtime error|SUMMARY' "$log"
    failed=1
  else
    echo "fuzz_$target: ${runs:-?} inputs in ${seconds} s, no failure"
  fi
done
exit $failed
