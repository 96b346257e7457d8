#!/usr/bin/env bash
# The real program under Xvfb: 画图1 then 效果图 clicked at their layout
# positions, then 保存 with a typed path and the create prompt answered.
# Checks the screen (the effect picture's top-left tile is the canvas) and the
# file (a 737×709 24-bit bitmap whose top-left tile is the canvas too).
#
# usage: main_window.sh <path-to-huiwenfang>. Exit 77 = skipped.
set -u

for tool in Xvfb xdotool import compare convert; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool missing: skipped"; exit 77; }
done
prog=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
[ -x "$prog" ] || { echo "program $prog not built: skipped"; exit 77; }

display=""
for n in $(seq 141 190); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free display number"; exit 1; }

work=$(mktemp -d)
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
app_pid=""
cleanup() {
  # The program goes first, while its display is still there to close on.
  if [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null; then
    for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$app_pid" 2>/dev/null
  fi
  kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; cat "$work/app.log" 2>/dev/null; exit 1; }

for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.1
done
export DISPLAY="$display"

# The save dialog starts in the working directory.
mkdir -p "$work/out"
(cd "$work/out" && exec "$prog") >"$work/app.log" 2>&1 &
app_pid=$!

wid=$(timeout 20 xdotool search --sync --pid "$app_pid" --name '澜帆绘纹坊' | head -n 1)
[ -n "$wid" ] || fail "the main window did not appear"
sleep 1

# Layout positions (window client pixels): 画图1 at (752,260) 69×21,
# 效果图 at (752,308), 保存 at (752,332).
click() {
  xdotool mousemove --window "$wid" "$1" "$2" click 1
  sleep 0.7
}
click 786 270
click 786 318
xdotool mousemove --window "$wid" 400 400
sleep 0.5

import -window "$wid" "$work/shot.png" || fail "no screenshot"
# Picture1's drawing area starts at (2,2), picpaint's at (746,6); both tiles
# are 201×201.
convert "$work/shot.png" -crop 201x201+746+6 +repage "$work/canvas.png"
convert "$work/shot.png" -crop 201x201+2+2 +repage "$work/tile.png"
colours=$(convert "$work/canvas.png" -format '%k' info:)
[ "$colours" -ge 2 ] || fail "the canvas shows no pattern ($colours colour)"
diff=$(compare -metric AE "$work/canvas.png" "$work/tile.png" null: 2>&1)
[ "$diff" = "0" ] || fail "the top-left tile differs from the canvas in $diff pixels"
convert "$work/shot.png" -crop 201x201+203+2 +repage "$work/tile2.png"
diff=$(compare -metric AE "$work/canvas.png" "$work/tile2.png" null: 2>&1)
[ "$diff" = "0" ] || fail "the second tile differs from the canvas in $diff pixels"

click 786 342
dlg=""
for _ in $(seq 50); do
  dlg=$(xdotool search --pid "$app_pid" --name '^保存$' 2>/dev/null | head -n 1)
  [ -n "$dlg" ] && break
  sleep 0.2
done
[ -n "$dlg" ] || fail "the save dialog did not appear"
sleep 0.5
target="$work/out/pattern-$$"
xdotool key --window "$dlg" ctrl+a
xdotool type --delay 20 "$target"
sleep 0.3
xdotool key Return
# The file does not exist yet: the create prompt answers Yes to Return.
sleep 1
xdotool key Return
for _ in $(seq 50); do
  [ -s "$target" ] && break
  sleep 0.2
done
[ -s "$target" ] || fail "no file was saved at $target"

size=$(stat -c %s "$target")
[ "$size" = "$((54 + 2212 * 709))" ] || fail "the file has $size bytes, not a 737×709 24-bit bitmap"
[ "$(head -c 2 "$target")" = "BM" ] || fail "the file does not start with BM"
convert "bmp:$target" -crop 201x201+0+0 +repage "$work/saved.png"
diff=$(compare -metric AE "$work/canvas.png" "$work/saved.png" null: 2>&1)
[ "$diff" = "0" ] || fail "the saved picture's top-left tile differs from the canvas in $diff pixels"

# SIGTERM ends the program promptly.
kill "$app_pid"
for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app_pid" 2>/dev/null; then fail "the program did not end within 5 s of SIGTERM"; fi
app_pid=""

echo "ok: drawn, tiled and saved to $target ($size bytes)"
exit 0
