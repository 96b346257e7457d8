#!/usr/bin/env bash
# The display goes away under the running program: it must end within a few
# seconds instead of spinning in its event wait. Tried twice: once idle, and
# once with 自动图1 running, whose timer keeps the event wait short.
#
# usage: lost_display.sh <path-to-huiwenfang>. Exit 77 = skipped.
set -u
source "$(dirname "$0")/lib/common.bash"
e2e_setup "${1:-}"

kill_display_under_app() {
  kill "$E2E_XVFB_PID"
  wait "$E2E_XVFB_PID" 2>/dev/null
  E2E_XVFB_PID=""
  e2e_wait_exit 5 || {
    ps -o pid,stat,pcpu,time -p "$E2E_APP_PID"
    fail "$1: the program still runs 5 s after its display went away"
  }
  # A signal (128 and above) would mean a crash, not an ending.
  [ "$E2E_STATUS" -lt 128 ] || fail "$1: the program died with status $E2E_STATUS"
  grep -q "display went away" "$E2E_WORK/app.log" || fail "$1: the program did not say why it ended"
  echo "$1: ended with status $E2E_STATUS"
}

e2e_start_display
e2e_start_app
kill_display_under_app "idle"

e2e_start_display
e2e_start_app
before=$(e2e_area_sum "$E2E_CANVAS")
e2e_press Command4
e2e_wait_for 6 e2e_area_changed "$E2E_CANVAS" "$before" || fail "自动图1 did not start"
kill_display_under_app "自动图1 running"
echo "ok: the program ends when its display goes away"
exit 0
