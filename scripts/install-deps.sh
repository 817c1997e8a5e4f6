#!/usr/bin/env bash
# Installs what building and testing Tovik needs on Debian 12 / Ubuntu:
# native and mingw-w64 toolchains (Tovik.exe linked by lld, its delay imports
# made by llvm-dlltool), clang with its sanitizer and libFuzzer runtime,
# Google Benchmark, GoogleTest sources, Wine, Xvfb, screenshot and input
# tools, fonts, the German and English UTF-8 locales, and for the packages
# NSIS, zip and Python with YAML (the release manifest check). Idempotent: apt runs only when a package is
# missing, localedef only when a locale is missing.
set -euo pipefail

packages=(
  cmake make g++
  clang libclang-rt-14-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools lld llvm
  googletest
  wine wine64 fonts-wine fonts-dejavu-core
  libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1
  xvfb xauth x11-utils imagemagick xdotool
  locales
  nsis zip unzip python3 python3-yaml
)
locales_needed=(de_DE en_US)

missing_packages=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null || true)
  [[ $status == ii* ]] || missing_packages+=("$p")
done

have_locale() {  # de_DE -> is de_DE.UTF-8 generated?
  command -v locale >/dev/null 2>&1 || return 1
  locale -a 2>/dev/null | grep -qix "$1\.utf-\?8"
}
missing_locales=()
for l in "${locales_needed[@]}"; do
  have_locale "$l" || missing_locales+=("$l")
done

if (( ${#missing_packages[@]} == 0 && ${#missing_locales[@]} == 0 )); then
  exit 0
fi

if (( EUID != 0 )); then
  echo "install-deps: missing and only root can install them:" >&2
  (( ${#missing_packages[@]} )) && echo "  packages: ${missing_packages[*]}" >&2
  (( ${#missing_locales[@]} )) && echo "  locales:  ${missing_locales[*]/%/.UTF-8}" >&2
  echo "  run: sudo bash scripts/install-deps.sh" >&2
  exit 1
fi

if (( ${#missing_packages[@]} )); then
  echo "install-deps: installing ${missing_packages[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing_packages[@]}" </dev/null
fi

for l in "${locales_needed[@]}"; do
  if ! have_locale "$l"; then
    echo "install-deps: generating locale $l.UTF-8"
    localedef -i "$l" -f UTF-8 "$l.UTF-8"
  fi
done
