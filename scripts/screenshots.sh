#!/usr/bin/env bash
# Takes the README's screenshots under Xvfb, so they stay current: the main window with documents
# in the detail view, the progress window during a run, and the about box. They are written to
# docs/screenshots/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
"$root/scripts/bootstrap.sh"
"$root/scripts/build.sh" windows >/dev/null

export VELMOK_HEADLESS=1
export VELMOK_STATE="$root/build/wine-screenshots"
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
trap velmok_wine_stop EXIT
velmok_wine_ready

out="$root/docs/screenshots"
mkdir -p "$out"
docs="$VELMOK_STATE/書類"
rm -rf "$docs"
mkdir -p "$docs/2025年度" "$docs/総務部"
for f in "見積書 (株式会社サンプル).cwj" "請求書 12月分.cwj" "会議議事録 第3回.cwj" "2025年度/予算案.cwj" \
         "2025年度/事業計画+補正.cwj" "総務部/名簿.cwj" "総務部/社内報 1月号.cwj"; do
  printf 'ClarisWorks 4.0 sample document\n' >"$docs/$f"
done
touch -d '2024-03-07 21:05' "$docs/見積書 (株式会社サンプル).cwj"
touch -d '2025-12-01 09:30' "$docs/請求書 12月分.cwj"

ctl=(wine "$VELMOK_BUILD/bin/velmokctl.exe")
shot() { sleep 1; import -window root -crop "$2" "$out/$1.png"; echo "  $out/$1.png"; }
echo "screenshots:"
CLW4SIM_PRINT_MS=2500 wine "$VELMOK_BUILD/bin/VELMOK.exe" "$(velmok_winpath "$docs")" >/dev/null 2>&1 &
"${ctl[@]}" wait-main 60 >/dev/null 2>&1
shot main-window 560x360+0+0

"${ctl[@]}" post 1501 >/dev/null 2>&1   # バージョン情報
"${ctl[@]}" wait-window VELMOK.frmAbout 20 >/dev/null 2>&1
shot about-box 1024x768+0+0
"${ctl[@]}" close-window VELMOK.frmAbout >/dev/null 2>&1
sleep 1

"${ctl[@]}" post 1301 >/dev/null 2>&1   # すべて印刷
"${ctl[@]}" wait-window VELMOK.frmProgress 20 >/dev/null 2>&1
sleep 6
shot progress-window 1024x768+0+0
