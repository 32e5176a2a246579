#!/usr/bin/env bash
# Configures and builds the project into build/ (Release with debug info).
# QM_SANITIZE=1 builds with AddressSanitizer and UBSan into build-asan/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${QM_BUILD_DIR:-$root/build}"
extra=()
if [ "${QM_SANITIZE:-0}" = "1" ]; then
  build_dir="${QM_BUILD_DIR:-$root/build-asan}"
  extra+=(-DQM_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
else
  extra+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
fi
# Reuse compiled objects across build folders and clones when ccache is there.
if command -v ccache >/dev/null 2>&1; then
  extra+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
if [ ! -f "$build_dir/build.ninja" ]; then
  cmake -S "$root" -B "$build_dir" -G Ninja "${extra[@]}" >/dev/null
fi
cmake --build "$build_dir" "$@"
