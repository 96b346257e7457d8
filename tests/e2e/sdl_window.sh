#!/usr/bin/env bash
# A real SDL window under Xvfb: it appears with its caption, and a click
# injected with xdotool arrives as WM_LBUTTONDOWN/UP at the right client
# position of the child window under it.
#
# usage: sdl_window.sh <path-to-huiwenfang>   (the test program is found
# beside it, in the build tree's tests/ folder). Exit 77 = skipped.
set -u

command -v Xvfb >/dev/null 2>&1 || { echo "Xvfb missing: skipped"; exit 77; }
command -v xdotool >/dev/null 2>&1 || { echo "xdotool missing: skipped"; exit 77; }
bin_dir=$(cd "$(dirname "$1")" && pwd)
prog="$bin_dir/../tests/test_platform"
[ -x "$prog" ] || { echo "test program $prog not built: skipped"; exit 77; }

display=""
for n in $(seq 91 140); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free display number"; exit 1; }

work=$(mktemp -d)
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
prog_pid=""
cleanup() {
  [ -n "$prog_pid" ] && kill "$prog_pid" 2>/dev/null
  kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.1
done
export DISPLAY="$display"

"$prog" --gtest_also_run_disabled_tests --gtest_filter='SdlEndToEnd.*' >"$work/out.txt" 2>&1 &
prog_pid=$!

wid=$(timeout 20 xdotool search --sync --name 'huiwenfang e2e' | head -n 1)
if [ -z "$wid" ]; then
  echo "FAIL: no window with the caption appeared"
  cat "$work/out.txt"
  exit 1
fi
name=$(xdotool getwindowname "$wid")
echo "window $wid: $name"
sleep 1

# The client area shows the class brush (0x38A0F5) away from the child.
if command -v import >/dev/null 2>&1; then
  pixel=$(import -window "$wid" -crop 1x1+10+10 txt:- 2>/dev/null | tail -n 1)
  echo "pixel at (10,10): $pixel"
  case "$pixel" in
    *"srgb(56,160,245)"*|*"#38A0F5"*|*"#3838A0A0F5F5"*) ;;
    *) echo "FAIL: the window does not show its background"; exit 1 ;;
  esac
fi

# The child sits at (50, 40) with a 1-px border: (60, 50) is its client (9, 9).
xdotool mousemove --window "$wid" 60 50 click 1
for _ in $(seq 100); do
  kill -0 "$prog_pid" 2>/dev/null || break
  sleep 0.1
done
wait "$prog_pid"
status=$?
prog_pid=""
cat "$work/out.txt"
grep -q "child WM_LBUTTONDOWN 9 9" "$work/out.txt" || { echo "FAIL: no button-down at (9, 9)"; exit 1; }
grep -q "child WM_LBUTTONUP 9 9" "$work/out.txt" || { echo "FAIL: no button-up at (9, 9)"; exit 1; }
[ "$status" -eq 0 ] || { echo "FAIL: test program exited with $status"; exit 1; }
echo "PASS"
