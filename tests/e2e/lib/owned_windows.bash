# The flows of windows owned by the main window, run on a bare X server and
# under a window manager alike (owned_windows.sh, owned_windows_openbox.sh):
#
#   colour dialog   前景色 opens it; a click on the main window leaves it on
#                   top with the keyboard; Escape closes it
#   message box     "abc" as amplitude, 画图1, a click on the canvas: the
#                   box stays on top with the keyboard; Escape closes it
#   save dialog     the same for the dialog, then for its overwrite prompt
#                   over it; "y" overwrites the file
#   drop-down list  the arrow opens it under the combo box, on top of
#                   everything and without the keyboard; a click picks an item
#
# Under a window manager each dialog also says what it is (WM_TRANSIENT_FOR
# its owner, the dialog type, the modal state, no maximise or minimise).
#
# The caller has sourced common.bash, started the display (and the manager,
# then setting OW_WM=1) and the program.

OW_WM=${OW_WM:-0}

# Prints the window's "x y w h" on the screen.
ow_geometry() {
  xwininfo -id "$1" | awk '
    /Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
    /^ *Width:/ {w = $NF} /^ *Height:/ {h = $NF} END {print x, y, w, h}'
}

# The window with the keyboard: the manager's active window, or the X focus.
ow_has_keyboard() {
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] || return 1
  [ "$OW_WM" = 1 ] || return 0
  [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]
}

# Under the manager: $1 is stacked above $2 (its list runs bottom to top).
ow_stacked_above() {
  [ "$OW_WM" = 1 ] || return 0
  local list
  list=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//' | tr ',' '\n' | while read -r id; do
    [ -n "$id" ] && printf '%d\n' "$id"
  done)
  local below above
  below=$(grep -nx "$2" <<<"$list" | cut -d: -f1)
  above=$(grep -nx "$1" <<<"$list" | cut -d: -f1)
  [ -n "$below" ] && [ -n "$above" ] && [ "$above" -gt "$below" ]
}

# Crops the window's place on the screen (what shows there, whoever's
# pixels they are) into the PNG $2.
ow_screen_at() {
  local x y w h
  read -r x y w h < <(ow_geometry "$1")
  timeout 10 import -window root -depth 8 "ppm:$E2E_WORK/root.ppm" 2>/dev/null || return 1
  convert "$E2E_WORK/root.ppm" -crop "${w}x$h+$x+$y" +repage "$2"
}

# The screen at the window's place shows what it showed in $2, but for a
# caret (a few columns of pixels).
ow_screen_shows() {
  ow_screen_at "$1" "$E2E_WORK/now.png" || return 1
  local differing
  differing=$(compare -metric AE "$E2E_WORK/now.png" "$2" null: 2>&1) || [ -n "$differing" ] || return 1
  [ "${differing%%.*}" -le 200 ] 2>/dev/null
}

# With OW_SHOTS set: the screen, cut to what the windows cover (the desktop
# is black), into $OW_SHOTS/wm-$1.png.
ow_keep_shot() {
  [ -n "${OW_SHOTS:-}" ] || return 0
  timeout 10 import -window root -depth 8 "ppm:$E2E_WORK/keep.ppm" 2>/dev/null &&
    convert "$E2E_WORK/keep.ppm" -trim +repage "$OW_SHOTS/wm-$1.png" || fail "cannot keep the screen as wm-$1.png"
}

# The screen at the window's place, kept in $2 once two looks 0.2 s apart
# agree (the window has painted itself).
ow_settled() {
  ow_screen_at "$1" "$E2E_WORK/settling.png" || return 1
  sleep 0.2
  ow_screen_shows "$1" "$E2E_WORK/settling.png" && cp "$E2E_WORK/now.png" "$2"
}

ow_on_top() { ow_has_keyboard "$1" && ow_stacked_above "$1" "$E2E_WID" && ow_screen_shows "$1" "$2"; }

# Under the manager: the window $1 is a modal dialog of $2, with neither a
# maximise nor a minimise button. Prints what xprop says of it.
ow_check_dialog_hints() {
  [ "$OW_WM" = 1 ] && [ -z "${OW_NO_HINTS:-}" ] || return 0
  local props
  props=$(xprop -id "$1" WM_TRANSIENT_FOR _NET_WM_WINDOW_TYPE _NET_WM_STATE _MOTIF_WM_HINTS WM_NORMAL_HINTS \
    _NET_WM_ALLOWED_ACTIONS)
  echo "xprop of window $1 (owner $2):"
  sed 's/^/  /' <<<"$props"
  local owner
  owner=$(sed -n 's/^WM_TRANSIENT_FOR(WINDOW): window id # //p' <<<"$props")
  [ -n "$owner" ] && [ "$(printf '%d' "$owner")" = "$2" ] || fail "window $1 is not transient for $2"
  grep -q '^_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_DIALOG$' <<<"$props" || fail "window $1 is no dialog"
  grep -q '_NET_WM_STATE_MODAL' <<<"$props" || fail "window $1 is not modal"
  # Functions move and close only (4 + 32), the decorations all.
  grep -q '^_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x3, 0x24, 0x1' <<<"$props" ||
    fail "window $1 offers more than moving and closing"
  local min max
  min=$(sed -n 's/.*program specified minimum size: //p' <<<"$props")
  max=$(sed -n 's/.*program specified maximum size: //p' <<<"$props")
  [ -n "$min" ] && [ "$min" = "$max" ] || fail "window $1 can be resized or maximised ($min, $max)"
  # What the manager made of it.
  grep -q '^_NET_WM_ALLOWED_ACTIONS(ATOM) = .*_NET_WM_ACTION_CLOSE' <<<"$props" || fail "the manager has not taken window $1"
  ! grep -q '_NET_WM_ACTION_MAXIMIZE\|_NET_WM_ACTION_RESIZE' <<<"$props" || fail "the manager lets window $1 maximise"
}

# Clicks the main window at client ($2,$3), outside the owned window $1, and
# checks that $1 is still on top with the keyboard afterwards.
ow_click_owner() {
  local dlg=$1 px=$2 py=$3 x y w h mx my
  read -r x y w h < <(ow_geometry "$dlg")
  read -r mx my _ _ < <(ow_geometry "$E2E_WID")
  if [ $((mx + px)) -ge "$x" ] && [ $((mx + px)) -lt $((x + w)) ] &&
    [ $((my + py)) -ge "$y" ] && [ $((my + py)) -lt $((y + h)) ]; then
    fail "the click at ($px,$py) would land on window $dlg itself"
  fi
  e2e_wait_for 10 ow_has_keyboard "$dlg" || fail "window $dlg did not get the keyboard when it showed"
  e2e_wait_for 10 ow_settled "$dlg" "$E2E_WORK/before.png" || fail "window $dlg did not settle on the screen"
  e2e_click "$px" "$py"
  sleep 0.5
  e2e_wait_for 10 ow_on_top "$dlg" "$E2E_WORK/before.png" ||
    fail "after a click on the main window, window $dlg is not on top with the keyboard" \
      "(focus $(xdotool getwindowfocus), active $(xdotool getactivewindow 2>/dev/null))"
}

# The window $1 ($2 names it), just opened by the main window: it says what
# it is, stays on top when the main window is clicked at ($3,$4), is kept as
# wm-$5.png and closes on Escape.
ow_modal_flow() {
  ow_check_dialog_hints "$1" "$E2E_WID"
  ow_click_owner "$1" "$3" "$4"
  ow_keep_shot "$5"
  xdotool key Escape
  e2e_wait_for 10 e2e_window_gone "$1" || fail "Escape did not close $2"
  echo "ok: $2 stays on top of a clicked main window"
}

ow_colour_dialog() {
  e2e_press cmddan
  local dlg
  dlg=$(e2e_wait_new_window) || fail "the colour dialog did not appear"
  ow_modal_flow "$dlg" "the colour dialog" 100 400 colour-dialog
}

ow_message_box() {
  e2e_click 770 247
  xdotool key End
  local _ box
  for _ in 1 2 3 4 5 6; do xdotool key BackSpace; done
  xdotool type --delay 30 abc
  e2e_press cmdpaint
  box=$(e2e_wait_new_window) || fail "no message box for the amplitude abc"
  # Clicked on the canvas.
  ow_modal_flow "$box" "the message box" 846 106 message-box
}

ow_save_dialog() {
  local target="$E2E_WORK/out/pattern-there" dlg prompt
  echo old >"$target"
  e2e_press cmdsave
  dlg=$(e2e_find_window '^保存$') || fail "the save dialog did not appear"
  ow_check_dialog_hints "$dlg" "$E2E_WID"
  ow_click_owner "$dlg" 100 400
  # The file name field has the keyboard.
  xdotool key ctrl+a
  xdotool type --delay 20 "$target"
  xdotool key Return
  prompt=$(e2e_wait_new_window "$dlg") || fail "no overwrite prompt for $target"
  ow_check_dialog_hints "$prompt" "$dlg"
  ow_click_owner "$prompt" 100 400
  ow_stacked_above "$prompt" "$dlg" || fail "the prompt is not above the save dialog"
  ow_keep_shot save-prompt
  xdotool key y
  e2e_wait_for 10 e2e_window_gone "$dlg" || fail "the save dialog stayed open after the prompt"
  e2e_wait_for 10 grep -q '^BM' "$target" || fail "the file was not overwritten with a bitmap"
  echo "ok: the save dialog and its prompt stay on top; the file was overwritten"
}

ow_drop_down_list() {
  # Combo1's arrow, the right end of the 69×22 box at (752,236).
  local field="44x16+755+239" list x y w h mx my
  e2e_shot "$E2E_WORK/field.ppm" || fail "no screenshot"
  e2e_crop "$E2E_SHOT" "$field" "$E2E_WORK/field-before.png"
  e2e_click 812 247
  list=$(e2e_wait_new_window) || fail "the arrow did not open the drop-down list"
  xwininfo -id "$list" | grep -q 'Override Redirect State: yes' || fail "the list is managed by the window manager"
  read -r x y w h < <(ow_geometry "$list")
  read -r mx my _ _ < <(ow_geometry "$E2E_WID")
  echo "the list at $x,$y ${w}x$h; the main window's client area at $mx,$my"
  [ $((x - mx)) -eq 752 ] && [ $((y - my)) -eq 258 ] || fail "the list is not under its combo box"
  # On the screen there: the list's white face, not the buttons under it.
  sleep 0.3
  ow_screen_at "$list" "$E2E_WORK/list.png" || fail "no screenshot"
  ow_keep_shot drop-down-list
  local white
  white=$(convert "$E2E_WORK/list.png" -depth 8 rgb:- | od -An -tu1 -v -w3 |
    awk '$1 == 255 && $2 == 255 && $3 == 255 {n++} END {print n + 0}')
  [ "$white" -ge $((w * h / 3)) ] || fail "the list does not show on the screen ($white white pixels)"
  # Without a manager SDL hands the X focus to every window it maps; the
  # program keeps its keys with the main window regardless.
  if [ "$OW_WM" = 1 ] && [ "$(xdotool getwindowfocus)" != "$E2E_WID" ]; then
    fail "the list took the keyboard from the main window"
  fi
  # The third item.
  xdotool mousemove --window "$list" 10 $((h * 5 / 12)) click 1
  e2e_wait_for 5 e2e_window_gone "$list" || fail "a click on an item did not close the list"
  sleep 0.3
  e2e_shot "$E2E_WORK/field.ppm" || fail "no screenshot"
  e2e_crop "$E2E_SHOT" "$field" "$E2E_WORK/field-after.png"
  local changed
  changed=$(compare -metric AE "$E2E_WORK/field-before.png" "$E2E_WORK/field-after.png" null: 2>&1)
  [ "${changed%%.*}" -gt 20 ] || fail "the clicked item is not in the combo box"
  echo "ok: the drop-down list shows under its combo box and picks the clicked item"
}
