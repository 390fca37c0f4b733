#!/usr/bin/env bash
# Checks the include graph of src/: each subsystem includes only itself and what lies below it, so
# that no part reaches up into the window that hosts it. Each subsystem declares, in its own folder,
# what it needs of its host; the composition root (src/app) wires them. Prints every include that
# crosses the line and exits non-zero when there is one.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root/src"

# What each subsystem may include besides itself and the resource identifiers.
declare -A allowed=(
  [platform]=""
  [core]="platform printing"   # start-up looks at ClarisWorks through the print run's probes
  [intake]="core platform"
  [printing]="core intake platform"
  [diagnostics]="core platform"
  [mainwindow]="core intake platform"
  [app]="core diagnostics intake mainwindow platform printing"
)

bad=0
checked=0
for subsystem in "${!allowed[@]}"; do
  [ -d "$subsystem" ] || continue
  while IFS= read -r -d '' file; do
    while IFS= read -r target; do
      checked=$((checked + 1))
      top="${target%%/*}"
      [ "$top" = "$target" ] && continue                 # "resource.h" and the like
      [ "$top" = "$subsystem" ] && continue
      case " ${allowed[$subsystem]} " in *" $top "*) continue ;; esac
      echo "src/$file includes \"$target\": $subsystem may not include $top" >&2
      bad=1
    done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]+"([^"]+)".*/\1/p' "$file")
  done < <(find "$subsystem" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
done
for folder in */; do
  folder="${folder%/}"
  if [ -z "${allowed[$folder]+set}" ]; then
    echo "src/$folder is no known subsystem: say in scripts/check-includes.sh what it may include" >&2
    bad=1
  fi
done
if [ $bad -eq 0 ]; then echo "includes: $checked checked, none reaches up"; fi
exit $bad
