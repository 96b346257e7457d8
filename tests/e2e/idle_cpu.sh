#!/usr/bin/env bash
# Idle CPU of the real program: with its first frame shown, no timer running
# and no input, it waits for events and uses (almost) no CPU. Measured from
# /proc/<pid>/stat (user + system time) over 10 s; the limit is 2% of one core.
# The pointer rests outside the window, so no hover fade runs either.
#
# usage: idle_cpu.sh <path-to-huiwenfang> [seconds]. Exit 77 = skipped.
set -u
source "$(dirname "$0")/lib/common.bash"
e2e_setup "${1:-}"
e2e_require awk
seconds=${2:-10}
e2e_start_display
xdotool mousemove 1270 1010
e2e_start_app
# The frame is complete; whatever start-up still flushes is done in a moment.
sleep 1

hz=$(getconf CLK_TCK)
t0=$(date +%s%N)
c0=$(e2e_cpu_ticks "$E2E_APP_PID") || fail "cannot read the program's CPU time"
sleep "$seconds"
c1=$(e2e_cpu_ticks "$E2E_APP_PID") || fail "the program ended while idle"
t1=$(date +%s%N)

used=$(awk -v c="$((c1 - c0))" -v hz="$hz" 'BEGIN {printf "%.3f", c / hz}')
wall=$(awk -v t="$((t1 - t0))" 'BEGIN {printf "%.3f", t / 1e9}')
percent=$(awk -v u="$used" -v w="$wall" 'BEGIN {printf "%.2f", 100 * u / w}')
echo "idle CPU: ${used} s over ${wall} s = ${percent}% of one core"
awk -v p="$percent" 'BEGIN {exit !(p < 2)}' || fail "the idle program used ${percent}% of a core (limit 2%)"
echo "ok: idle CPU ${percent}%"
exit 0
