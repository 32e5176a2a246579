#!/usr/bin/env bash
# Builds every fuzz target with clang, libFuzzer, AddressSanitizer and UBSan
# into build-fuzz/, and runs each for SECONDS (default 60) starting from its
# seeds in fuzz/seeds/<target>/ (and fuzz/seeds/<folder>/, shared by the
# targets of one fuzz/ folder). Prints per target the runs made and any crash
# with the input file that caused it; exits non-zero when a target crashed.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]     (TARGET: game_frame_file, vbscript_parser, ...)
#
# Installs clang and its fuzzer runtime (scripts/install-deps.sh --fuzz) when
# they are missing. Work files (the growing corpus, crash inputs, logs) stay in
# build-fuzz/; the seeds in the tree are never changed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
case "$seconds" in ''|*[!0-9]*) echo "usage: $0 [SECONDS] [TARGET...]" >&2; exit 2 ;; esac
shift $(( $# > 0 ? 1 : 0 ))
build_dir="${QM_FUZZ_BUILD_DIR:-$root/build-fuzz}"

"$root/scripts/install-deps.sh" --fuzz

extra=()
if command -v ccache >/dev/null 2>&1; then
  extra+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
if [ ! -f "$build_dir/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQM_FUZZ=ON -DQM_SANITIZE=ON -DQM_BUILD_TESTS=OFF -DQM_BUILD_BENCH=OFF "${extra[@]}" >/dev/null
fi
if [ $# -gt 0 ]; then
  targets=$(printf 'fuzz_%s\n' "$@")
else
  # Qt's generated helper targets (fuzz_X_autogen...) are not fuzzers.
  targets=$(cmake --build "$build_dir" --target help | sed -n 's/^\(fuzz_[A-Za-z0-9_]*\):.*/\1/p' |
    { grep -v '_autogen' || true; } | sort)
fi
[ -n "$targets" ] || { echo "no fuzz targets found" >&2; exit 1; }
# shellcheck disable=SC2086
cmake --build "$build_dir" --target $targets

export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
crashed=0
printf '%-34s %12s  %s\n' target runs result
for t in $targets; do
  name="${t#fuzz_}"
  work="$build_dir/fuzz-work/$name"
  mkdir -p "$work/corpus" "$work/crashes"
  # Seeds of the target itself, and those shared by its folder (fuzz/seeds/vbscript).
  seeds=""
  for d in "$root/fuzz/seeds/$name" "$root/fuzz/seeds/${name%%_*}"; do
    [ -d "$d" ] && seeds="$seeds $d"
  done
  [ -n "$seeds" ] || echo "warning: no seeds for $name (fuzz/seeds/$name)" >&2
  log="$work/log.txt"
  set +e
  # shellcheck disable=SC2086
  "$build_dir/fuzz/$t" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=4096 -print_final_stats=1 \
    -artifact_prefix="$work/crashes/" "$work/corpus" $seeds >"$log" 2>&1
  status=$?
  set -e
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ $status -eq 0 ]; then
    printf '%-34s %12s  %s\n' "$name" "${runs:-?}" clean
  else
    crashed=1
    printf '%-34s %12s  %s\n' "$name" "${runs:-?}" "CRASH (exit $status, log $log)"
    for f in $(grep -o "Test unit written to [^ ]*" "$log" | sed 's/Test unit written to //'); do
      echo "    input: $f"
    done
  fi
done
exit $crashed
