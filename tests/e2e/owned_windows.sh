#!/usr/bin/env bash
# Dialogs, message boxes, prompts and the drop-down list on a bare X server:
# a click on the disabled main window brings the open dialog forward with
# the keyboard, and the list shows and picks at its place (lib/owned_windows.bash).
#
# usage: owned_windows.sh <path-to-huiwenfang>. Exit 77 = skipped.
set -u
source "$(dirname "$0")/lib/common.bash"
source "$(dirname "$0")/lib/owned_windows.bash"
e2e_setup "${1:-}"
e2e_require xwininfo compare
e2e_start_display
e2e_start_app
ow_colour_dialog
ow_message_box
ow_drop_down_list
ow_save_dialog
echo "ok: owned windows on a bare X server"
exit 0
