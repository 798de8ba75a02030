#!/usr/bin/env bash
# Installs the Debian packages Moorhold needs to build, run and test, skipping those
# already present. Uses sudo when not run as root. Nothing else is downloaded.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl1.2-dev libsdl-image1.2-dev libsdl-mixer1.2-dev
  libgl1-mesa-dev libglu1-mesa-dev libglew-dev
  libbullet-dev
  libvorbis-dev libstb-dev fonts-dejavu-core
  xvfb xauth libgl1-mesa-dri xdotool x11-apps
  libgtest-dev libgmock-dev libbenchmark-dev
  dpkg-dev desktop-file-utils appstream man-db time
)
if [ "${MOORHOLD_WITH_FUZZ:-0}" = 1 ]; then
  packages+=(clang libclang-rt-14-dev)
fi
if [ "${MOORHOLD_WITH_COVERAGE:-0}" = 1 ]; then
  packages+=(gcovr)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq || echo "install-deps: apt-get update failed, trying the cached lists"
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
