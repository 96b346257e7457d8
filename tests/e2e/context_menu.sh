#!/usr/bin/env bash
# The context menu in the real window: a right click on the canvas opens it
# at the cursor with its eight rows, what cannot act grayed; with the canvas
# focused Ctrl+C puts the pattern's code on the desktop's clipboard, and
# `huiwenfang render --exact --code` draws that code equal to the canvas on
# screen; 导出四方连续图… writes the file render writes for that code; Alt+←
# after three 画图1 clicks shows the second pattern; on the effect picture
# the menu then offers 下一个图案 and the pasting of the code.
#
# usage: context_menu.sh <path-to-huiwenfang>. Exit 77 = skipped.
# HWF_E2E_MENU_SHOTS=<folder> keeps context-menu-canvas.png and
# context-menu-effect.png, the window with the open menu.
set -u
source "$(dirname "$0")/lib/common.bash"
e2e_setup "${1:-}"
e2e_require xclip compare python3
e2e_start_display
e2e_start_app

# An area ($1) once it has stopped changing: a picture may reach the screen
# in more than one piece.
last_sum=""
settled() {
  local now
  now=$(e2e_area_sum "$1") || return 1
  [ "$now" = "$last_sum" ] && return 0
  last_sum=$now
  return 1
}
keep_canvas() {
  last_sum=""
  e2e_wait_for 10 settled "$E2E_CANVAS" || fail "the canvas did not settle"
  e2e_shot "$E2E_WORK/canvas.ppm" || fail "no screenshot"
  e2e_crop "$E2E_SHOT" "$E2E_CANVAS" "$1"
}
same_picture() {
  [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]
}

for i in 1 2 3; do
  before=$(e2e_area_sum "$E2E_CANVAS")
  e2e_press cmdpaint
  e2e_wait_for 10 e2e_area_changed "$E2E_CANVAS" "$before" || fail "画图1 number $i drew nothing"
  keep_canvas "$E2E_WORK/pattern$i.png"
done

eval "$(xdotool getwindowgeometry --shell "$E2E_WID")"
wx=$X wy=$Y ww=$WIDTH wh=$HEIGHT

# Opens the menu with a right click at ($1,$2) of the window and checks its
# place and rows against $3; keeps a picture of it as $4 when asked to.
menu_wid=""
open_menu() {
  xdotool mousemove --window "$E2E_WID" "$1" "$2" click 3
  menu_wid=$(e2e_wait_new_window) || fail "a right click at $1,$2 opened no menu"
  eval "$(xdotool getwindowgeometry --shell "$menu_wid")"
  [ "$X,$Y" = "$((wx + $1)),$((wy + $2))" ] || fail "the menu is at $X,$Y, not at the cursor"
  local rows=""
  read_rows() {
    e2e_shot "$E2E_WORK/root.ppm" root || return 1
    rows=$(python3 "$(dirname "$0")/lib/menu_rows.py" "$E2E_WORK/root.ppm" "$X" "$Y" "$WIDTH" "$HEIGHT")
    [ "$rows" = "$3" ]
  }
  e2e_wait_for 10 read_rows "$@" || fail "the menu at $1,$2 shows rows '$rows', not '$3'"
  if [ -n "${HWF_E2E_MENU_SHOTS:-}" ]; then
    local right=$((X + WIDTH > wx + ww ? X + WIDTH + 12 : wx + ww))
    convert "$E2E_WORK/root.ppm" -crop "$((right - wx))x${wh}+${wx}+${wy}" +repage \
      "$HWF_E2E_MENU_SHOTS/$4"
  fi
  xdotool key Escape
  e2e_wait_for 10 e2e_window_gone "$menu_wid" || fail "Escape did not close the menu"
}

# Rows: 上一个图案, 下一个图案, -, 复制图案编号, 粘贴图案编号, -, the two exports.
# The third pattern is the last, and the desktop's clipboard is empty.
open_menu 846 106 "E G - E G - E E" context-menu-canvas.png

# Ctrl+C with the canvas focused: the code of the pattern on screen.
e2e_click 846 106
xdotool key ctrl+c
code=""
copied() {
  code=$(xclip -o -selection clipboard 2>/dev/null) && [[ "$code" =~ ^hwf1-[12]-[0-9a-z-]{55}$ ]]
}
e2e_wait_for 10 copied || fail "Ctrl+C put no pattern code on the clipboard: '$code'"
"$E2E_PROG" render --exact --code "$code" -o "$E2E_WORK/exact.png" 2>"$E2E_WORK/render.log" ||
  fail "render --exact --code $code failed: $(cat "$E2E_WORK/render.log")"
same_picture "$E2E_WORK/exact.png" "$E2E_WORK/pattern3.png" ||
  fail "render --exact --code $code differs from the canvas on screen"

# 导出四方连续图… from the keyboard (Up wraps to the last item), saved under
# the name the dialog offers: the pattern's code, with the type's extension.
# The file is the one render writes for 4 x 4 seamless tiles in 4096 pixels.
xdotool mousemove --window "$E2E_WID" 846 106 click 3
menu_wid=$(e2e_wait_new_window) || fail "the right click opened no menu"
xdotool key Up Return
dialog=$(e2e_wait_new_window "$menu_wid") || fail "导出四方连续图… opened no dialog"
xdotool key Return
sheet="$E2E_WORK/out/$code.png"
e2e_wait_for 30 test -f "$sheet" || fail "no $sheet after the dialog"
"$E2E_PROG" render --code "$code" --size 1024 --repeat 4 --seamless -o "$E2E_WORK/sheet.png" \
  2>"$E2E_WORK/render.log" || fail "render --code $code --repeat 4 --seamless failed: $(cat "$E2E_WORK/render.log")"
cmp -s "$sheet" "$E2E_WORK/sheet.png" || fail "the exported sheet differs from render's"
e2e_wait_for 10 e2e_window_gone "$dialog" || fail "the dialog stayed open"

# Alt+←: the second pattern, pixel for pixel.
before=$(e2e_area_sum "$E2E_CANVAS")
xdotool key alt+Left
e2e_wait_for 10 e2e_area_changed "$E2E_CANVAS" "$before" || fail "Alt+← changed nothing"
keep_canvas "$E2E_WORK/back.png"
same_picture "$E2E_WORK/back.png" "$E2E_WORK/pattern2.png" || fail "Alt+← does not show the second pattern"

# On the effect picture of the second pattern, with a later pattern and a
# code on the clipboard.
effect_area="737x709+0+0"
before=$(e2e_area_sum "$effect_area")
e2e_press Command2
e2e_wait_for 10 e2e_area_changed "$effect_area" "$before" || fail "效果图 drew nothing"
last_sum=""
e2e_wait_for 10 settled "$effect_area" || fail "the effect picture did not settle"
open_menu 360 330 "E E - E E - E E" context-menu-effect.png

echo "ok: menu on the canvas and the effect picture, Ctrl+C gives $code, Alt+← shows the second pattern"
exit 0
