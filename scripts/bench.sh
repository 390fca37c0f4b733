#!/usr/bin/env bash
# Runs every benchmark: the print list model natively (optimised), and under Wine the intake of a
# 100,000-document tree and the paste of a 100,000-document folder's file list, the main window with 100,000 entries, the print run with the simulator
# and a soak of 50 documents at the real pauses (about ten minutes). Each figure is printed with its baseline from the same run; the table also goes to
# build/bench/results.txt.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
"$root/scripts/bootstrap.sh"
cmake --preset native-release >/dev/null
cmake --build --preset native-release --target print_list_bench
"$root/scripts/build.sh" windows

out="$root/build/bench"
mkdir -p "$out"
results="$out/results.txt"
: >"$results"

"$root/build/native-release/bin/print_list_bench" | tee -a "$results"

export VELMOK_HEADLESS=1
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
trap velmok_wine_stop EXIT
velmok_wine_ready

tree="$out/tree"
if [ ! -f "$out/tree.complete" ]; then
  echo "[velmok] making a tree of 100,000 documents in 1,000 folders" >&2
  rm -rf "$tree"
  for d in $(seq -w 0 999); do
    mkdir -p "$tree/部署$((10#$d % 10))/フォルダ$d"
    (cd "$tree/部署$((10#$d % 10))/フォルダ$d" && touch 文書{000..099}.cwj)
  done
  touch "$out/tree.complete"
fi
flat="$out/flat"
if [ ! -f "$out/flat.complete" ]; then
  echo "[velmok] making a folder of 100,000 documents" >&2
  rm -rf "$flat"
  mkdir -p "$flat"
  (cd "$flat" && for d in $(seq -w 0 99); do touch 文書"$d"{000..999}.cwj; done)
  touch "$out/flat.complete"
fi
echo >>"$results"
wine "$VELMOK_BUILD/bin/intake_bench.exe" "$(velmok_winpath "$tree")" "$(velmok_winpath "$flat")" 2>/dev/null | tee -a "$results" || true
echo >>"$results"
wine "$VELMOK_BUILD/bin/list_view_bench.exe" 2>/dev/null | tee -a "$results" || true
velmok_wine_end_programs
echo >>"$results"
wine "$VELMOK_BUILD/bin/list_view_bench.exe" windows7 2>/dev/null | tee -a "$results" || true
velmok_wine_end_programs
echo >>"$results"
wine "$VELMOK_BUILD/bin/print_run_bench.exe" 2>/dev/null | tee -a "$results" || true
velmok_wine_end_programs
echo >>"$results"
wine "$VELMOK_BUILD/bin/soak_bench.exe" 2>/dev/null | tee -a "$results" || true
echo
echo "results: $results"
