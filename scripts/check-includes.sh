#!/usr/bin/env bash
# Checks the include graph of src/: each folder includes only itself and what lies below it, so
# that no part reaches up into the window that hosts it. Each subsystem declares, in its own folder,
# what it needs of its host; the composition root (src/app) wires them. What each folder may
# include is listed in scripts/include-layers.txt, and the list itself may hold no circle.
# Prints every include that crosses the line and exits non-zero when there is one.
#   scripts/check-includes.sh [source folder [layers file]]   (defaults: src/, include-layers.txt)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
src="$(cd "${1:-$here/../src}" && pwd -P)"
layers_file="${2:-$here/include-layers.txt}"

declare -A allowed=()
while read -r line; do
  line="${line%%#*}"
  [[ "$line" == *:* ]] || continue
  folder="$(echo "${line%%:*}" | tr -d '[:space:]')"
  allowed[$folder]="$(echo ${line#*:})"
done <"$layers_file"

bad=0
cd "$src"
folders=()
for folder in */; do
  folder="${folder%/}"
  [ -d "$folder" ] || continue
  folders+=("$folder")
  if [ -z "${allowed[$folder]+set}" ]; then
    echo "src/$folder is no known subsystem: say in $layers_file what it may include" >&2
    bad=1
  fi
done

# A folder below may never be allowed what lies above it: tsort names the folders of a circle.
pairs=""
layers=""
for folder in "${!allowed[@]}"; do
  layers+="$folder=${allowed[$folder]};"
  for below in ${allowed[$folder]}; do
    [ "$below" = "$folder" ] || pairs+="$below $folder"$'\n'
  done
done
if ! circle="$(printf '%s' "$pairs" | tsort 2>&1 >/dev/null)"; then
  members="$(echo "$circle" | sed -n 's/^tsort: //p' | grep -v 'input contains a loop' | awk '!seen[$0]++' | paste -sd ' ')"
  echo "the folders form a circle in $layers_file: $members" >&2
  bad=1
fi

# Every file of a folder is read, whatever its name ends in: a header may be named .hpp or .inl,
# and any file can be included. Only the build's own lists are left out.
files=()
if [ ${#folders[@]} -gt 0 ]; then
  mapfile -d '' -t files < <(find "${folders[@]}" -type f ! -name CMakeLists.txt ! -name '*.cmake' -print0 | sort -z)
fi
checked=0
if [ ${#files[@]} -gt 0 ]; then
  if ! checked="$(awk -v srcabs="$src" -v resdir="$src/../res" -v folders="${folders[*]}" -v layers="$layers" \
                      -f "$here/check-includes.awk" "${files[@]}")"; then
    bad=1
  fi
fi
if [ $bad -eq 0 ]; then echo "includes: $checked checked, none reaches up, the folders form no circle"; fi
exit $bad
