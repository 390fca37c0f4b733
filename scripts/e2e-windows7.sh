#!/usr/bin/env bash
# The end-to-end tier as on a Windows 7 SP1 office PC: a Wine prefix of its own (build/wine-windows7,
# so that the usual one stays as it is) set to report Windows 7 (winecfg -v win7) and to scale at
# 120 dpi, and the program handed a system without any function newer than Windows 7: Wine has them
# all, so the test build of the program is told to do without them (VELMOK_TEST_WINDOWS7=1).
#
# The pass runs the cases whose road goes through what differs there: start-up (the DLL search, the
# clock of the log, the placement at the system's scaling), the intake (the Windows 7 listing, which
# the program learns from the call's own refusal), the installer, and one print run of each kind
# that touches the platform (the whole road, the spooler loaded by its full path, the stop in the
# progress window). The print run's own rules do not change with the system; the main tier runs
# them all.
#
#   scripts/e2e-windows7.sh [gtest filter]
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
filter="${1:-StartupE2E.*:IntakeE2E.*:InstallerE2E.*:PrintE2E.ThreeDocuments*:PrintE2E.ASpoolerPlaced*:PrintE2E.EmergencyStop*}"

# Always a prefix of its own: it is set to another Windows version.
unset WINEPREFIX_OVERRIDE
export VELMOK_STATE="$root/build/wine-windows7"
export VELMOK_HEADLESS="${VELMOK_HEADLESS:-1}"
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
trap velmok_wine_stop EXIT
velmok_wine_ready || exit 1

if [ ! -f "$WINEPREFIX/.velmok-windows7" ]; then
  velmok_log "setting the prefix in $WINEPREFIX to Windows 7 at 120 dpi"
  wine winecfg -v win7 >/dev/null 2>&1
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 120 /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.velmok-windows7"
fi
# Once in a full run the question went unanswered (reg printed nothing): it is asked up to three
# times, and what reg said is shown when the answer is not Windows 7.
reported=""
for attempt in 1 2 3; do
  answer="$(wine reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' /v CurrentVersion 2>&1 | tr -d '\r')"
  reported="$(awk '$1 == "CurrentVersion" {print $NF}' <<<"$answer")"
  [ -n "$reported" ] && break
  wineserver -w
  sleep "$attempt"
done
if [ "$reported" != 6.1 ]; then
  echo "[velmok] the prefix reports Windows version '$reported', not 6.1 (Windows 7); reg said:" >&2
  # Wine writes to a pipe in the prefix's code page (932).
  printf '%s\n' "$answer" | head -n 8 | iconv -f CP932 -t UTF-8 -c >&2
  exit 1
fi
echo "[velmok] prefix reports Windows $reported; the program does without the newer functions" >&2

export VELMOK_TEST_WINDOWS7=1
wineserver -p 60 >/dev/null 2>&1 || true
timeout 900 "${velmok_wine_env[@]}" wine "$VELMOK_BUILD/bin/e2e_tests.exe" --gtest_filter="$filter"
