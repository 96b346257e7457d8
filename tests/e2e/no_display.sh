#!/usr/bin/env bash
# Started where there is no display, the window program must say so and end,
# not run on invisibly (SDL would pick a driver that shows nothing). Its
# arguments are answered on the terminal without opening anything.
#
# usage: no_display.sh <path-to-huiwenfang>
set -u
app="$1"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 20 "$app" >"$out/o" 2>"$out/e"
rc=$?
[ "$rc" -eq 1 ] || { cat "$out/e"; echo "FAIL: with no display the program ended with $rc, not 1 (124 = still running)"; exit 1; }
grep -q "cannot open the display" "$out/e" || { cat "$out/e"; echo "FAIL: no message about the display"; exit 1; }

env -u DISPLAY timeout 20 "$app" --version >"$out/o" 2>"$out/e"
rc=$?
[ "$rc" -eq 0 ] && grep -qE '^huiwenfang [0-9]+\.[0-9]+' "$out/o" || { echo "FAIL: --version gave $rc: $(cat "$out/o" "$out/e")"; exit 1; }

env -u DISPLAY timeout 20 "$app" --frobnicate >"$out/o" 2>"$out/e"
rc=$?
[ "$rc" -eq 2 ] && grep -q "unknown argument '--frobnicate'" "$out/e" || { echo "FAIL: an unknown argument gave $rc: $(cat "$out/e")"; exit 1; }
echo "ok: no display and stray arguments are answered and the program ends"
