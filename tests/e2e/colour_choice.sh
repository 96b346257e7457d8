#!/usr/bin/env bash
# 前景色: a basic colour picked in the colour dialog and confirmed with 确定 is
# the colour of the next 画图1's lines. Before it the lines are black (the
# line colour starts at 0); after it they have exactly the swatch's colour.
#
# usage: colour_choice.sh <path-to-huiwenfang>. Exit 77 = skipped.
set -u
source "$(dirname "$0")/lib/common.bash"
e2e_setup "${1:-}"
e2e_start_display
e2e_start_app

draw() {
  local before
  before=$(e2e_area_sum "$E2E_CANVAS")
  e2e_press cmdpaint
  e2e_wait_for 10 e2e_area_changed "$E2E_CANVAS" "$before" || fail "画图1 drew nothing"
  sleep 0.3
  e2e_shot "$E2E_WORK/shot.ppm" || fail "no screenshot"
}

# Prints "x y" of the middle of the pixels of colour $1 inside the rectangle
# $2 (WxH+X+Y) of the last screenshot, or nothing.
find_colour() {
  local r g b w h x0 y0
  IFS=, read -r r g b <<<"$1"
  IFS='x+' read -r w h x0 y0 <<<"$2"
  convert "$E2E_SHOT" -crop "$2" +repage -depth 8 rgb:- | od -An -tu1 -v -w3 |
    awk -v r="$r" -v g="$g" -v b="$b" -v w="$w" -v x0="$x0" -v y0="$y0" '
      $1 == r && $2 == g && $3 == b {
        x = (NR - 1) % w; y = int((NR - 1) / w)
        if (n == 0 || x < minx) minx = x; if (n == 0 || x > maxx) maxx = x
        if (n == 0 || y < miny) miny = y; if (n == 0 || y > maxy) maxy = y
        n++
      }
      END { if (n >= 50) print x0 + int((minx + maxx) / 2), y0 + int((miny + maxy) / 2) }'
}

red="255,0,0"
draw
black=$(e2e_count_colour "$E2E_CANVAS" 0,0,0)
[ "$black" -ge 200 ] || fail "the first pattern is not drawn in black ($black black pixels)"
[ "$(e2e_count_colour "$E2E_CANVAS" "$red")" = 0 ] || fail "the first pattern already has red pixels"

e2e_press cmddan
dlg=$(e2e_wait_new_window) || fail "the colour dialog did not appear"
sleep 0.5
e2e_shot "$E2E_WORK/dialog.ppm" "$dlg" || fail "no screenshot of the colour dialog"
# The basic colours fill the top-left of the dialog; the red swatch is found
# by its colour rather than by a cell size.
pos=$(find_colour "$red" 220x150+0+16)
[ -n "$pos" ] || fail "the colour dialog shows no pure red swatch"
read -r x y <<<"$pos"
xdotool mousemove --window "$dlg" "$x" "$y" click 1
sleep 0.3
# 确定 is the default button: Return confirms the picked colour.
xdotool key Return
e2e_wait_for 10 e2e_window_gone "$dlg" || fail "the colour dialog did not close on 确定"

draw
reds=$(e2e_count_colour "$E2E_CANVAS" "$red")
black=$(e2e_count_colour "$E2E_CANVAS" 0,0,0)
echo "after picking red: $reds red and $black black pixels on the canvas"
[ "$reds" -ge 200 ] || fail "the next 画图1 did not draw in the picked red"
# Each curve starts with one black dot; the lines themselves are red.
[ "$black" -lt "$reds" ] || fail "the pattern is still mostly black"
echo "ok: the colour picked in 前景色 draws the next pattern"
exit 0
