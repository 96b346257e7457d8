#!/usr/bin/env bash
# `cmake --install` of the build tree that holds the program, into a fresh
# prefix: the binary, the desktop entry and the icon land in their standard
# places, the entry is valid and names what was installed, and the icons are
# the pictures they claim to be.
#
# usage: install.sh <path-to-huiwenfang>. Exit 77 = skipped.
set -u
command -v cmake >/dev/null 2>&1 || { echo "cmake missing: skipped"; exit 77; }
[ -n "${1:-}" ] || { echo "usage: $0 <path-to-huiwenfang>"; exit 2; }
[ -x "$1" ] || { echo "program $1 not built: skipped"; exit 77; }

build=$(cd "$(dirname "$1")" && pwd)
while [ "$build" != / ] && [ ! -f "$build/CMakeCache.txt" ]; do build=$(dirname "$build"); done
[ -f "$build/CMakeCache.txt" ] || { echo "FAIL: no build tree above $1"; exit 1; }

prefix=$(mktemp -d "${TMPDIR:-/tmp}/hwf-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1 || { cat "$prefix.log"; rm -f "$prefix.log"; fail "cmake --install failed"; }
rm -f "$prefix.log"

bin="$prefix/bin/huiwenfang"
desktop="$prefix/share/applications/huiwenfang.desktop"
icons="$prefix/share/icons/hicolor"
[ -x "$bin" ] || fail "no executable bin/huiwenfang"
cmp -s "$bin" "$1" || echo "note: the installed binary differs from the build's (install may strip or relink)"
[ -f "$desktop" ] || fail "no share/applications/huiwenfang.desktop"
[ -f "$icons/scalable/apps/huiwenfang.svg" ] || fail "no scalable icon"
for size in 48 256; do
  [ -f "$icons/${size}x${size}/apps/huiwenfang.png" ] || fail "no ${size}x${size} icon"
done

# The desktop entry: one [Desktop Entry] group with what a launcher needs.
entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(head -n 1 "$desktop")" = "[Desktop Entry]" ] || fail "the desktop file does not start with [Desktop Entry]"
[ "$(entry Type)" = Application ] || fail "Type is not Application"
[ "$(entry Name)" = 绘纹坊 ] || fail "Name is not 绘纹坊"
[ "$(entry 'Name\[zh_CN\]')" = 绘纹坊 ] || fail "Name[zh_CN] is not 绘纹坊"
[ -n "$(entry Comment)" ] || fail "no Comment"
[ "$(entry Terminal)" = false ] || fail "Terminal is not false"
case ";$(entry Categories)" in *";Graphics;"*) ;; *) fail "Categories lacks Graphics" ;; esac
# Exec and Icon name what the install put in place.
[ "$(entry Exec)" = huiwenfang ] || fail "Exec is not huiwenfang"
[ "$(entry Icon)" = huiwenfang ] || fail "Icon is not huiwenfang"
[ -x "$prefix/bin/$(entry Exec)" ] || fail "Exec names no installed program"
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the entry"
else
  echo "note: desktop-file-validate missing, entry checked by hand only"
fi

# The pictures: PNGs of their stated size, an SVG document.
for size in 48 256; do
  png="$icons/${size}x${size}/apps/huiwenfang.png"
  [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$png is no PNG"
  # IHDR holds the width and height as big-endian 32-bit numbers at bytes 16..23.
  dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}')
  [ "$dims" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $dims"
done
grep -q '<svg' "$icons/scalable/apps/huiwenfang.svg" || fail "the scalable icon is no SVG"
if command -v python3 >/dev/null 2>&1; then
  python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])' \
    "$icons/scalable/apps/huiwenfang.svg" || fail "the scalable icon is not well-formed XML"
fi

echo "ok: installed into $prefix:"
(cd "$prefix" && find . -type f | sort)
exit 0
