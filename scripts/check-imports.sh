#!/usr/bin/env bash
# Reads the import table of every program of both Windows builds (x64 and x86) and fails on any
# function or DLL that Windows 7 SP1 without updates lacks. Each import must be listed in
# scripts/windows7-imports.txt with the oldest Windows that has it, and that Windows must be no
# newer than 7. A delay-load table, which this check does not read, fails it too.
#
#   scripts/check-imports.sh [folder...]    (default: the bin folders of both Windows builds)
#
# The test runners and benchmarks run only here, under Wine, which has every function: they may
# import newer ones to check the program's answers against Windows' own, and are not checked.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
allowlist="$root/scripts/windows7-imports.txt"
objdump=x86_64-w64-mingw32-objdump  # reads 32-bit and 64-bit programs alike
runs_only_here='^(win32_tests|e2e_tests|[a-z_]+_bench)\.exe$'

if [ $# -gt 0 ]; then
  folders=("$@")
else
  folders=("$root/build/windows/bin" "$root/build/windows/installer-test" "$root/build/windows-x86/bin")
fi

mapfile -t programs < <(find "${folders[@]}" -type f \( -iname '*.exe' -o -iname '*.dll' -o -iname '*.drv' \) 2>/dev/null | sort)
failed=0
checked=0
declare -A architectures
for program in "${programs[@]}"; do
  name="${program##*/}"
  if [[ "$name" =~ $runs_only_here ]]; then continue; fi
  dump="$("$objdump" -p "$program" 2>&1)" || { echo "imports: $program cannot be read: $dump"; failed=1; continue; }
  case "$dump" in
    *"file format pei-i386"*) architectures[x86]=$((${architectures[x86]:-0} + 1)) ;;
    *"file format pei-x86-64"*) architectures[x64]=$((${architectures[x64]:-0} + 1)) ;;
  esac
  if grep -qE '^Entry d [0-9a-f]*[1-9a-f][0-9a-f]* ' <<<"$dump"; then
    echo "imports: ${program#"$root"/} loads DLLs late (a delay-load table), which this check does not read"
    failed=1
  fi
  # One "DLL function" line per import; an import by ordinal only is "#n".
  problems="$(awk '
    FNR == NR {
      if ($0 ~ /^#/ || NF < 3) next
      windows[toupper($1) " " $2] = $3
      next
    }
    /^\tDLL Name: / { dll = toupper($3); next }
    /^The Export Tables|^PE File Base Relocations|^The Function Table|^Exception Handling/ { dll = "" }
    dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+/ { check(dll, $3) }
    dll != "" && /^\t[0-9a-f]+\t +[0-9]+$/ { check(dll, "#" $2) }
    END { if (imports == 0) print "  no import could be read" }
    function check(dll, fn,   key) {
      imports++
      key = dll " " fn
      if (!(key in windows)) { print "  " dll " " fn ": not in the list (look up its documentation and add it)"; return }
      if (windows[key] !~ /^(XP|Vista|7)$/) print "  " dll " " fn ": needs Windows " windows[key]
    }
  ' "$allowlist" - <<<"$dump")"
  checked=$((checked + 1))
  if [ -n "$problems" ]; then
    echo "imports: ${program#"$root"/} imports what Windows 7 SP1 lacks:"
    echo "$problems"
    failed=1
  fi
done

# A build that made nothing is no pass.
if [ $# -eq 0 ]; then
  for arch in x64 x86; do
    if [ "${architectures[$arch]:-0}" -eq 0 ]; then
      echo "imports: no $arch program was found to check"
      failed=1
    fi
  done
fi
if [ $failed -eq 0 ]; then
  echo "imports: $checked programs checked (x64 ${architectures[x64]:-0}, x86 ${architectures[x86]:-0}), none imports what Windows 7 SP1 lacks"
fi
exit $failed
