#!/usr/bin/env bash
# Builds the program, the simulator and every test: natively (portable logic, sanitizers on)
# and for Windows (cross-compiled): the 32-bit programs, then the 64-bit ones with the tests and
# the installer, which carries both. Usage: scripts/build.sh [native|windows|all]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
what="${1:-all}"
if [ "$what" = native ] || [ "$what" = all ]; then
  cmake --preset native >/dev/null
  cmake --build --preset native
fi
if [ "$what" = windows ] || [ "$what" = all ]; then
  cmake --preset windows-x86 >/dev/null
  cmake --build --preset windows-x86
  cmake --preset windows >/dev/null
  cmake --build --preset windows
fi
