#!/usr/bin/env bash
# Sets up everything and runs ベルモック (VELMOK.exe) under Wine with a folder of sample documents
# on its command line. The simulator clw4sim.exe stands in for ClarisWorks: the ".cwj"
# association of the Wine environment points at it.
#
# With a display (DISPLAY set and answering) the program opens on it; close its window to end.
# Without one, an Xvfb of our own is started and the whole road is shown headless: the program
# opens with the samples, a screenshot is taken, every document is printed through the
# simulator, and the outcome (status line, progress report, the simulator's journal of printed
# documents) is printed together with the places of the screenshots.
#
# WINEPREFIX_OVERRIDE may name a Wine prefix of the user's, for example one with ClarisWorks
# installed: it is used as it is (its own ".cwj" association opens the documents) and nothing in it
# is changed; at the end only the programs this script started are ended.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

"$root/scripts/bootstrap.sh"
"$root/scripts/build.sh" windows

headless=0
if [ "${VELMOK_HEADLESS:-0}" = 1 ] || [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  headless=1
  export VELMOK_HEADLESS=1
fi
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
if [ "$headless" = 1 ]; then trap velmok_wine_stop EXIT; fi
velmok_wine_ready as-is
if ! velmok_prefix_is_ours && ! wine reg query 'HKCR\.cwj' /ve >/dev/null 2>&1; then
  velmok_log "nothing opens .cwj documents in $WINEPREFIX, and the simulator is made their program only in a prefix of these scripts' own: install ClarisWorks there, or unset WINEPREFIX_OVERRIDE"
  exit 1
fi

demo="$root/build/demo"
samples="$demo/サンプル文書"
rm -rf "$demo"
mkdir -p "$samples/2025年度" "$samples/古い書類/1998"
write_doc() { printf 'ClarisWorks 4.0 document (sample): %s\n' "$2" >"$1"; chmod 644 "$1"; }
write_doc "$samples/見積書.cwj" "estimate"
write_doc "$samples/請求書 12月分.cwj" "invoice"
write_doc "$samples/会議議事録(第3回).cwj" "minutes"
write_doc "$samples/2025年度/予算案+補正.cwj" "budget"
write_doc "$samples/2025年度/名簿.CWJ" "roster"
write_doc "$samples/古い書類/1998/案内状.cwj" "letter"
printf 'not a document\n' >"$samples/メモ.txt"

export CLW4SIM_JOURNAL
CLW4SIM_JOURNAL="$(velmok_winpath "$demo")\\journal.txt"
velmokctl=(wine "$VELMOK_BUILD/bin/velmokctl.exe")

if [ "$headless" = 0 ]; then
  velmok_log "starting VELMOK.exe on $DISPLAY with $samples"
  wine "$VELMOK_BUILD/bin/VELMOK.exe" "$(velmok_winpath "$samples")"
  exit 0
fi

velmok_log "starting VELMOK.exe headless on $DISPLAY with $samples"
wine "$VELMOK_BUILD/bin/VELMOK.exe" "$(velmok_winpath "$samples")" >/dev/null 2>&1 &
echo "== ベルモック =="
printf 'status: '
"${velmokctl[@]}" wait-main 60 2>/dev/null
sleep 1
import -window root -crop 1024x768+0+0 "$demo/main-window.png"

"${velmokctl[@]}" print-all 600 >"$demo/outcome.txt" 2>/dev/null &
ctl=$!
for _ in $(seq 1 100); do
  if grep -q . "$demo/journal.txt" 2>/dev/null; then break; fi
  sleep 0.2
done
import -window root -crop 1024x768+0+0 "$demo/progress-window.png"
rc=0
wait "$ctl" || rc=$?
cat "$demo/outcome.txt"
echo "--- clw4sim journal (printed documents, in order) ---"
cat "$demo/journal.txt" 2>/dev/null || echo "(none)"
sleep 1
import -window root -crop 1024x768+0+0 "$demo/after-printing.png"
"${velmokctl[@]}" close 20 >/dev/null 2>&1 || true
echo
echo "screenshots:"
echo "  $demo/main-window.png"
echo "  $demo/progress-window.png"
echo "  $demo/after-printing.png"
exit "$rc"
