#!/usr/bin/env bash
# Installs the Debian packages Kestrum builds, tests and draws with, when they are missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config clang
  libgtest-dev googletest libbenchmark-dev
  libcairo2-dev libpixman-1-dev libfontconfig-dev libfreetype-dev
  libjpeg62-turbo-dev libpng-dev libtiff-dev libgif-dev
  fonts-wqy-zenhei
  imagemagick libjpeg-turbo-progs libxml2-utils
  chromium
  pybind11-dev python3-dev python3-dask python3-distributed
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
