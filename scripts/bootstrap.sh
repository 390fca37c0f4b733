#!/usr/bin/env bash
# Installs what the build, the tests and the demo need, from Debian 12's packages, and the
# Japanese locale that Wine needs to run as a Japanese Windows. Safe to run again: it installs
# only what is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
  wine wine64 libxrender1 libxcursor1 libxi6 libxrandr2 libxinerama1 libxcomposite1 libxfixes3
  libfreetype6 libfontconfig1 libgnutls30 fonts-wine
  xvfb xauth x11-utils imagemagick
  locales fonts-noto-cjk
  nsis zip unzip
  clang libclang-rt-14-dev
)

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; elif command -v sudo >/dev/null; then sudo "$@"; else
    echo "bootstrap: need root (or sudo) to run: $*" >&2
    exit 1
  fi
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then missing+=("$p"); fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "[velmok] installing: ${missing[*]}" >&2
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Checked by setting it, as Wine will: a listed name alone may not be a usable locale.
if [ "$(env LC_ALL=ja_JP.UTF-8 locale charmap 2>/dev/null)" != UTF-8 ]; then
  echo "[velmok] generating the ja_JP.UTF-8 locale" >&2
  as_root sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
  if [ "$(env LC_ALL=ja_JP.UTF-8 locale charmap 2>/dev/null)" != UTF-8 ]; then
    echo "bootstrap: the ja_JP.UTF-8 locale could not be generated" >&2
    exit 1
  fi
fi
