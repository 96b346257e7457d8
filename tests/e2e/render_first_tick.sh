#!/usr/bin/env bash
# The render command against the real window: in a freshly started program,
# the canvas on screen after the first tick of 自动图1 is, pixel for pixel,
# what `huiwenfang render --count 1 --exact` draws (with no display at all);
# the PNG of the same pattern at print size shows the same design.
#
# usage: render_first_tick.sh <path-to-huiwenfang>. Exit 77 = skipped.
set -u
source "$(dirname "$0")/lib/common.bash"
e2e_setup "${1:-}"
e2e_require compare identify

# Without a display, before Xvfb exists.
(cd "$E2E_WORK" && env -u DISPLAY "$E2E_PROG" render --count 1 --exact -o exact.png) 2>"$E2E_WORK/render.log" ||
  fail "render --count 1 --exact failed: $(cat "$E2E_WORK/render.log")"
[ "$(identify -format '%wx%h' "$E2E_WORK/exact.png")" = 201x201 ] || fail "the exact canvas is not 201x201"

e2e_start_display
e2e_start_app
start=$(e2e_area_sum "$E2E_CANVAS")
e2e_press Command4
e2e_wait_for 6 e2e_area_changed "$E2E_CANVAS" "$start" || fail "自动图1: the canvas did not change within 6 s"
# A tick redraws in one go, so the screen may still show its first half; stop
# the mode so that the second tick cannot come between.
sleep 0.3
e2e_press Command6
e2e_move 400 400
sleep 0.3
e2e_shot "$E2E_WORK/shot.ppm" || fail "no screenshot"
e2e_crop "$E2E_WORK/shot.ppm" "$E2E_CANVAS" "$E2E_WORK/screen.png"
diff=$(compare -metric AE "$E2E_WORK/screen.png" "$E2E_WORK/exact.png" null: 2>&1)
[ "$diff" = "0" ] || fail "the first tick on screen differs from render --exact in $diff pixels"

echo "ok: the first tick of 自动图1 on screen equals render --count 1 --exact"
exit 0
