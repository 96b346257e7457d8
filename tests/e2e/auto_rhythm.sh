#!/usr/bin/env bash
# 自动图1 clicked again while it runs keeps its rhythm: two clicks 1.5 s apart, and a new pattern
# is on the screen by 2.3 s after the first (a second click that restarted the 2-second clock
# would hold it back until 3.5 s).
#
# usage: auto_rhythm.sh <path-to-huiwenfang>. Exit 77 = skipped.
set -u
source "$(dirname "$0")/lib/common.bash"
e2e_setup "${1:-}"
e2e_require python3
e2e_start_display
e2e_start_app

now_ms() { date +%s%3N; }

# The canvas is watched from before the first click by one process that reads it from the X
# server every 10 ms: a screenshot program started for each look is too slow to time this.
: >"$E2E_WORK/watch.err"
python3 "$(dirname "$0")/lib/watch_area.py" "$E2E_WID" 746 6 201 201 8 \
  >"$E2E_WORK/watch.out" 2>"$E2E_WORK/watch.err" &
watcher=$!
e2e_wait_for 10 grep -q ready "$E2E_WORK/watch.err" || fail "the canvas watcher did not start"

# The click is the last thing xdotool does: the time it returns is the time of the click.
e2e_press Command4
t0=$(now_ms)
while [ $(($(now_ms) - t0)) -lt 1500 ]; do sleep 0.01; done
second=$(($(now_ms) - t0))
e2e_press Command4

wait "$watcher"
seen=$(cat "$E2E_WORK/watch.out")
[ "$seen" != none ] && [ -n "$seen" ] || fail "no new pattern within 8 s of the first click"
seen=$((seen - t0))
echo "second click at $second ms; a new pattern was on the screen by $seen ms"
[ "$seen" -ge 1500 ] || fail "the canvas changed $seen ms after the first click, long before a tick was due"
[ "$seen" -le 2300 ] || fail "the new pattern came $seen ms after the first click, not by 2300 ms"
e2e_press Command6
kill -0 "$E2E_APP_PID" 2>/dev/null || fail "the program ended"
echo "ok: a second click on 自动图1 left its 2-second rhythm alone"
exit 0
