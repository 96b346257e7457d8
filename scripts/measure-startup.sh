#!/usr/bin/env bash
# Start-up of the real program under Xvfb, measured from outside against a
# bare SDL2 program (tests/e2e/tools/bare_sdl_window.cpp: a 952×716 window
# surface filled with one colour, no GL), in one run, launches interleaved:
# the time from launch to the first complete frame on screen and the
# resident memory two seconds after launch, medians and their ratios.
#
# The probe (tests/e2e/tools/frame_probe.cpp) launches a program, finds its
# first viewable window through _NET_WM_PID and reads single pixels of it
# until each shows its final colour. For the program those are the pixels
# the end-to-end tests wait for (tests/e2e/lib/common.bash,
# e2e_first_frame_shown): the window's background, the backgrounds of the
# canvas and of the effect picture, and the skin's outline on the first and
# the last command button. For the reference, its one colour. One poll takes
# a fraction of a millisecond.
#
# usage: scripts/measure-startup.sh [build-dir] [runs]   (defaults: build, 11)
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-11}
prog=$build/src/huiwenfang
probe=$build/tests/frame_probe
bare=$build/tests/bare_sdl_window
for f in "$prog" "$probe" "$bare"; do
  [ -x "$f" ] || { echo "measure-startup.sh: $f is not built" >&2; exit 1; }
done
source "$root/tests/e2e/lib/common.bash"
e2e_setup "$prog"
e2e_start_display

median() { sort -n | awk '{v[NR] = $1} END {if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
field() { sed -n "s/.*$1=\([0-9-]*\).*/\1/p"; }

program_pixels=(--pixel 800,212=56,160,245 --pixel 846,106=128,255,128 --pixel 370,356=128,128,255
  --pixel 852,246=27,143,213 --pixel 852,342=27,143,213)
bare_pixels=(--pixel 10,10=56,160,245 --pixel 940,700=56,160,245)

frames_p=() frames_b=() rss_p=() rss_b=()
for run in $(seq "$runs"); do
  # The reference first in odd runs, second in even ones.
  for who in $([ $((run % 2)) = 1 ] && echo bare program || echo program bare); do
    if [ "$who" = bare ]; then
      out=$(cd "$E2E_WORK/out" && "$probe" "${bare_pixels[@]}" --rss-at 2000 -- "$bare") || fail "run $run: the reference did not show"
      frames_b+=("$(field frame_ms <<<"$out")") rss_b+=("$(field rss_kb <<<"$out")")
    else
      out=$(cd "$E2E_WORK/out" && "$probe" "${program_pixels[@]}" --rss-at 2000 -- "$prog") || fail "run $run: the program did not show"
      frames_p+=("$(field frame_ms <<<"$out")") rss_p+=("$(field rss_kb <<<"$out")")
    fi
    printf 'run %2d %-7s %s\n' "$run" "$who" "$out"
  done
done

fp=$(printf '%s\n' "${frames_p[@]}" | median)
fb=$(printf '%s\n' "${frames_b[@]}" | median)
rp=$(printf '%s\n' "${rss_p[@]}" | median)
rb=$(printf '%s\n' "${rss_b[@]}" | median)
echo "medians of $runs runs each:"
echo "  first complete frame: huiwenfang $fp ms, bare SDL2 window surface $fb ms," \
  "ratio $(awk -v a="$fp" -v b="$fb" 'BEGIN {printf "%.2f", a / b}')"
echo "  resident memory 2 s after launch: huiwenfang $((rp / 1024)) MB ($rp kB), bare $((rb / 1024)) MB ($rb kB)," \
  "ratio $(awk -v a="$rp" -v b="$rb" 'BEGIN {printf "%.2f", a / b}')"
