#!/usr/bin/env bash
# A real SDL window under Xvfb: it appears with its caption, and a click
# injected with xdotool arrives as WM_LBUTTONDOWN/UP at the right client
# position of the child window under it.
#
# usage: sdl_window.sh <path-to-huiwenfang>   (the test program is found
# beside it, in the build tree's tests/ folder). Exit 77 = skipped.
set -u
source "$(dirname "$0")/lib/common.bash"
e2e_setup "${1:-}"
prog="$(dirname "$E2E_PROG")/../tests/test_platform"
[ -x "$prog" ] || { echo "test program $prog not built: skipped"; exit 77; }
e2e_start_display

"$prog" --gtest_also_run_disabled_tests --gtest_filter='SdlEndToEnd.*' >"$E2E_WORK/app.log" 2>&1 &
E2E_APP_PID=$!
E2E_WID=$(timeout 20 xdotool search --sync --name 'huiwenfang e2e' | head -n 1)
[ -n "$E2E_WID" ] || fail "no window with the caption appeared"
echo "window $E2E_WID: $(xdotool getwindowname "$E2E_WID")"

# The client area shows the class brush (0x38A0F5) away from the child.
background() {
  e2e_shot "$E2E_WORK/shot.ppm" && [ "$(e2e_pixel 10 10)" = "56,160,245" ]
}
e2e_wait_for 10 background || fail "the window does not show its background: $(e2e_pixel 10 10)"

# The child sits at (50, 40) with a 1-px border: (60, 50) is its client (9, 9).
e2e_click 60 50
e2e_wait_exit 10 || fail "the test program did not end after the click"
cat "$E2E_WORK/app.log"
grep -q "child WM_LBUTTONDOWN 9 9" "$E2E_WORK/app.log" || fail "no button-down at (9, 9)"
grep -q "child WM_LBUTTONUP 9 9" "$E2E_WORK/app.log" || fail "no button-up at (9, 9)"
[ "$E2E_STATUS" -eq 0 ] || fail "test program exited with $E2E_STATUS"
echo "PASS"
exit 0
