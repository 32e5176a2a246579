#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the installed tree:
# the files are there, the menu entry validates, both man pages render, and the
# installed player finds and plays its demo game from the prefix. Then makes
# the Debian package, checks its file list and dependencies, and plays the demo
# with the player unpacked from it, read-only as a root install leaves it.
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
# (The unpacked package below is made read-only, as a root install is: give
# write permission back first, or its files could not be removed.)
trap 'chmod -R u+w -- "$scratch" 2>/dev/null; rm -rf -- "$scratch"' EXIT
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

  # The packaged player plays the demo as a user after `dpkg -i`: its files
  # unpacked and read-only, so the walkthrough's saves go elsewhere.
  root_dir="$scratch/deb-root"
  mkdir "$root_dir"
  if dpkg-deb -x "$deb" "$root_dir" && [ -x "$root_dir/usr/bin/quillmere" ]; then
    chmod -R a-w "$root_dir/usr"
    cp "$root_dir/usr/share/quillmere/demo/walkthrough.txt" "$scratch/steps/package-steps.txt"
    # Root writes into read-only folders all the same: as root, play as the
    # unprivileged user "nobody", with a home of its own in the scratch folder.
    as_user=()
    if [ "$(id -u)" = 0 ]; then
      user_home="$scratch/user-home"
      mkdir "$user_home" && chown 65534:65534 "$user_home"
      chmod a+rx "$scratch" "$scratch/steps" && chmod a+r "$scratch/steps/package-steps.txt"
      as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups
               env HOME="$user_home" XDG_CONFIG_HOME="$user_home/.config" XDG_DATA_HOME="$user_home/.local/share")
    fi
    if out="$(cd "$scratch" && "${as_user[@]}" "$root_dir/usr/bin/quillmere" --walkthrough steps/package-steps.txt 2>&1)" &&
       grep -Eq "^[1-9][0-9]* passed, 0 failed" <<<"$out"; then
      pass "packaged player plays the read-only demo: $(tail -1 <<<"$out")"
    else
      fail "packaged player on the read-only demo walkthrough:"; grep FAIL <<<"$out" | head -5; tail -2 <<<"$out"
    fi
    if [ -n "$(find "$root_dir" -newer "$deb" -type f)" ]; then fail "playing wrote into the package's files"; fi
  else
    fail "dpkg-deb -x could not unpack $(basename "$deb")"
  fi
fi

if [ $failures -gt 0 ]; then
  echo "check-install: $failures failed"
  exit 1
fi
echo "check-install: all passed"
