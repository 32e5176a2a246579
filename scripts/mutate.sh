#!/usr/bin/env bash
# Mutation runs: proves that the tests notice a deliberate fault.
#
#   scripts/mutate.sh [NAME...]
#
# Each file scripts/mutations/<NAME>.mutation describes one fault:
#
#   # one line: what the mutation breaks
#   file: <path relative to the repository>
#   find: <exact text, must occur exactly once in the file>
#   replace: <text>
#
# For each mutation (all of them, or the NAMEs given) the script copies the
# committed tree plus uncommitted changes to tracked files into a fresh
# temporary folder, applies the one replacement there, builds there (ccache
# keeps this quick), runs the test suite (which includes the demo walkthrough)
# and removes the folder. It prints CAUGHT when a test fails, MISSED when every
# test passes, and UNUSABLE when the mutation cannot be applied or does not
# build. The exit status is non-zero when any mutation is MISSED or UNUSABLE.
# The working tree is never written to.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
mutations_dir="$root/scripts/mutations"
jobs="${QM_MUTATE_JOBS:-2}"

usage() { echo "usage: $0 [NAME...]   (NAME: a file scripts/mutations/NAME.mutation)" >&2; exit 2; }

# The mutations to run.
names=()
if [ $# -gt 0 ]; then
  for n in "$@"; do
    case "$n" in -*) usage ;; esac
    n="${n%.mutation}"
    [ -f "$mutations_dir/$n.mutation" ] || { echo "no such mutation: $n" >&2; exit 2; }
    names+=("$n")
  done
else
  for f in "$mutations_dir"/*.mutation; do
    [ -e "$f" ] || continue
    n="$(basename "$f")"
    names+=("${n%.mutation}")
  done
fi
[ ${#names[@]} -gt 0 ] || { echo "no mutations in $mutations_dir" >&2; exit 2; }

# Reads one field ("file", "find", "replace") of a mutation file: the text after
# "<field>: " on its line, exactly as written.
field() {
  local want="$1" file="$2" line
  while IFS= read -r line || [ -n "$line" ]; do
    line="${line%$'\r'}"
    case "$line" in
      "$want: "*) printf '%s' "${line#"$want: "}"; return 0 ;;
      "$want:") return 0 ;;
    esac
  done <"$file"
  return 1
}

# The tree to test: HEAD plus uncommitted changes to tracked files (a stash
# commit made without touching the working tree or the stash list).
cd "$root"
rev="$(git stash create 2>/dev/null || true)"
rev="${rev:-HEAD}"

work=""
cleanup() {
  # Only ever the folder this run created, and only when it still is one.
  if [ -n "$work" ] && [ -d "$work" ] && [ -f "$work/.qm-mutation-run" ]; then
    rm -rf -- "$work"
  fi
  work=""
}
trap cleanup EXIT
trap 'exit 130' INT TERM

missed=0
unusable=0
summary=()
for name in "${names[@]}"; do
  mfile="$mutations_dir/$name.mutation"
  what="$(head -n 1 "$mfile" | sed 's/^#[[:space:]]*//')"
  target="$(field file "$mfile")" || target=""
  find_text="$(field find "$mfile")" || find_text=""
  replace_text="$(field replace "$mfile")" || replace_text=""
  echo "== $name: $what"
  if [ -z "$target" ] || [ -z "$find_text" ] || ! grep -q '^replace:' "$mfile"; then
    echo "   UNUSABLE: the file needs the lines 'file:', 'find:' and 'replace:'"
    summary+=("UNUSABLE $name"); unusable=$((unusable + 1)); continue
  fi
  case "$target" in /*|*..*) echo "   UNUSABLE: file must be a path inside the repository"
    summary+=("UNUSABLE $name"); unusable=$((unusable + 1)); continue ;; esac

  # A fresh temporary folder, checked before anything is written into it.
  work="$(mktemp -d "${TMPDIR:-/tmp}/qm-mutation.XXXXXX")"
  if [ ! -d "$work" ] || [ -n "$(ls -A "$work")" ] || [ ! -O "$work" ]; then
    echo "mktemp did not give a fresh empty folder: $work" >&2
    work=""; exit 1
  fi
  case "$(cd "$work" && pwd -P)/" in "$(cd "$root" && pwd -P)/"*)
    echo "the temporary folder lies inside the repository: $work" >&2; work=""; exit 1 ;; esac
  : >"$work/.qm-mutation-run"
  mkdir "$work/tree"
  git -C "$root" archive "$rev" | tar -x -C "$work/tree"

  # Apply the one replacement (exact text, exactly one occurrence).
  if ! result="$(FIND="$find_text" REPLACE="$replace_text" python3 - "$work/tree/$target" <<'EOF'
import os, sys
path = sys.argv[1]
try:
    with open(path, encoding="utf-8", newline="") as f:
        text = f.read()
except OSError as e:
    print(f"cannot read {e.filename}"); sys.exit(1)
find, replace = os.environ["FIND"], os.environ["REPLACE"]
n = text.count(find)
if n != 1:
    print(f"the find text occurs {n} times (must be exactly once)"); sys.exit(1)
with open(path, "w", encoding="utf-8", newline="") as f:
    f.write(text.replace(find, replace))
EOF
  )"; then
    echo "   UNUSABLE: $target: $result"
    summary+=("UNUSABLE $name"); unusable=$((unusable + 1)); cleanup; continue
  fi

  # Build in the copy. Paths below the copy are hashed relative to it, so the
  # compiler cache finds what builds of other checkouts already compiled.
  log="$work/log.txt"
  extra=()
  if command -v ccache >/dev/null 2>&1; then
    extra+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="$work/tree" CCACHE_NOHASHDIR=1
  fi
  if ! { cmake -S "$work/tree" -B "$work/tree/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
           -DQM_BUILD_BENCH=OFF "${extra[@]}" && cmake --build "$work/tree/build"; } >"$log" 2>&1; then
    echo "   UNUSABLE: the mutated tree does not build:"
    grep -m 5 -E 'error' "$log" | sed 's/^/     /' || true
    summary+=("UNUSABLE $name"); unusable=$((unusable + 1)); cleanup; continue
  fi

  # Run the suite; the first failing test is enough.
  if (cd "$work/tree/build" && QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
        ctest -j"$jobs" --stop-on-failure) >"$log" 2>&1; then
    echo "   MISSED: every test passed"
    summary+=("MISSED $name"); missed=$((missed + 1))
  else
    failed="$(sed -n 's/^.*Test *#[0-9]*: \([^ ]*\) .*\*\*\*.*/\1/p' "$log" | head -n 3 | tr '\n' ' ')"
    echo "   CAUGHT by: ${failed:-(see the test output)}"
    summary+=("CAUGHT $name")
  fi
  cleanup
done

echo
printf '%s\n' "${summary[@]}"
echo "${#names[@]} mutations: $((${#names[@]} - missed - unusable)) caught, $missed missed, $unusable unusable"
[ "$missed" -eq 0 ] && [ "$unusable" -eq 0 ]
