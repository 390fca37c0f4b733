# Shared set-up of the Wine environment in which the Windows programs of the build run.
# Source it, then call velmok_wine_ready. Everything it creates lives under $VELMOK_STATE
# (default: build/wine in the source tree):
#   prefix/   the Wine prefix (Japanese locale, one virtual desktop, no crash dialogs,
#             ".cwj" opened by the simulator)
#   display   the number of the Xvfb display started here, when there was no display to use
# Several checkouts or sessions can work side by side by giving each its own VELMOK_STATE.
# WINEPREFIX_OVERRIDE names another prefix to use. A new or empty folder becomes the scripts' own
# prefix. A prefix they did not make is the user's: nothing in it is changed (no registry value, no
# association, no file), and of its programs only those the scripts started are ended. The tests
# and benchmarks need their own settings in the prefix and refuse it; scripts/run.sh uses it as it
# is (velmok_wine_ready as-is).

velmok_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
: "${VELMOK_STATE:=$velmok_root/build/wine}"
: "${VELMOK_BUILD:=$velmok_root/build/windows}"
export VELMOK_STATE VELMOK_BUILD
export WINEPREFIX="${WINEPREFIX_OVERRIDE:-$VELMOK_STATE/prefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Every Wine program these scripts start, and every program started from one, carries this mark
# in its environment: in a prefix that is not ours, the scripts end only the programs marked so.
export VELMOK_WINE_RUN="$$.${EPOCHSECONDS:-0}.$RANDOM$RANDOM"

# Wine alone runs in the Japanese locale, in which it reports code page 932 (scripts/bootstrap.sh
# generates it). The shells keep the caller's locale, so that none of them warns about a locale
# the machine lacks. Where wine is not called by name (timeout, exec), the caller puts
# "${velmok_wine_env[@]}" before it.
velmok_wine_env=(env LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8)
wine() { "${velmok_wine_env[@]}" wine "$@"; }
wineserver() { "${velmok_wine_env[@]}" wineserver "$@"; }
wineboot() { "${velmok_wine_env[@]}" wineboot "$@"; }

velmok_log() { printf '[velmok] %s\n' "$*" >&2; }

velmok_locale_ready() {
  [ "$(env LC_ALL=ja_JP.UTF-8 locale charmap 2>/dev/null)" = UTF-8 ] && return 0
  velmok_log "the ja_JP.UTF-8 locale is missing (scripts/bootstrap.sh generates it): Wine would not use code page 932"
  return 1
}

# The pid of the Xvfb these scripts started for this state folder, when it still runs: the pid
# file alone may be stale and name some other process by now.
velmok_our_xvfb() {
  local pid n
  pid="$(cat "$VELMOK_STATE/xvfb.pid" 2>/dev/null)" || return 1
  n="$(cat "$VELMOK_STATE/display" 2>/dev/null)" || return 1
  [[ "$pid" =~ ^[0-9]+$ && "$n" =~ ^[0-9]+$ ]] || return 1
  local -a argv
  mapfile -d '' -t argv <"/proc/$pid/cmdline" 2>/dev/null || return 1
  [ "${#argv[@]}" -ge 2 ] && [ "${argv[0]##*/}" = Xvfb ] && [ "${argv[1]}" = ":$n" ] || return 1
  printf '%s\n' "$pid"
}

# A display for Wine: the caller's when it answers (and VELMOK_HEADLESS is not 1), otherwise an
# Xvfb of our own, started once and reused.
velmok_display() {
  mkdir -p "$VELMOK_STATE"
  if [ "${VELMOK_HEADLESS:-0}" != 1 ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  if velmok_our_xvfb >/dev/null; then
    local n
    n="$(cat "$VELMOK_STATE/display")"
    if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
      export DISPLAY=":$n"
      return 0
    fi
  fi
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  velmok_log "starting Xvfb on :$n"
  nohup Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -dpi "${VELMOK_DPI:-96}" \
    >"$VELMOK_STATE/xvfb.log" 2>&1 &
  echo $! >"$VELMOK_STATE/xvfb.pid"
  echo "$n" >"$VELMOK_STATE/display"
  local i
  for i in $(seq 1 100); do
    if [ -e "/tmp/.X11-unix/X$n" ] && DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then break; fi
    sleep 0.1
  done
  export DISPLAY=":$n"
}

# The Windows form (Z:\...) of a Linux path.
velmok_winpath() {
  local p
  p="$(readlink -f "$1")"
  printf 'Z:%s' "${p//\//\\}"
}

# Whether WINEPREFIX is the scripts' own: the one in the state folder, one they made
# (.velmok-created), or one they are about to make in a new or empty folder.
velmok_prefix_is_ours() {
  [ -z "${WINEPREFIX_OVERRIDE:-}" ] || [ -f "$WINEPREFIX/.velmok-created" ] || [ ! -e "$WINEPREFIX" ] ||
    { [ -d "$WINEPREFIX" ] && [ -z "$(ls -A "$WINEPREFIX")" ]; }
}

# Creates the prefix once, serially: Wine's first start races when several programs start at once.
# A prefix is deleted only when these scripts began to create it (.velmok-created) and were cut
# short; a prefix in the state folder that an older checkout made is prepared in place.
velmok_prefix() {
  mkdir -p "$VELMOK_STATE"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.velmok-ready" ]; then
      if [ -f "$WINEPREFIX/.velmok-created" ]; then
        rm -rf "$WINEPREFIX"
      fi
      if [ ! -e "$WINEPREFIX" ] || { [ -d "$WINEPREFIX" ] && [ -z "$(ls -A "$WINEPREFIX")" ]; }; then
        velmok_log "creating the Wine prefix in $WINEPREFIX (once, about 15 s)"
        mkdir -p "$WINEPREFIX" && touch "$WINEPREFIX/.velmok-created" || exit 1
      elif [ -z "${WINEPREFIX_OVERRIDE:-}" ] && [ -f "$WINEPREFIX/system.reg" ]; then
        velmok_log "preparing the Wine prefix $WINEPREFIX"
      else
        velmok_log "$WINEPREFIX is not a Wine prefix of these scripts: left alone"
        exit 1
      fi
      wineboot --init >/dev/null 2>&1 || true
      wineserver -w
      # Wine's own fonts (Marlett draws the caption buttons) are not always found where Debian
      # installs them; a copy in the prefix always is.
      cp -n /usr/share/wine/fonts/*.tt[fc] "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
      local reg="$VELMOK_STATE/prefix-settings.reg"
      cat >"$reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="Y"
REG
      wine regedit /S "$(velmok_winpath "$reg")" >/dev/null 2>&1
      wineserver -w
      touch "$WINEPREFIX/.velmok-ready"
    fi
  ) 9>"$VELMOK_STATE/.prefix.lock"
}

# Points the ".cwj" association at the simulator of the build, unless it already does.
velmok_register_simulator() {
  local sim="$VELMOK_BUILD/bin/clw4sim.exe"
  [ -f "$sim" ] || return 0
  local target
  target="$(velmok_winpath "$sim")"
  if [ "$(cat "$WINEPREFIX/.velmok-simulator" 2>/dev/null)" = "$target" ]; then return 0; fi
  local reg="$VELMOK_STATE/association.reg"
  local escaped="${target//\\/\\\\}"
  cat >"$reg" <<REG
Windows Registry Editor Version 5.00

[HKEY_CLASSES_ROOT\\.cwj]
@="ClarisWorks.Document.4"

[HKEY_CLASSES_ROOT\\ClarisWorks.Document.4]
@="ClarisWorks 4.0 Document"

[HKEY_CLASSES_ROOT\\ClarisWorks.Document.4\\shell\\open\\command]
@="\\"$escaped\\" \\"%1\\""
REG
  wine regedit /S "$(velmok_winpath "$reg")" >/dev/null 2>&1
  wineserver -w
  echo "$target" >"$WINEPREFIX/.velmok-simulator"
}

# A Unix program that stands in for the user's mail program and web browser: it appends each of
# its arguments as one line to shell-recorder.txt beside itself. Tests point Wine's WineBrowser
# "Mailers" and "Browsers" at the path in VELMOK_SHELL_RECORDER (winebrowser runs them on the
# Unix side; Wine passes this variable on to the Windows programs).
velmok_shell_recorder() {
  export VELMOK_SHELL_RECORDER="$VELMOK_STATE/shell-recorder.sh"
  [ -x "$VELMOK_SHELL_RECORDER" ] && return 0
  mkdir -p "$VELMOK_STATE"
  cat >"$VELMOK_SHELL_RECORDER" <<'SH'
#!/bin/sh
printf '%s\n' "$@" >>"${0%.sh}.txt"
SH
  chmod +x "$VELMOK_SHELL_RECORDER"
}

# The Wine programs started by these scripts (directly or through one they started), by the
# mark in their environment. Wine's own services, which the first program of a prefix starts for
# all that follow, are left to the wineserver: it ends them when no program needs them any more.
velmok_our_wine_programs() {
  local environ pid exe command
  local services='^c:\\windows\\system32\\(services|winedevice|plugplay|svchost|rpcss|explorer|conhost)\.exe'
  for environ in /proc/[0-9]*/environ; do
    pid="${environ#/proc/}"
    pid="${pid%/environ}"
    exe="$(readlink "/proc/$pid/exe" 2>/dev/null)" || continue
    case "${exe##*/}" in wine*-preloader | wine | wine64) ;; *) continue ;; esac
    tr '\0' '\n' 2>/dev/null <"$environ" | grep -qxF "VELMOK_WINE_RUN=$VELMOK_WINE_RUN" || continue
    tr '\0' '\n' 2>/dev/null <"$environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    command="$(tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline")"
    [[ "${command,,}" =~ $services ]] && continue
    printf '%s\n' "$pid"
  done
}

# Ends the Wine programs of the scripts: in their own prefix every program of the prefix, in a
# user's prefix only those the scripts started.
velmok_wine_end_programs() {
  if velmok_prefix_is_ours; then
    wineserver -k >/dev/null 2>&1 || true
    return 0
  fi
  local -a ours
  mapfile -t ours < <(velmok_our_wine_programs)
  if [ ${#ours[@]} -gt 0 ]; then kill -KILL "${ours[@]}" 2>/dev/null || true; fi
}

# Ends the Wine programs of the scripts and the Xvfb started here, if it still runs.
velmok_wine_stop() {
  velmok_wine_end_programs
  local pid
  if pid="$(velmok_our_xvfb)"; then kill "$pid" 2>/dev/null || true; fi
  rm -f "$VELMOK_STATE/xvfb.pid" "$VELMOK_STATE/display"
}

# Prepares the display, the prefix and the simulator's association. The tests and benchmarks need
# their own settings in the prefix, so a prefix that is not the scripts' own is refused; with
# "as-is" it is used as it stands, and nothing in it is changed.
velmok_wine_ready() {
  velmok_locale_ready || return 1
  if ! velmok_prefix_is_ours; then
    if [ "${1:-}" != as-is ]; then
      velmok_log "$WINEPREFIX (WINEPREFIX_OVERRIDE) was not made by these scripts, and they change nothing in it; the tests, benchmarks and screenshots need their own settings in a prefix (the simulator's .cwj association, one virtual desktop, no crash dialogs). Unset WINEPREFIX_OVERRIDE, or name a new or empty folder."
      return 1
    fi
    velmok_log "using the Wine prefix $WINEPREFIX as it is: nothing in it is changed"
    velmok_display
    velmok_shell_recorder
    return 0
  fi
  velmok_display
  velmok_prefix || return 1
  velmok_register_simulator
  velmok_shell_recorder
}
