#!/usr/bin/env bash
# HiDPI scale 2 (HUIWENFANG_SCALE=2): the main window is 1904×1432, a click
# at the doubled position of 画图1 draws a pattern, and every 2×2 block of the
# canvas on screen is one colour, the colour of the canvas pixel at scale 1
# (the pattern is the same: the random sequence starts alike in every run).
# The colour dialog opened at scale 2 is twice its size at scale 1 and shows
# the same picture in 2×2 blocks.
#
# usage: hidpi_scale.sh <path-to-huiwenfang>. Exit 77 = skipped.
set -u
source "$(dirname "$0")/lib/common.bash"
e2e_setup "${1:-}"
e2e_require compare
E2E_SCREEN=2048x1536x24
e2e_start_display

# Draws with 画图1 and crops the canvas (scaled) out of a screenshot into $1.
draw_canvas() {
  local before s=$E2E_SCALE
  local area="$((201 * s))x$((201 * s))+$((746 * s))+$((6 * s))"
  before=$(e2e_area_sum "$area")
  e2e_press cmdpaint
  e2e_wait_for 10 e2e_area_changed "$area" "$before" || fail "scale $s: 画图1 drew nothing"
  e2e_move 400 400
  sleep 0.3
  e2e_shot "$E2E_WORK/shot.ppm" || fail "no screenshot"
  e2e_crop "$E2E_WORK/shot.ppm" "$area" "$1"
}

# Opens the colour dialog and puts a screenshot of it into $1 and its size
# into $dlg_size.
open_colour_dialog() {
  local dlg
  e2e_press cmddan
  dlg=$(e2e_wait_new_window) || fail "scale $E2E_SCALE: the colour dialog did not appear"
  sleep 0.5
  e2e_shot "$1" "$dlg" || fail "no screenshot of the colour dialog"
  dlg_size=$(identify -format '%wx%h' "$1")
}

# Succeeds when every 2×2 block of the picture $1 is one colour: shrunk by
# taking one pixel per block and grown back, it is unchanged.
blocks_of_one_colour() {
  convert "$1" -sample 50% -sample 200% "$E2E_WORK/blocks.ppm" &&
    [ "$(compare -metric AE "$1" "$E2E_WORK/blocks.ppm" null: 2>&1)" = 0 ]
}

# Succeeds when the scale-2 picture $1, one pixel taken per block, is the
# scale-1 picture $2.
same_at_half() {
  convert "$1" -sample 50% "$E2E_WORK/half.ppm" &&
    [ "$(compare -metric AE "$E2E_WORK/half.ppm" "$2" null: 2>&1)" = 0 ]
}

# --- scale 1: the reference ---------------------------------------------------
e2e_start_app
draw_canvas "$E2E_WORK/canvas1.ppm"
open_colour_dialog "$E2E_WORK/dialog1.ppm"
dialog1_size=$dlg_size
kill "$E2E_APP_PID"
e2e_wait_exit 10 || fail "the program did not end on SIGTERM"

# --- scale 2 ------------------------------------------------------------------
E2E_SCALE=2
e2e_start_app
eval "$(xdotool getwindowgeometry --shell "$E2E_WID")"
[ "${WIDTH}x${HEIGHT}" = 1904x1432 ] || fail "the main window is ${WIDTH}x${HEIGHT} at scale 2, not 1904x1432"
draw_canvas "$E2E_WORK/canvas2.ppm"
blocks_of_one_colour "$E2E_WORK/canvas2.ppm" || fail "the canvas at scale 2 is not made of 2×2 blocks"
same_at_half "$E2E_WORK/canvas2.ppm" "$E2E_WORK/canvas1.ppm" ||
  fail "the canvas at scale 2 is not the canvas of scale 1 in 2×2 blocks"
echo "ok: the canvas at scale 2 is the scale-1 canvas in 2×2 blocks"

open_colour_dialog "$E2E_WORK/dialog2.ppm"
IFS=x read -r w1 h1 <<<"$dialog1_size"
[ "$dlg_size" = "$((2 * w1))x$((2 * h1))" ] ||
  fail "the colour dialog is $dlg_size at scale 2 and $dialog1_size at scale 1"
blocks_of_one_colour "$E2E_WORK/dialog2.ppm" || fail "the colour dialog at scale 2 is not made of 2×2 blocks"
same_at_half "$E2E_WORK/dialog2.ppm" "$E2E_WORK/dialog1.ppm" ||
  fail "the colour dialog at scale 2 does not show its scale-1 picture in 2×2 blocks"
echo "ok: the colour dialog is $dlg_size at scale 2 ($dialog1_size at scale 1)"
exit 0
