#!/usr/bin/env bash
# The flows of owned_windows.sh under a window manager (openbox): dialogs,
# message boxes and prompts stay above the main window when it is clicked,
# keep the keyboard and tell the manager what they are; the drop-down list
# is left to the program and shows above everything.
# With HWF_E2E_SHOTS=<folder> the screen is kept in wm-*.png there along the
# way (the README's pictures: HWF_E2E_SHOTS=docs).
#
# usage: owned_windows_openbox.sh <path-to-huiwenfang>. Exit 77 = skipped.
set -u
source "$(dirname "$0")/lib/common.bash"
source "$(dirname "$0")/lib/owned_windows.bash"
e2e_setup "${1:-}"
e2e_require xwininfo compare
e2e_start_display
e2e_start_wm
OW_WM=1
OW_SHOTS=""
[ -n "${HWF_E2E_SHOTS:-}" ] && OW_SHOTS=$(cd "$HWF_E2E_SHOTS" && pwd)
e2e_start_app
ow_colour_dialog
ow_message_box
ow_drop_down_list
ow_save_dialog
echo "ok: owned windows under openbox"
exit 0
