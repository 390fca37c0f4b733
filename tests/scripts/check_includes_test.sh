#!/usr/bin/env bash
# The include check's own cases: each spelling that once slipped past it is caught, a circle in
# the layers is refused, and what is allowed or only written in a comment passes. Each case is a
# scratch src/ of one file (its text with \n and \t escapes) judged against the project's layers.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

up='"mainwindow/frm_main_logic.h"'
cases=(
  # expected | file in src/ | its text
  "fails|intake/a.cpp|#include <mainwindow/frm_main_logic.h>"
  "fails|intake/a.cpp|#include$up"
  "fails|intake/a.cpp|  #\tinclude\t$up"
  "fails|intake/a.cpp|#  include<mainwindow/frm_main_logic.h>"
  "fails|intake/a.hpp|#include $up"
  "fails|intake/a.inl|#include $up"
  "fails|intake/a.cpp|#include \"../mainwindow/frm_main_logic.h\""
  "fails|intake/a.cpp|#include <intake/../mainwindow/frm_main_logic.h>"
  "fails|intake/a.cpp|#include \\\\\n  $up"
  "fails|intake/a.cpp|#/* */include $up"
  "fails|intake/a.cpp|%:include $up"
  "fails|intake/a.cpp|#import $up"
  "fails|intake/a.cpp|/* a comment\n   ends here */ #include $up"
  "fails|intake/a.cpp|const char* s = \"/*\";\n#include $up"
  "fails|intake/a.cpp|auto r = R\"x(a\"/*)x\";\n#include $up"
  "fails|intake/a.cpp|#define UP $up\n#include UP"
  "fails|core/a.cpp|#include \"printing/print_run.h\""
  "fails|tools/a.cpp|#include <string>"
  "passes|intake/a.cpp|#include <string>\n#include <windows.h>\n#include <gtest/gtest.h>\n#include \"resource.h\""
  "passes|intake/a.cpp|#include \"paths.h\"\n#include <core/texts.h>\n#include \"../platform/clock.h\""
  "passes|intake/a.cpp|// #include $up\n/*\n#include $up\n*/\nint includes; // #include $up"
)

failed=0
run_case() {  # expected, file, text, layers file
  rm -rf "$scratch/src" && mkdir -p "$scratch/src"
  for folder in $(sed -n 's/^\([a-z]*\):.*/\1/p' "$root/scripts/include-layers.txt"); do mkdir "$scratch/src/$folder"; done
  touch "$scratch/src/mainwindow/frm_main_logic.h" "$scratch/src/intake/paths.h"
  mkdir -p "$scratch/src/${2%/*}" && printf '%b\n' "$3" >"$scratch/src/$2"
  local outcome=passes
  "$root/scripts/check-includes.sh" "$scratch/src" "$4" >"$scratch/out" 2>&1 || outcome=fails
  if [ "$outcome" != "$1" ]; then
    echo "FAILED: src/$2 with $(printf '%q' "$3") $outcome, expected: $1"
    sed 's/^/    /' "$scratch/out"
    failed=1
  fi
}
for c in "${cases[@]}"; do
  IFS='|' read -r expected file text <<<"$c"
  run_case "$expected" "$file" "$text" "$root/scripts/include-layers.txt"
done

# Two folders allowed each other: a circle, even with no include that uses it.
sed 's/^core:.*/core: platform printing/' "$root/scripts/include-layers.txt" >"$scratch/circle.txt"
run_case fails core/a.cpp "#include <string>" "$scratch/circle.txt"
grep -q 'form a circle' "$scratch/out" || { echo "FAILED: the circle core - printing was not named"; failed=1; }

[ $failed -eq 0 ] && echo "include check: $((${#cases[@]} + 1)) cases passed"
exit $failed
