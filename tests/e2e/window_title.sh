#!/usr/bin/env bash
# The window titles every X tool can read: WM_NAME is written as UTF8_STRING
# (beside _NET_WM_NAME), whatever the locale, so `xdotool search --name`
# finds the main window under LANG=C.UTF-8 and under LANG=C, and the save
# dialog's title "保存" the same way.
#
# usage: window_title.sh <path-to-huiwenfang>. Exit 77 = skipped.
set -u
source "$(dirname "$0")/lib/common.bash"
e2e_setup "${1:-}"
e2e_require xprop
e2e_start_display
e2e_start_app

# Checks the title properties of window $1, whose title is $2.
check_title() {
  local wm_name
  wm_name=$(xprop -id "$1" WM_NAME)
  [ "$wm_name" = "WM_NAME(UTF8_STRING) = \"$2\"" ] || fail "WM_NAME of $1 reads: $wm_name"
  [ "$(xprop -id "$1" _NET_WM_NAME)" = "_NET_WM_NAME(UTF8_STRING) = \"$2\"" ] ||
    fail "_NET_WM_NAME of $1 reads: $(xprop -id "$1" _NET_WM_NAME)"
  for lang in C.UTF-8 C; do
    LANG=$lang LC_ALL=$lang xdotool search --name "$3" | grep -qx "$1" ||
      fail "xdotool search --name '$3' does not find window $1 under LANG=$lang"
  done
}

check_title "$E2E_WID" "澜帆绘纹坊0.1版" 澜帆绘纹坊
echo "ok: the main window's title reads back in every locale"

e2e_press cmdsave
dlg=$(e2e_find_window '^保存$') || fail "the save dialog did not appear"
check_title "$dlg" "保存" '^保存$'
echo "ok: the save dialog's title reads back in every locale"
exit 0
