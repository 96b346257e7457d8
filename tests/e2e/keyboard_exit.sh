#!/usr/bin/env bash
# Exit from the keyboard. The window opens with picpaint (tab index 0)
# focused; the tab order then runs 前景色 (1), 画图1 (2), 保存 (3) and 退出 (4),
# which Picture1 covers so that only the keyboard reaches it. Three Tabs and
# Space open the save dialog of 保存, which proves the count; Escape closes it
# and the keyboard is back on 保存, so one more Tab reaches 退出 and Space ends
# the program with status 0.
#
# usage: keyboard_exit.sh <path-to-huiwenfang>. Exit 77 = skipped.
set -u
source "$(dirname "$0")/lib/common.bash"
e2e_setup "${1:-}"
e2e_start_display
e2e_start_app

# Keys go to the window with the keyboard focus, which SDL gives to the
# window it shows; the pointer rests over Picture1, which takes no clicks.
e2e_move 370 600
xdotool key --delay 80 Tab Tab Tab space
dlg=$(e2e_find_window '^保存$') || fail "three Tabs and Space did not reach 保存"
xdotool key --delay 80 Escape
e2e_wait_for 10 e2e_window_gone "$dlg" || fail "Escape did not close the save dialog"
xdotool key --delay 80 Tab space
e2e_wait_exit 10 || fail "after the dialog, Tab and Space did not end the program within 10 s"
[ "$E2E_STATUS" = 0 ] || fail "the program ended with status $E2E_STATUS"
[ -z "$(ls -A "$E2E_WORK/out")" ] || fail "the program left files behind: $(ls -A "$E2E_WORK/out")"
echo "ok: Tab to 退出 and Space ended the program with status 0"
exit 0
