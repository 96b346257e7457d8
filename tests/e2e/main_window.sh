#!/usr/bin/env bash
# The real program under Xvfb: 画图1 then 效果图 clicked at their layout
# positions, then 保存 with a typed path and the create prompt answered. Then a
# new pattern and effect, saved again under the same name: the overwrite
# prompt declined leaves the file as it was, accepted rewrites it with the new
# picture. SIGTERM ends the program.
#
# Checks the screen (the effect picture's first tiles are the canvas) and the
# file (a 737×709 24-bit bitmap whose top-left tile is the canvas).
#
# usage: main_window.sh <path-to-huiwenfang>. Exit 77 = skipped.
set -u
source "$(dirname "$0")/lib/common.bash"
e2e_setup "${1:-}"
e2e_require compare identify
e2e_start_display
e2e_start_app

# Draws, tiles and checks that the screen shows the canvas in the first two
# tiles of the effect picture; leaves the canvas in $E2E_WORK/canvas.png.
draw_and_tile() {
  local before diff
  before=$(e2e_area_sum "$E2E_CANVAS")
  e2e_press cmdpaint
  e2e_wait_for 10 e2e_area_changed "$E2E_CANVAS" "$before" || fail "画图1 drew nothing"
  before=$(e2e_area_sum 201x201+2+2)
  e2e_press Command2
  e2e_wait_for 10 e2e_area_changed 201x201+2+2 "$before" || fail "效果图 changed nothing"
  e2e_move 400 400
  sleep 0.3
  e2e_shot "$E2E_WORK/shot.ppm" || fail "no screenshot"
  # Picture1's drawing area starts at (2,2), picpaint's at (746,6).
  e2e_crop "$E2E_WORK/shot.ppm" "$E2E_CANVAS" "$E2E_WORK/canvas.png"
  e2e_crop "$E2E_WORK/shot.ppm" 201x201+2+2 "$E2E_WORK/tile.png"
  e2e_crop "$E2E_WORK/shot.ppm" 201x201+203+2 "$E2E_WORK/tile2.png"
  [ "$(convert "$E2E_WORK/canvas.png" -format '%k' info:)" -ge 2 ] || fail "the canvas shows no pattern"
  diff=$(compare -metric AE "$E2E_WORK/canvas.png" "$E2E_WORK/tile.png" null: 2>&1)
  [ "$diff" = "0" ] || fail "the top-left tile differs from the canvas in $diff pixels"
  diff=$(compare -metric AE "$E2E_WORK/canvas.png" "$E2E_WORK/tile2.png" null: 2>&1)
  [ "$diff" = "0" ] || fail "the second tile differs from the canvas in $diff pixels"
}

# Checks that $1 is a 737×709 24-bit bitmap whose top-left tile is the canvas.
check_saved_file() {
  local size diff
  size=$(stat -c %s "$1")
  [ "$size" = "$((54 + 2212 * 709))" ] || fail "the file has $size bytes, not a 737×709 24-bit bitmap"
  [ "$(head -c 2 "$1")" = "BM" ] || fail "the file does not start with BM"
  convert "bmp:$1" -crop 201x201+0+0 +repage "$E2E_WORK/saved.png"
  diff=$(compare -metric AE "$E2E_WORK/canvas.png" "$E2E_WORK/saved.png" null: 2>&1)
  [ "$diff" = "0" ] || fail "the saved picture's top-left tile differs from the canvas in $diff pixels"
}

# Opens the save dialog with 保存; its window id goes to $dlg.
open_save_dialog() {
  e2e_press cmdsave
  dlg=$(e2e_find_window '^保存$') || fail "the save dialog did not appear"
  # Keys go to the window under the pointer while no window manager runs.
  xdotool mousemove --window "$dlg" 20 5
}

# --- first save: a new file, through the create prompt ----------------------

draw_and_tile
open_save_dialog
target="$E2E_WORK/out/pattern-$$"
xdotool key ctrl+a
xdotool type --delay 20 "$target"
xdotool key Return
prompt=$(e2e_wait_new_window "$dlg") || fail "no create prompt for a new file"
xdotool mousemove --window "$prompt" 20 5 key y
e2e_wait_for 10 test -s "$target" || fail "no file was saved at $target"
e2e_wait_for 5 e2e_window_gone "$dlg" || fail "the save dialog stayed open after saving"
check_saved_file "$target"
first_sum=$(md5sum <"$target")
first_mtime=$(stat -c %y "$target")
echo "saved $target"

# --- second save onto the same name: declined, then accepted ----------------

draw_and_tile
open_save_dialog
# The dialog offers the name of the last save.
xdotool key Return
prompt=$(e2e_wait_new_window "$dlg") || fail "no overwrite prompt for an existing file"
xdotool mousemove --window "$prompt" 20 5 key n
e2e_wait_for 5 e2e_window_gone "$prompt" || fail "the overwrite prompt did not close on No"
sleep 0.5
[ "$(md5sum <"$target")" = "$first_sum" ] || fail "declining the overwrite still changed the file"
[ "$(stat -c %y "$target")" = "$first_mtime" ] || fail "declining the overwrite touched the file"
! e2e_window_gone "$dlg" || fail "declining the overwrite did not return to the save dialog"

xdotool mousemove --window "$dlg" 20 5 key Return
prompt=$(e2e_wait_new_window "$dlg") || fail "no overwrite prompt the second time"
xdotool mousemove --window "$prompt" 20 5 key y
e2e_wait_for 10 bash -c '[ "$(md5sum <"$1")" != "$2" ]' _ "$target" "$first_sum" ||
  fail "accepting the overwrite did not rewrite the file"
e2e_wait_for 5 e2e_window_gone "$dlg" || fail "the save dialog stayed open after overwriting"
check_saved_file "$target"
[ "$(find "$E2E_WORK/out" -mindepth 1 | wc -l)" = 1 ] || fail "saving left other files: $(ls -A "$E2E_WORK/out")"

# --- SIGTERM ends the program promptly ---------------------------------------

kill "$E2E_APP_PID"
e2e_wait_exit 5 || fail "the program did not end within 5 s of SIGTERM"
echo "ok: drawn, tiled, saved, overwrite declined then accepted; SIGTERM exit status $E2E_STATUS"
exit 0
