#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the installed tree:
# the files are there, the menu entry validates, both man pages render, and the
# installed player finds and plays its demo game from the prefix. Then makes
# the Debian package and checks its file list and dependencies.
#   scripts/check-install.sh [BUILD_FOLDER]   (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
[ -f "$build/CMakeCache.txt" ] || { echo "check-install: $build is not a build folder" >&2; exit 2; }

# Everything is written inside a folder made here, and only that is removed.
scratch="$(mktemp -d "${TMPDIR:-/tmp}/quillmere-install.XXXXXX")"
if [ -z "$scratch" ] || [ ! -d "$scratch" ] || [ -n "$(ls -A "$scratch")" ]; then
  echo "check-install: could not make an empty temporary folder" >&2
  exit 2
fi
trap 'rm -rf -- "$scratch"' EXIT
prefix="$scratch/prefix"
failures=0
fail() { echo "FAIL  $*"; failures=$((failures + 1)); }
pass() { echo "ok    $*"; }

if ! cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1 || [ ! -x "$prefix/bin/quillmere" ]; then
  echo "check-install: the install into $prefix failed:" >&2
  tail -20 "$scratch/install.log" >&2
  exit 1
fi
# Moved after the install: the installed files must not depend on where they were put.
mv "$prefix" "$scratch/moved-prefix"
prefix="$scratch/moved-prefix"

# The files a user of the package relies on.
expected=(
  bin/quillmere bin/qmvbs
  share/applications/quillmere.desktop
  share/icons/hicolor/scalable/apps/quillmere.svg
  share/man/man1/quillmere.1.gz share/man/man1/qmvbs.1.gz
  share/bash-completion/completions/quillmere share/bash-completion/completions/qmvbs
  share/quillmere/demo/Config/General share/quillmere/demo/walkthrough.txt
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/quillmere.png")
done
missing=0
for f in "${expected[@]}"; do
  [ -f "$prefix/$f" ] || { fail "not installed: $f"; missing=1; }
done
[ $missing = 1 ] || pass "installed: ${#expected[@]} expected files"
if find "$prefix" -path '*/demo/art*' | grep -q .; then fail "the demo's art sources were installed"; fi

if out="$(desktop-file-validate "$prefix/share/applications/quillmere.desktop" 2>&1)" && [ -z "$out" ]; then
  pass "desktop-file-validate"
else
  fail "desktop-file-validate: $out"
fi

for page in quillmere qmvbs; do
  file="$prefix/share/man/man1/$page.1.gz"
  [ -f "$file" ] || continue
  text="$(MANWIDTH=80 man --warnings -l "$file" 2>"$scratch/man-warnings" || true)"
  if [ -s "$scratch/man-warnings" ]; then
    fail "man -l $page.1.gz warns: $(head -3 "$scratch/man-warnings")"
  elif ! grep -q "^NAME" <<<"$text" || ! grep -q -- "--version" <<<"$text"; then
    fail "man -l $page.1.gz lacks NAME or the options"
  else
    pass "man -l $page.1.gz"
  fi
done

# What was installed, listed before the player runs: the demo's walkthrough
# saves games, and in this writable prefix they land in the demo folder.
(cd "$prefix" && find . -type f -o -type l) | sed 's|^\./||' | sort >"$scratch/installed-files"

# The installed player, given only a steps file outside any game, must find
# the demo under its own (moved) prefix; the build and source trees are not asked.
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
mkdir "$scratch/steps"
cp "$prefix/share/quillmere/demo/walkthrough.txt" "$scratch/steps/demo-steps.txt"
if out="$(cd "$scratch" && "$prefix/bin/quillmere" --walkthrough steps/demo-steps.txt 2>&1)" &&
   grep -Eq "^[1-9][0-9]* passed, 0 failed" <<<"$out"; then
  pass "installed player plays the demo: $(tail -1 <<<"$out")"
else
  fail "installed player on the demo walkthrough:"; tail -5 <<<"$out"
fi
if out="$("$prefix/bin/qmvbs" --version 2>&1)" && grep -q "^qmvbs " <<<"$out"; then
  pass "installed qmvbs runs"
else
  fail "installed qmvbs --version: $out"
fi

# The Debian package: the same files as the install, under /usr.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/package" >"$scratch/cpack.log" 2>&1 || true
deb="$(ls "$scratch"/package/*.deb 2>/dev/null | head -1)"
if [ -z "$deb" ]; then
  fail "cpack made no .deb:"; tail -20 "$scratch/cpack.log"
else
  dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./usr/||' | sort >"$scratch/deb-files"
  if diff -u "$scratch/installed-files" "$scratch/deb-files" >"$scratch/files.diff"; then
    pass "package file list: $(wc -l <"$scratch/deb-files") files, as installed"
  else
    fail "package file list differs from the install:"; cat "$scratch/files.diff"
  fi
  depends="$(dpkg-deb -f "$deb" Depends)"
  for needed in libqt6widgets6 libfluidsynth3 libsdl2 libavcodec timgm6mb-soundfont fonts-liberation; do
    grep -q "$needed" <<<"$depends" || fail "package does not depend on $needed"
  done
  if grep -q -- "-dev\b" <<<"$depends"; then fail "package depends on a -dev package: $depends"; fi
  pass "package $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB; depends: $depends"
fi

if [ $failures -gt 0 ]; then
  echo "check-install: $failures failed"
  exit 1
fi
echo "check-install: all passed"
