#!/usr/bin/env bash
# Start-up of the real program under Xvfb, measured from outside: the time
# from launch to the first complete frame on screen, repeated N times, with
# the median printed at the end.
#
# "Complete" is what the end-to-end tests wait for (tests/e2e/lib/common.bash,
# e2e_first_frame_shown): the window's background, the backgrounds of the
# canvas and of the effect picture, and the skin's outline on the first and
# the last command button all show their final colours. The screen is polled
# with ImageMagick's import; the time taken is when the first screenshot that
# shows the complete frame has been read, so each figure is an upper bound
# and is late by at most one poll (whose median length is printed too).
#
# Only Debian tools: Xvfb, xdotool, imagemagick, coreutils.
#
# usage: scripts/measure-startup.sh [path-to-huiwenfang] [runs]
#        (defaults: build/src/huiwenfang, 11 runs)
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
prog=${1:-$root/build/src/huiwenfang}
runs=${2:-11}
source "$root/tests/e2e/lib/common.bash"
e2e_setup "$prog"
e2e_start_display

now_ms() { echo $(($(date +%s%N) / 1000000)); }
median() { sort -n | awk '{v[NR] = $1} END {if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

window_ms=()
frame_ms=()
poll_ms=()
for run in $(seq "$runs"); do
  t0=$(now_ms)
  (cd "$E2E_WORK/out" && exec "$E2E_PROG") >"$E2E_WORK/app.log" 2>&1 &
  E2E_APP_PID=$!
  E2E_WID=""
  while [ -z "$E2E_WID" ]; do
    E2E_WID=$(xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null | head -n 1)
    [ $(($(now_ms) - t0)) -lt 30000 ] || { e2e_describe_app; fail "run $run: no window within 30 s"; }
  done
  t_window=$(now_ms)
  polls=0
  while :; do
    polls=$((polls + 1))
    e2e_first_frame_shown && break
    [ $(($(now_ms) - t0)) -lt 30000 ] || fail "run $run: no complete frame within 30 s"
  done
  t_frame=$(now_ms)
  window_ms+=($((t_window - t0)))
  frame_ms+=($((t_frame - t0)))
  poll_ms+=($(((t_frame - t_window) / polls)))
  printf 'run %2d: window after %4d ms, complete frame after %4d ms (%d polls)\n' \
    "$run" "$((t_window - t0))" "$((t_frame - t0))" "$polls"
  kill "$E2E_APP_PID"
  e2e_wait_exit 10 || fail "run $run: the program did not end on SIGTERM"
done

echo "median of $runs runs: window shown after $(printf '%s\n' "${window_ms[@]}" | median) ms," \
  "first complete frame after $(printf '%s\n' "${frame_ms[@]}" | median) ms" \
  "(one poll takes $(printf '%s\n' "${poll_ms[@]}" | median) ms)"
