#!/usr/bin/env bash
# Sets up everything and runs every test tier:
#   includes  the include graph of src/: no subsystem reaches up into the window that hosts it
#             (and the check's own cases first)
#   imports  the import tables of both Windows builds: nothing that Windows 7 SP1 lacks
#   callbacks  no function that Windows calls may let an exception out
#   unit   native, with AddressSanitizer and UndefinedBehaviorSanitizer, virtual time
#   fuzz   native, every parser of outside input under libFuzzer for a few seconds each
#   win32  under Wine: real controls, registry, clipboard, keystrokes, shell association
#   e2e    under Wine: the real VELMOK.exe, the simulator and the installer as black boxes
#   e2e-win7  the end-to-end cases that meet the platform, once more in a Windows 7 prefix at
#          120 dpi with the program doing without every newer function
#   prefix the scripts given a user's own Wine prefix: it is used as it is, nothing in it changed
# Prints each runner's summary and exits non-zero when anything failed.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

"$root/scripts/bootstrap.sh" || exit 1
"$root/scripts/build.sh" all || { echo "[velmok] build failed" >&2; exit 1; }

export VELMOK_HEADLESS="${VELMOK_HEADLESS:-1}"
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
trap velmok_wine_stop EXIT

declare -A result
summary() { grep -E '^\[  (PASSED|FAILED|SKIPPED) +\]|^\[==========\] [0-9]+ tests? from|^fuzz_|^includes: |^include check: |^foreign prefix: |may not include|^FAILED: |^imports: |^  [A-Z0-9]+\.DLL |^callbacks: ' "$1" | tail -n 20; }

run_tier() {
  local name="$1"; shift
  local log="$root/build/test-$name.log"
  echo "== $name ==" >&2
  local start=$SECONDS
  "$@" >"$log" 2>&1
  local rc=$?
  summary "$log"
  if [ $rc -ne 0 ]; then
    grep -E '^\[  FAILED  \]|Failure|error:' "$log" | head -n 40
    echo "   (whole output: $log)"
  fi
  echo "   $name: exit $rc, $((SECONDS - start)) s"
  result[$name]=$rc
}

includes() { "$root/tests/scripts/check_includes_test.sh" && "$root/scripts/check-includes.sh"; }
run_tier includes includes
run_tier imports "$root/scripts/check-imports.sh"
run_tier callbacks "$root/scripts/check-callbacks.sh"
run_tier unit "$root/build/native/bin/unit_tests"
run_tier fuzz "$root/scripts/fuzz.sh" 5

velmok_wine_ready || { echo "[velmok] the Wine environment could not be prepared" >&2; exit 1; }
wineserver -p 60 >/dev/null 2>&1 || true
run_tier win32 timeout 900 "${velmok_wine_env[@]}" wine "$VELMOK_BUILD/bin/win32_tests.exe"
velmok_wine_end_programs; wineserver -w >/dev/null 2>&1
run_tier e2e timeout 1500 "${velmok_wine_env[@]}" wine "$VELMOK_BUILD/bin/e2e_tests.exe"
velmok_wine_end_programs; wineserver -w >/dev/null 2>&1
run_tier e2e-win7 "$root/scripts/e2e-windows7.sh"
run_tier prefix "$root/tests/scripts/foreign_prefix_test.sh"

echo
failed=0
for t in includes imports callbacks unit fuzz win32 e2e e2e-win7 prefix; do
  if [ "${result[$t]}" = 0 ]; then echo "$t: passed"; else echo "$t: FAILED (exit ${result[$t]})"; failed=1; fi
done
exit $failed
