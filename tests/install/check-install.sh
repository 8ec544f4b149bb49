#!/usr/bin/env bash
# check-install.sh BUILD_DIR APP_ID VERSION
# Installs the build into a scratch prefix, checks that the program, its menu
# entry, its icons and its metainfo all land where a desktop looks for them,
# and that the desktop-entry and AppStream validators have nothing to say.
set -euo pipefail
build=$1 id=$2 version=$3

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
need() { [ -f "$prefix/$1" ] || { fail "$1 is not installed"; return 1; }; }

# Width and height from a PNG's header.
pngSize() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }'; }

need bin/tolvex-file-renamer && { [ -x "$prefix/bin/tolvex-file-renamer" ] || fail "the program is not executable"; }
# The media libraries are tolvex-rename's alone: the window loads none.
if objdump -p "$prefix/bin/tolvex-file-renamer" | grep -E 'NEEDED.*(exiv2|libtag|libav)'; then
  fail "the window links a media library"
fi
need bin/tolvex-rename && { [ -x "$prefix/bin/tolvex-rename" ] || fail "tolvex-rename is not executable"; }
for page in tolvex-file-renamer tolvex-rename; do
  if need share/man/man1/$page.1.gz; then
    out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/$page.1.gz" 2>&1 >/dev/null) \
      || fail "man cannot show $page.1"
    [ -z "$out" ] || fail "$page.1.gz: $out"
  fi
done

desktop=share/applications/$id.desktop
if need "$desktop"; then
  out=$(desktop-file-validate "$prefix/$desktop" 2>&1) || fail "desktop-file-validate failed"
  [ -z "$out" ] || fail "desktop-file-validate: $out"
  # The program reads no command line, so the entry passes it no files.
  grep -qx 'Exec=tolvex-file-renamer' "$prefix/$desktop" || fail "$desktop does not start the installed program alone"
  grep -qx "Icon=$id" "$prefix/$desktop" || fail "$desktop does not name the installed icon"
fi

metainfo=share/metainfo/$id.metainfo.xml
if need "$metainfo"; then
  out=$(appstreamcli validate --no-net "$prefix/$metainfo" 2>&1) || fail "appstreamcli validate failed: $out"
  if grep -E '^[EWI]: ' <<<"$out"; then fail "appstreamcli validate reports issues"; fi
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/$metainfo" \
    || fail "$metainfo does not launch $id.desktop"
  # The newest release listed first is the one being built.
  first=$(grep -m1 -o '<release version="[^"]*"' "$prefix/$metainfo" | cut -d'"' -f2)
  [ "$first" = "$version" ] || fail "$metainfo lists release '$first' first, the build is $version"
fi

# Each shell's completion where that shell looks for a program's own.
need share/bash-completion/completions/tolvex-rename || true
need share/zsh/vendor-completions/_tolvex-rename || true
need share/fish/vendor_completions.d/tolvex-rename.fish || true

need "share/icons/hicolor/scalable/apps/$id.svg" || true
for size in 16 22 24 32 48 64 128 256; do
  png=share/icons/hicolor/${size}x${size}/apps/$id.png
  if need "$png"; then
    actual=$(pngSize "$prefix/$png")
    [ "$actual" = "${size}x${size}" ] || fail "$png is $actual"
  fi
done

# The tree as a whole: the metainfo's launchable entry and its icon exist.
out=$(appstreamcli validate-tree --no-net "$prefix" 2>&1) || fail "appstreamcli validate-tree failed: $out"
if grep -E '^[EWI]: ' <<<"$out"; then fail "appstreamcli validate-tree reports issues"; fi

if [ "$failures" -ne 0 ]; then
  echo "$failures problem(s) in the installed tree"
  exit 1
fi
echo "installed tree complete and valid"
