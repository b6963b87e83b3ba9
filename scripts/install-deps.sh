#!/usr/bin/env bash
# Installs the Debian packages Tintor needs to build, test, run and package.
# Idempotent: checks first and stays silent when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git make
  libsdl2-dev libcairo2-dev libpango1.0-dev libpng-dev
  fonts-wqy-microhei
  libgtest-dev libgmock-dev libbenchmark-dev
  liblcms2-dev nlohmann-json3-dev
  clang libclang-rt-14-dev
  libx11-dev
  xvfb xdotool imagemagick x11-utils python3
  desktop-file-utils appstream man-db groff-base dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then sudo="sudo"; else
    echo "error: need root or sudo to install: ${missing[*]}" >&2; exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
