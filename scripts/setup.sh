#!/usr/bin/env bash
# Installs what the three builds and the tests need on Debian 12, each package only when it is missing.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

packages=(
  cmake make g++ googletest libgtest-dev libgmock-dev libbenchmark-dev clang
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine32:i386 wine64 fonts-wine fonts-ipafont-gothic xvfb xauth imagemagick python3 locales
)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ] || [ -n "${need_update:-}" ]; then
  $SUDO apt-get update
fi
if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Two system locales, so that a Wine run can take the system's code page from one
# (LC_CTYPE) and the user's language from another (LC_MESSAGES): the Japanese module on a
# Western system. Wine reads them through the C library, which knows only generated locales.
for wanted in en_US ja_JP; do
  if ! locale -a 2>/dev/null | grep -qix "$wanted.utf8"; then
    $SUDO localedef -i "$wanted" -f UTF-8 "$wanted.UTF-8"
  fi
done
