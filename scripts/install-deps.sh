#!/usr/bin/env bash
# Installs the Debian packages Tintor needs, by what is to be done:
#   install-deps.sh [run|test|deb|fuzz]...      (no set: run)
#   run   build and run the program (`make run`, `make build`, `make install`)
#   test  run's, plus the test tools: GoogleTest, Google Benchmark, a virtual X
#         screen and its tools, the desktop validators (`make test`, `make bench`)
#   deb   run's, plus what builds the Debian package (`make deb`)
#   fuzz  run's, plus clang and its sanitizer runtime (`make fuzz`)
# Every name is one that each supported Debian release (12, 13) carries, with
# no version in it. Idempotent: silent when everything is already there. Before
# installing it checks that the archive has each missing package and names, in
# one line, those it has not.
set -euo pipefail

run=(build-essential cmake pkg-config git make
     libsdl2-dev libcairo2-dev libpango1.0-dev libglib2.0-dev libpng-dev libx11-dev
     liblcms2-dev nlohmann-json3-dev libjpeg-dev
     fonts-wqy-microhei fonts-noto-color-emoji)
test=(libgtest-dev libgmock-dev libbenchmark-dev
      xvfb xdotool imagemagick x11-utils python3
      desktop-file-utils appstream man-db groff-base file)
deb=(dpkg-dev file)
fuzz=(clang libclang-rt-dev)

packages=("${run[@]}")
for set in "$@"; do
  case $set in
    run) ;;
    test) packages+=("${test[@]}") ;;
    deb) packages+=("${deb[@]}") ;;
    fuzz) packages+=("${fuzz[@]}") ;;
    *) echo "usage: $0 [run|test|deb|fuzz]...  (unknown set: $set)" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    [[ " ${missing[*]} " == *" $p "* ]] || missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null 2>&1; then
  echo "error: no apt-get to install: ${missing[*]} (Tintor builds on Debian)" >&2; exit 1
fi
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then sudo="sudo"; else
    echo "error: need root or sudo to install: ${missing[*]}" >&2; exit 1
  fi
fi

export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq

unavailable=()
for p in "${missing[@]}"; do
  candidate=$(apt-cache policy "$p" 2>/dev/null | sed -n 's/^ *Candidate: *//p')
  [ -n "$candidate" ] && [ "$candidate" != "(none)" ] || unavailable+=("$p")
done
if [ ${#unavailable[@]} -gt 0 ]; then
  release=$( (. /etc/os-release && echo "$PRETTY_NAME") 2>/dev/null || echo "this system")
  echo "error: not in the package archive of $release: ${unavailable[*]}" >&2
  exit 1
fi

echo "Installing missing packages: ${missing[*]}"
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
