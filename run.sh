#!/usr/bin/env bash
# Installs what is missing, builds, and runs the player on GAME_FOLDER
# (or on the bundled demo game when none is given).
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" --target quillmere
exec "$root/build/quillmere" "$@"
