#!/usr/bin/env bash
# Checks that every program the tests start is there on a fresh machine: each
# must come from a Debian package that scripts/install-deps.sh installs (or
# from an essential package every Debian system has), or be built here.
#   scripts/check-test-programs.sh [FILE_OR_FOLDER]...   (default: tests/)
# Read are the C++ sources (programs started by QProcess or exec*) and the
# ctest files (a test's COMMAND). Prints each program with its package; exits 1
# when one is missing or comes from elsewhere.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
[ $# -gt 0 ] || set -- "$root/tests"

# The sources to read: folders give their *.cpp, *.h and *.cmake files.
sources=()
for arg in "$@"; do
  if [ -d "$arg" ]; then
    while IFS= read -r -d '' f; do sources+=("$f"); done \
      < <(find "$arg" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.cmake' -o -name 'CMakeLists.txt' \) -print0)
  elif [ -f "$arg" ]; then
    sources+=("$arg")
  else
    echo "check-test-programs: no such file or folder: $arg" >&2
    exit 2
  fi
done

# Programs named by a literal: QProcess start/startDetached/execute/setProgram,
# exec*(), and ctest's COMMAND (not a CMake variable, not a path).
programs="$(
  {
    grep -hoE '(\.|->|::)(start|startDetached|execute|setProgram)\((QStringLiteral\()?"[^"/]+"' "${sources[@]}" 2>/dev/null |
      sed -E 's/.*"([^"]+)"$/\1/' || true
    grep -hoE '\bexec(l|lp|v|vp|ve|le)\("[^"/]+"' "${sources[@]}" 2>/dev/null | sed -E 's/.*"([^"]+)"$/\1/' || true
    grep -hoE 'COMMAND[[:space:]]+[^[:space:]$)"]+' "${sources[@]}" 2>/dev/null | sed -E 's/^COMMAND[[:space:]]+//' | grep -v / || true
  } | sort -u
)"
if [ -z "$programs" ]; then
  echo "check-test-programs: found no program started by the tests (is the search broken?)" >&2
  exit 2
fi

# Programs this project builds, as patterns ("tests_${name}" stands for every tests_ program).
built="$(grep -rhoE 'add_executable\([A-Za-z0-9_${}]+' "$root/src" "$root/tests" "$root/CMakeLists.txt" 2>/dev/null |
  sed -E 's/add_executable\(//; s/\$\{[^}]*\}/.*/g; s/^/^/; s/$/$/' | sort -u)"
listed="$("$root/scripts/install-deps.sh" --list)"

# The package a file belongs to (usr-merged paths are registered under /bin or /sbin too).
package_of() {
  local path="$1" p
  for p in "$path" "$(readlink -f "$path")" "${path#/usr}" "$(readlink -f "$path" | sed 's|^/usr||')"; do
    if out="$(dpkg-query -S "$p" 2>/dev/null)"; then
      echo "${out%%:*}"
      return 0
    fi
  done
  return 1
}

failures=0
while IFS= read -r program; do
  if grep -qE -f <(printf '%s\n' "$built") <<<"$program"; then
    echo "ok    $program (built here)"
    continue
  fi
  if ! path="$(command -v "$program")"; then
    echo "FAIL  $program: not installed (add its package to scripts/install-deps.sh)"
    failures=$((failures + 1))
    continue
  fi
  if ! package="$(package_of "$path")"; then
    echo "FAIL  $program: $path comes from no Debian package (a fresh machine would not have it)"
    failures=$((failures + 1))
    continue
  fi
  if grep -qxF "$package" <<<"$listed"; then
    echo "ok    $program ($package)"
  elif [ "$(dpkg-query -W -f='${Essential}' "$package" 2>/dev/null)" = "yes" ]; then
    echo "ok    $program ($package, essential)"
  else
    echo "FAIL  $program: from $package, which scripts/install-deps.sh does not install"
    failures=$((failures + 1))
  fi
done <<<"$programs"

if [ "$failures" -gt 0 ]; then
  echo "check-test-programs: $failures program(s) the tests start would be missing on a fresh machine"
  exit 1
fi
echo "check-test-programs: every program the tests start is installed"
