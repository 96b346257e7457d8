#!/usr/bin/env bash
# The amplitude list of Combo1 from the keyboard. F4 in the edit field opens
# the drop-down list; Down moves to the next amplitude and shows it in the edit
# field at once; Return closes the list and keeps it; Escape closes it and
# brings back what was chosen before it opened. The list is a window of its
# own that gets the keyboard when it shows, yet the keys must still reach the
# combo box of the main window.
#
# usage: combo_keys.sh <path-to-huiwenfang>. Exit 77 = skipped.
set -u
source "$(dirname "$0")/lib/common.bash"
e2e_setup "${1:-}"
e2e_require compare
e2e_start_display
e2e_start_app

# The edit field's text, left of the drop-down button of Combo1 (752,236).
field="44x16+755+239"
field_shot() {
  e2e_shot "$E2E_WORK/field.ppm" || fail "no screenshot"
  e2e_crop "$E2E_SHOT" "$field" "$E2E_WORK/$1.png"
}
differing() { compare -metric AE "$E2E_WORK/$1.png" "$E2E_WORK/$2.png" null: 2>&1; }

open_list() {
  xdotool key F4
  list=$(e2e_wait_new_window) || fail "F4 did not open the drop-down list"
}

e2e_click 770 247
sleep 0.3
field_shot start

open_list
xdotool key Down
sleep 0.5
field_shot moved
[ "$(differing start moved)" -gt 20 ] || fail "Down in the open list did not show the next amplitude"
xdotool key Return
e2e_wait_for 5 e2e_window_gone "$list" || fail "Return did not close the drop-down list"
sleep 0.3
field_shot chosen
# The caret may blink in the field: allow a column of pixels.
[ "$(differing moved chosen)" -le 16 ] || fail "Return did not keep the amplitude shown"

open_list
xdotool key Down
sleep 0.5
field_shot moved-again
[ "$(differing chosen moved-again)" -gt 20 ] || fail "Down did not move on from the chosen amplitude"
xdotool key Escape
e2e_wait_for 5 e2e_window_gone "$list" || fail "Escape did not close the drop-down list"
sleep 0.3
field_shot restored
[ "$(differing chosen restored)" -le 16 ] || fail "Escape did not bring back the amplitude chosen before"
kill -0 "$E2E_APP_PID" 2>/dev/null || fail "the program ended"
echo "ok: F4, Down, Return and Escape work the amplitude list"
exit 0
