#!/usr/bin/env bash
# Closing the main window the way a window manager's close button does (a
# WM_DELETE_WINDOW message) ends the program with status 0, asks nothing, and
# leaves no file behind: not in its working folder, its home or its TMPDIR,
# but for the font answers it keeps between runs in its own cache folder
# ($HOME/.cache/huiwenfang/font-answers).
# The program has drawn and tiled a pattern first, so there was something it
# could have wanted to keep.
#
# usage: close_window.sh <path-to-huiwenfang>. Exit 77 = skipped.
set -u
source "$(dirname "$0")/lib/common.bash"
e2e_setup "${1:-}"
e2e_require python3
e2e_start_display
mkdir -p "$E2E_WORK/home" "$E2E_WORK/tmp"
HOME="$E2E_WORK/home" TMPDIR="$E2E_WORK/tmp" e2e_start_app

before=$(e2e_area_sum "$E2E_CANVAS")
e2e_press cmdpaint
e2e_wait_for 10 e2e_area_changed "$E2E_CANVAS" "$before" || fail "画图1 drew nothing"
e2e_press Command2
sleep 0.5

python3 "$(dirname "$0")/lib/close_window.py" "$E2E_WID" || fail "could not send the close request"
e2e_wait_exit 10 || fail "closing the window did not end the program within 10 s"
[ "$E2E_STATUS" = 0 ] || fail "the program ended with status $E2E_STATUS"
kept="$E2E_WORK/home/.cache"
for dir in out home tmp; do
  left=$(find "$E2E_WORK/$dir" -mindepth 1 | grep -vxF -e "$kept" -e "$kept/huiwenfang" -e "$kept/huiwenfang/font-answers")
  [ -z "$left" ] || fail "the program left files in its $dir folder: $left"
done
echo "ok: closing the window ended the program with status 0 and no files left"
exit 0
