#!/usr/bin/env bash
# A popup menu on a real screen: the menu key opens one and Escape closes
# it; a right click in an SDL window under Xvfb opens the menu as its own
# borderless window with its top-left corner at the cursor, the window that
# opened it stays active, hovering highlights an item and a click chooses it.
#
# usage: sdl_popup_menu.sh <path-to-huiwenfang>   (the test program is found
# beside it, in the build tree's tests/ folder). Exit 77 = skipped.
# HWF_E2E_MENU_SHOT=<file.png> keeps a screenshot of the open menu.
set -u
source "$(dirname "$0")/lib/common.bash"
e2e_setup "${1:-}"
prog="$(dirname "$E2E_PROG")/../tests/test_platform"
[ -x "$prog" ] || { echo "test program $prog not built: skipped"; exit 77; }
e2e_start_display

"$prog" --gtest_also_run_disabled_tests --gtest_filter='SdlMenuEndToEnd.*' >"$E2E_WORK/app.log" 2>&1 &
E2E_APP_PID=$!
E2E_WID=$(timeout 20 xdotool search --sync --name 'huiwenfang menu e2e' | head -n 1)
[ -n "$E2E_WID" ] || fail "no window with the caption appeared"
background() {
  e2e_shot "$E2E_WORK/shot.ppm" && [ "$(e2e_pixel 10 10)" = "56,160,245" ]
}
e2e_wait_for 10 background || fail "the window does not show its background"

# The menu key asks from the keyboard (position -1, -1: the menu goes to the
# corner it is pushed into); Escape closes the menu without a choice.
menus_listed() { [ "$(grep -c "^active " "$E2E_WORK/app.log")" -ge "$1" ]; }
xdotool key Menu
e2e_wait_for 10 menus_listed 1 || fail "the menu key opened no menu"
grep -q "^asked -1 -1$" "$E2E_WORK/app.log" || fail "the menu key did not ask with position -1"
grep -q "^menu 0 0 " "$E2E_WORK/app.log" || fail "the menu is not in the corner"
xdotool key Escape
closed() { grep -q "^chose 0$" "$E2E_WORK/app.log"; }
e2e_wait_for 10 closed || fail "Escape did not close the menu"

# Without a window manager the window's client area starts at (100, 100) of
# the screen: the right click at (60, 50) is at (160, 150).
xdotool mousemove --window "$E2E_WID" 60 50 click 3
e2e_wait_for 10 menus_listed 2 || fail "the right click opened no menu"
grep -q "^asked 160 150$" "$E2E_WORK/app.log" || fail "WM_CONTEXTMENU did not carry the screen position"
read -r _ mx my mw mh < <(grep "^menu " "$E2E_WORK/app.log" | tail -n 1)
[ "$mx $my" = "160 150" ] || fail "the menu is at $mx,$my, not at the cursor"
[ "$(grep -c "^active 1$" "$E2E_WORK/app.log")" = 2 ] || fail "a menu took the activation"

# The menu's own X window: borderless, at the cursor, the menu's size.
menu_wid=""
find_menu() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null); do
    [ "$id" = "$E2E_WID" ] && continue
    menu_wid=$id
    return 0
  done
  return 1
}
e2e_wait_for 10 find_menu || fail "no menu window on screen"
eval "$(xdotool getwindowgeometry --shell "$menu_wid")"
[ "$X,$Y,$WIDTH,$HEIGHT" = "$mx,$my,$mw,$mh" ] || fail "menu window at $X,$Y ${WIDTH}x$HEIGHT, expected $mx,$my ${mw}x$mh"

# On the screen: the raised edge at the corner, the menu's face inside, the
# owner's background just left of it.
shown() {
  e2e_shot "$E2E_WORK/root.ppm" root &&
    [ "$(e2e_pixel $((mx + 1)) $((my + 1)))" = "255,255,255" ] &&
    [ "$(e2e_pixel $((mx + 2)) $((my + 2)))" = "212,208,200" ] &&
    [ "$(e2e_pixel $((mx - 1)) $((my + 5)))" = "56,160,245" ]
}
e2e_wait_for 10 shown || fail "the menu is not drawn at the cursor: $(e2e_pixel $((mx + 2)) $((my + 2)))"

# Hovering the second item highlights it; a click there chooses it.
read -r _ _ ix iy < <(grep "^item 1 " "$E2E_WORK/app.log" | tail -n 1)
xdotool mousemove "$ix" "$iy"
highlighted() {
  e2e_shot "$E2E_WORK/root.ppm" root && [ "$(e2e_pixel $((mx + 4)) "$iy")" = "10,36,106" ]
}
e2e_wait_for 10 highlighted || fail "hovering did not highlight the item: $(e2e_pixel $((mx + 4)) "$iy")"
if [ -n "${HWF_E2E_MENU_SHOT:-}" ]; then
  convert "$E2E_WORK/root.ppm" -crop "$((mw + 60))x$((mh + 40))+$((mx - 30))+$((my - 20))" +repage \
    "$HWF_E2E_MENU_SHOT"
fi
xdotool click 1
e2e_wait_exit 10 || fail "the test program did not end after the choice"
cat "$E2E_WORK/app.log"
grep -q "^chose 102$" "$E2E_WORK/app.log" || fail "the click did not choose the second item"
[ "$E2E_STATUS" -eq 0 ] || fail "test program exited with $E2E_STATUS"
echo "PASS"
exit 0
