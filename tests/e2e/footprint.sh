#!/usr/bin/env bash
# What the running program costs the machine: resident memory two seconds
# after launch at most 35 MB, and at most 3% of one core while two buttons
# fade, the pointer moved from one to the other every 0.7 s for 8 s. CPU
# time is read from /proc/<pid>/stat (user + system).
#
# usage: footprint.sh <path-to-huiwenfang>. Exit 77 = skipped.
set -u
source "$(dirname "$0")/lib/common.bash"
e2e_setup "${1:-}"
e2e_require awk
e2e_start_display
xdotool mousemove 1270 1010

launched=$(date +%s%N)
e2e_start_app
left=$((2000 - ($(date +%s%N) - launched) / 1000000))
[ "$left" -gt 0 ] && sleep "$(awk -v ms="$left" 'BEGIN {printf "%.3f", ms / 1000}')"
rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$E2E_APP_PID/status") || fail "cannot read the program's memory"
echo "resident memory 2 s after launch: $((rss / 1024)) MB ($rss kB)"
[ "$rss" -le $((35 * 1024)) ] || fail "resident memory $rss kB is above 35 MB"

e2e_move 786 270
sleep 1
e2e_cpu_start
for i in $(seq 11); do
  if [ $((i % 2)) = 1 ]; then e2e_move 886 270; else e2e_move 786 270; fi
  sleep 0.7
done
e2e_move 786 270
sleep 0.3
e2e_cpu_used
percent=$E2E_CPU_PERCENT
echo "CPU while two buttons fade: $E2E_CPU_USED s over $E2E_CPU_WALL s = ${percent}% of one core"
awk -v p="$percent" 'BEGIN {exit !(p <= 3)}' || fail "fading buttons used ${percent}% of a core (limit 3%)"
echo "ok: ${rss} kB resident, ${percent}% of a core while fading"
exit 0
