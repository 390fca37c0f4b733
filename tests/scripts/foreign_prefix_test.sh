#!/usr/bin/env bash
# A user's own Wine prefix given through WINEPREFIX_OVERRIDE is used as it is. With a program of
# the user's running in it and the user's own settings: scripts/run.sh, finding no program for
# ".cwj" there, says so and stops; the set-up it uses, a program started through it and its stop
# end that program alone. Afterwards the user's program still runs, the registry holds the user's
# values, and no file of the scripts is in the prefix.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
scratch="$(mktemp -d)"
prefix="$scratch/user-prefix"
user=(env -u VELMOK_WINE_RUN WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
      FOREIGN_PREFIX_USER=1)
cleanup() {
  exec 9>&-
  "${user[@]}" wineserver -k >/dev/null 2>&1
  rm -rf "$scratch"
}
trap cleanup EXIT
failed=0
fail() { echo "FAILED: $*"; failed=1; }

# The user's prefix and settings, and a program of the user's that waits for a key.
"${user[@]}" wineboot --init >/dev/null 2>&1 && "${user[@]}" wineserver -w
cat >"$scratch/user.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000001

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"
REG
"${user[@]}" wine regedit /S "Z:${scratch//\//\\}\\user.reg" >/dev/null 2>&1
mkfifo "$scratch/keys"
"${user[@]}" wine cmd /c pause <"$scratch/keys" >/dev/null 2>&1 &
exec 9>"$scratch/keys"

programs_of() {  # the Wine programs whose environment holds $1
  local e
  for e in /proc/[0-9]*/environ; do
    tr '\0' '\n' 2>/dev/null <"$e" | grep -qxF "$1" && [[ "$(readlink "${e%/environ}/exe")" == */wine64 ]] &&
      echo "${e//[^0-9]/}"
  done | sort
}
settings() {
  "${user[@]}" wine cmd /c 'reg query "HKCU\Software\Wine\WineDbg" & reg query "HKCU\Software\Wine\X11 Driver" &
    reg query "HKCU\Software\Wine\Explorer" /s & reg query "HKCR\.cwj" /s & reg query "HKCR\ClarisWorks.Document.4" /s' 2>&1 |
    tr -d '\r'
}
files() { ls -A "$prefix"; ls -A "$prefix/drive_c/windows/Fonts"; }
for _ in $(seq 1 50); do [ -n "$(programs_of FOREIGN_PREFIX_USER=1)" ] && break; sleep 0.2; done
programs_before="$(programs_of FOREIGN_PREFIX_USER=1)"
settings_before="$(settings)"
files_before="$(files)"
[ -n "$programs_before" ] || fail "the user's program did not start"

# Bounded: scripts that wait for the wineserver to end would wait as long as the user's program runs.
export WINEPREFIX_OVERRIDE="$prefix" VELMOK_HEADLESS=1 VELMOK_STATE="$scratch/state"
timeout 300 "$root/scripts/run.sh" >"$scratch/run.log" 2>&1 && fail "run.sh went on in a prefix where nothing opens .cwj"
grep -q 'nothing opens .cwj' "$scratch/run.log" || fail "run.sh did not say why: $(tail -n 2 "$scratch/run.log")"
export -f programs_of
timeout 120 bash -c '
  source "$1/scripts/wine-env.sh"
  velmok_wine_ready as-is >/dev/null 2>&1 || exit 1
  wine "$VELMOK_BUILD/bin/clw4sim.exe" >/dev/null 2>&1 &
  for _ in $(seq 1 100); do [ -n "$(programs_of "VELMOK_WINE_RUN=$VELMOK_WINE_RUN")" ] && break; sleep 0.1; done
  started="$(programs_of "VELMOK_WINE_RUN=$VELMOK_WINE_RUN")"
  velmok_wine_stop
  sleep 1
  [ -n "$started" ] && [ -z "$(comm -12 <(echo "$started") <(programs_of "VELMOK_WINE_RUN=$VELMOK_WINE_RUN"))" ]
' _ "$root" || fail "the program started through the scripts was not ended at their stop"

ended="$(comm -23 <(echo "$programs_before") <(programs_of FOREIGN_PREFIX_USER=1))"
[ -z "$ended" ] || fail "programs of the user's were ended: $(echo $ended)"
[ "$(settings)" = "$settings_before" ] || { fail "the user's settings changed:"; diff <(echo "$settings_before") <(settings); }
[ "$(files)" = "$files_before" ] || { fail "files in the prefix changed:"; diff <(echo "$files_before") <(files); }
[ $failed -eq 0 ] && echo "foreign prefix: used as it is, the user's program and settings untouched"
exit $failed
