#!/usr/bin/env bash
# The automatic modes on a running program: 自动图1 changes the canvas on every
# 2-second tick; 自动图2 takes over and keeps changing it; 停止自动 stops it, and
# the canvas and the effect picture then stay as they are for 3 s.
#
# usage: auto_modes.sh <path-to-huiwenfang>. Exit 77 = skipped.
set -u
source "$(dirname "$0")/lib/common.bash"
e2e_setup "${1:-}"
e2e_start_display
e2e_start_app

# Waits for the next tick (the canvas differs from the checksum $1, within
# 6 s: a tick is due every 2 s) and prints the new checksum.
next_tick() {
  e2e_wait_for 6 e2e_area_changed "$E2E_CANVAS" "$1" || return 1
  # A tick redraws in one go, so the screen may still show its first half.
  sleep 0.3
  e2e_area_sum "$E2E_CANVAS"
}

start=$(e2e_area_sum "$E2E_CANVAS")
e2e_press Command4
sum1=$(next_tick "$start") || fail "自动图1: the canvas did not change within 6 s"
t1=$SECONDS
sum2=$(next_tick "$sum1") || fail "自动图1: no second tick within 6 s"
echo "自动图1: two ticks, $((SECONDS - t1)) s apart"

e2e_press Command5
sum3=$(next_tick "$sum2") || fail "自动图2: the canvas did not change within 6 s"
sum4=$(next_tick "$sum3") || fail "自动图2: no second tick within 6 s"
echo "自动图2: two ticks"

e2e_press Command6
# A tick may have been drawn just before the click arrived.
sleep 0.5
stopped=$(e2e_area_sum "$E2E_CANVAS")
effect=$(e2e_area_sum 737x709+2+2)
deadline=$((SECONDS + 3))
while [ "$SECONDS" -lt "$deadline" ]; do
  [ "$(e2e_area_sum "$E2E_CANVAS")" = "$stopped" ] || fail "停止自动: the canvas still changes"
  sleep 0.3
done
[ "$(e2e_area_sum 737x709+2+2)" = "$effect" ] || fail "停止自动: the effect picture still changes"
kill -0 "$E2E_APP_PID" 2>/dev/null || fail "the program ended"
echo "ok: 自动图1 and 自动图2 tick, 停止自动 holds the canvas still for 3 s"
exit 0
