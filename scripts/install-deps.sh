#!/usr/bin/env bash
# Installs every Debian 12 package the player needs to build, run and test.
# Idempotent and quiet when everything is already there.
#   --fuzz   also clang and its fuzzer runtime (for scripts/fuzz.sh only)
#   --bench  also the interpreters bench_vbscript_languages measures the engine against
#   --list   prints the packages, one a line, and installs nothing
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev
  libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev
  libfluidsynth-dev timgm6mb-soundfont libsdl2-dev
  libarchive-dev  # games played straight from their .zip, .7z, .tar.*, .rar or .iso
  libgtest-dev libgmock-dev
  fonts-liberation
  ffmpeg sox
  xdg-utils
  xvfb libx11-dev libxtst-dev  # the real-window tests: a private X server, input through it
  help2man desktop-file-utils man-db dpkg-dev file
)
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-dev)
fi
if [ "${1:-}" = "--bench" ]; then
  packages+=(lua5.4 python3)
fi
if [ "${1:-}" = "--list" ]; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
