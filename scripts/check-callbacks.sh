#!/usr/bin/env bash
# No C++ exception may leave a function that Windows calls: window and subclass procedures,
# enumeration callbacks, the methods OLE calls. The 32-bit build unwinds with DWARF-2 tables, which
# cannot pass through Windows' own frames, so there an exception crossing a callback ends the
# program at best. Every function of the product's sources declared with a Windows calling
# convention (CALLBACK, WINAPI, STDMETHODCALLTYPE; the entry point aside) must be noexcept, and this
# check fails on any that is not. (A lambda cannot have the convention: the 32-bit build refuses
# one handed to Windows.)
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

mapfile -t sources < <(find src tools -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
awk '
  function report() {
    if (text !~ /noexcept/) { print "callbacks: " where " may let an exception out (not noexcept): " first; bad++ }
    open = 0
  }
  FNR == 1 && open { open = 0 }
  !open && /[^A-Za-z_](CALLBACK|WINAPI|STDMETHODCALLTYPE)[^A-Za-z_]/ {
    if ($0 ~ /\( *(CALLBACK|WINAPI|STDMETHODCALLTYPE) *\*/ || $0 ~ /WinMain/ || $0 ~ /^ *\/\//) next
    open = 1; text = ""; where = FILENAME ":" FNR; first = $0; sub(/^ +/, "", first)
  }
  open {
    text = text " " $0
    if ($0 ~ /[{;]/ || $0 ~ /\) *(noexcept|const|override)/) { checked++; report() }
  }
  END {
    if (bad) exit 1
    print "callbacks: " checked " functions that Windows calls, each noexcept"
  }
' "${sources[@]}"
