#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (headless: no screen,
# no sound card needed).
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
cd "$root/build"
ctest --output-on-failure -j"$(nproc)" "$@"
