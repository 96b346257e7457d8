#!/usr/bin/env bash
# The skinned push button "画图1" (69×21 at (752,260)) in its three faces:
#   normal  — the skin's outline 0x00D58F1B and a light interior;
#   hover   — after the pointer moves onto it and the fade has run (86 steps of
#             15 ms), the hover face: the columns inside the outline carry the
#             skin's strong blue 0x00FBC34C (76,195,251) at their middle;
#   pressed — on mouse-down, at once, the pressed face with its deeper blue
#             sides, different from the hover face;
# and, after mouse-up and moving away, the normal face again (the button
# keeps the focus from the press, so its dotted focus box may differ).
#
# With HWF_E2E_SHOTS_DIR set, the three faces are saved there, cropped to the
# button and enlarged four times, as button-normal.png, button-hover.png and
# button-pressed.png.
#
# usage: button_faces.sh <path-to-huiwenfang>. Exit 77 = skipped.
set -u
source "$(dirname "$0")/lib/common.bash"
e2e_setup "${1:-}"
e2e_start_display
e2e_start_app

bx=752
by=260
button="69x21+$bx+$by"
outline="27,143,213"
hover_blue="76,195,251"

# Face probes in button coordinates: the outline and the column inside it,
# on the middle row, at both sides.
probe() { e2e_pixel $((bx + $1)) $((by + $2)); }
# The face shows $1 inside the left outline and $2 (default $1) inside the
# right one: the skin's mirrored columns may differ slightly.
face_is() {
  e2e_shot "$E2E_WORK/face.ppm" || return 1
  [ "$(probe 1 10)" = "$1" ] && [ "$(probe 67 10)" = "${2:-$1}" ]
}
save_face() {
  e2e_crop "$E2E_SHOT" "$button" "$E2E_WORK/$1.png"
  if [ -n "${HWF_E2E_SHOTS_DIR:-}" ]; then
    convert "$E2E_WORK/$1.png" -filter point -resize 400% "$HWF_E2E_SHOTS_DIR/button-$1.png"
  fi
}
light() {
  local r g b
  IFS=, read -r r g b <<<"$1"
  [ "$r" -ge 200 ] && [ "$g" -ge 200 ] && [ "$b" -ge 200 ]
}

# --- normal ----------------------------------------------------------------

e2e_move 400 600
sleep 0.3
e2e_shot "$E2E_WORK/normal-full.ppm" || fail "no screenshot"
normal_inside=$(probe 1 10)
normal_right=$(probe 67 10)
echo "normal face: outline $(probe 0 10), inside $normal_inside"
[ "$(probe 0 10)" = "$outline" ] && [ "$(probe 68 10)" = "$outline" ] || fail "the normal face has no skin outline"
light "$normal_inside" || fail "the normal face is not light inside ($normal_inside)"
save_face normal

# --- hover -----------------------------------------------------------------

e2e_move $((bx + 34)) $((by + 10))
# The whole fade takes 86 × 15 ms; give it that and then some before looking.
sleep 1.5
e2e_wait_for 5 face_is "$hover_blue" || fail "no hover face after the fade: inside $(probe 1 10), expected $hover_blue"
[ "$(probe 0 10)" = "$outline" ] || fail "the hover face lost the outline"
save_face hover
[ "$(compare -metric AE "$E2E_WORK/normal.png" "$E2E_WORK/hover.png" null: 2>&1)" != 0 ] ||
  fail "the hover face equals the normal face"
echo "hover face: inside $(probe 1 10)"

# --- pressed ---------------------------------------------------------------

xdotool mousedown 1
pressed_now() {
  e2e_shot "$E2E_WORK/face.ppm" || return 1
  local p
  p=$(probe 1 10)
  [ "$p" != "$hover_blue" ] && [ "$p" != "$normal_inside" ]
}
# At once: no fade, so the first screenshot that shows the press shows it fully.
e2e_wait_for 1 pressed_now || fail "no pressed face on mouse-down: inside $(probe 1 10)"
pressed_inside=$(probe 1 10)
sleep 0.3
e2e_shot "$E2E_WORK/face.ppm"
[ "$(probe 1 10)" = "$pressed_inside" ] || fail "the pressed face was still changing: $pressed_inside then $(probe 1 10)"
IFS=, read -r r g b <<<"$pressed_inside"
[ "$b" -ge 230 ] && [ "$r" -lt 160 ] || fail "the pressed face's sides are not a deep blue ($pressed_inside)"
[ "$(probe 0 10)" = "$outline" ] || fail "the pressed face lost the outline"
save_face pressed
echo "pressed face: inside $pressed_inside"

# --- back to normal --------------------------------------------------------

xdotool mouseup 1
e2e_move 400 600
e2e_wait_for 5 face_is "$normal_inside" "$normal_right" || fail "the normal face did not come back: inside $(probe 1 10)"
sleep 0.3
e2e_shot "$E2E_WORK/face.ppm"
e2e_crop "$E2E_SHOT" "$button" "$E2E_WORK/after.png"
# Pixels that differ from the first normal face may lie only on the focus box
# (x 2 or 66, y 2 or 18).
stray=$(paste -d' ' \
  <(convert "$E2E_WORK/normal.png" -depth 8 rgb:- | od -An -tu1 -v -w3) \
  <(convert "$E2E_WORK/after.png" -depth 8 rgb:- | od -An -tu1 -v -w3) |
  awk '{x = (NR - 1) % 69; y = int((NR - 1) / 69)}
       ($1 != $4 || $2 != $5 || $3 != $6) && !(x == 2 || x == 66 || y == 2 || y == 18) {n++}
       END {print n + 0}')
[ "$stray" = 0 ] || fail "the face after the press differs from the normal face in $stray pixels off the focus box"
echo "ok: normal, hover and pressed faces, and the normal face back after release"
exit 0
