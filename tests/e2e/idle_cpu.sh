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

e2e_cpu_start
sleep "$seconds"
e2e_cpu_used
used=$E2E_CPU_USED wall=$E2E_CPU_WALL percent=$E2E_CPU_PERCENT
echo "idle CPU: ${used} s over ${wall} s = ${percent}% of one core"
awk -v p="$percent" 'BEGIN {exit !(p < 2)}' || fail "the idle program used ${percent}% of a core (limit 2%)"
echo "ok: idle CPU ${percent}%"
exit 0
