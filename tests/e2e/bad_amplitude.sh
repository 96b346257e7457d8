#!/usr/bin/env bash
# A non-numeric amplitude typed into the combo box's edit field: 画图1 shows a
# message box naming the error instead of ending the program. After the box is
# dismissed the program goes on: with a number typed again, 画图1 draws.
#
# usage: bad_amplitude.sh <path-to-huiwenfang>. Exit 77 = skipped.
set -u
source "$(dirname "$0")/lib/common.bash"
e2e_setup "${1:-}"
e2e_start_display
e2e_start_app

# Combo1 at (752,236), 69×22: its edit field is left of the drop-down button.
type_amplitude() {
  e2e_click 770 247
  xdotool key End
  local _
  for _ in 1 2 3 4 5 6; do xdotool key BackSpace; done
  xdotool type --delay 30 "$1"
}

# The canvas shows its background only.
canvas_empty() {
  e2e_shot "$E2E_WORK/canvas.ppm" || return 1
  [ "$(e2e_count_colour "$E2E_CANVAS" 128,255,128)" = $((201 * 201)) ]
}
canvas_drawn() { ! canvas_empty; }

type_amplitude "8x0"
e2e_press cmdpaint
box=$(e2e_wait_new_window) || fail "no message box appeared for the amplitude 8x0"
kill -0 "$E2E_APP_PID" 2>/dev/null || fail "the program ended on a bad amplitude"
title=$(xdotool getwindowname "$box")
echo "message box $box: \"$title\""
[ -n "$title" ] || fail "the message box has no caption"

# The box shows an icon and its text on its face: several distinct colours
# in its upper half, not a blank face.
sleep 0.5
e2e_shot "$E2E_WORK/box.ppm" "$box" || fail "no screenshot of the message box"
w=$(identify -format '%w' "$E2E_WORK/box.ppm")
h=$(identify -format '%h' "$E2E_WORK/box.ppm")
colours=$(convert "$E2E_WORK/box.ppm" -crop "${w}x$((h / 2))+0+0" -format '%k' info:)
[ "$colours" -ge 3 ] || fail "the message box shows no text ($colours colours)"
[ -s "$E2E_WORK/app.log" ] && echo "program reported: $(head -n 1 "$E2E_WORK/app.log")"

# The canvas was cleared before the amplitude was read, and nothing drawn.
canvas_empty || fail "the canvas holds a pattern after the failed 画图1"

xdotool mousemove --window "$box" 10 5 key Return
e2e_wait_for 10 e2e_window_gone "$box" || fail "the message box did not close on Return"
kill -0 "$E2E_APP_PID" 2>/dev/null || fail "the program ended after the message box"

type_amplitude "80"
e2e_press cmdpaint
e2e_wait_for 10 canvas_drawn || fail "画图1 drew nothing after the message box"
[ -z "$(e2e_other_windows)" ] || fail "a message box appeared for the amplitude 80"
echo "ok: message box \"$title\" for a bad amplitude; 画图1 draws afterwards"
exit 0
