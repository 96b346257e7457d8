# Shared by the end-to-end scripts: a private Xvfb, the program started on it,
# its windows found, screenshots read as pixels, clicks at layout positions,
# and a cleanup that ends the program before its display.
#
# A script sources this file, calls e2e_setup "$1" (the program's path), then
# e2e_start_display and e2e_start_app. Every wait polls with a deadline, so a
# loaded machine only makes a run slower, not flaky.
#
# Sections: requirements · display · window manager · program · windows ·
# pixels · input · waiting · cleanup
#
# Environment: HWF_E2E_DISPLAYS="first last" limits the display numbers tried
# (default "91 190"); HWF_E2E_KEEP=1 keeps the work folder for a look.
#
# A script may set E2E_SCREEN (Xvfb's screen, default 1280x1024x24) before
# e2e_start_display, and E2E_SCALE (default 1) to the program's HiDPI scale:
# clicks, moves and the first-frame probes then take layout positions and
# multiply them. Screenshots stay in screen pixels.

# --- requirements ------------------------------------------------------------

E2E_WORK=""
E2E_XVFB_PID=""
E2E_APP_PID=""
E2E_WID=""
E2E_PROG=""
E2E_SCREEN=${E2E_SCREEN:-1280x1024x24}
E2E_SCALE=${E2E_SCALE:-1}

# Skips the test (exit 77) when a tool is missing.
e2e_require() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$tool missing: skipped"; exit 77; }
  done
}

# Checks the tools every flow needs and makes the program's path absolute.
e2e_setup() {
  e2e_require Xvfb xdotool import convert od md5sum
  [ -n "${1:-}" ] || { echo "usage: $0 <path-to-huiwenfang>"; exit 2; }
  E2E_PROG=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
  [ -x "$E2E_PROG" ] || { echo "program $E2E_PROG not built: skipped"; exit 77; }
  # The desktop's own scale must not reach a flow that did not ask for one.
  unset GDK_SCALE HUIWENFANG_SCALE
  E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/hwf-e2e.XXXXXX")
  mkdir -p "$E2E_WORK/out"
  trap e2e_cleanup EXIT
}

fail() {
  echo "FAIL: $*"
  if [ -s "$E2E_WORK/app.log" ]; then
    echo "--- program output"
    cat "$E2E_WORK/app.log"
  fi
  exit 1
}

# --- display -----------------------------------------------------------------

# Starts Xvfb on the first free display number and exports DISPLAY.
e2e_start_display() {
  local range first last n
  range=${HWF_E2E_DISPLAYS:-"91 190"}
  read -r first last <<<"$range"
  for n in $(seq "$first" "${last:-$first}"); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    # -noreset: by default the server resets whenever its last client leaves
    # (a probe below, or the program of an earlier step), and a program that
    # connects during the reset can be left without its windows.
    Xvfb ":$n" -screen 0 "$E2E_SCREEN" -nolisten tcp -noreset >"$E2E_WORK/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    # Another run may have taken the number in the meantime: Xvfb then ends.
    if e2e_wait_for 10 e2e_display_up "$n"; then
      export DISPLAY=":$n"
      return 0
    fi
    kill "$E2E_XVFB_PID" 2>/dev/null
    wait "$E2E_XVFB_PID" 2>/dev/null
    E2E_XVFB_PID=""
  done
  fail "no free display number in $range"
}

e2e_display_up() {
  kill -0 "$E2E_XVFB_PID" 2>/dev/null || return 2
  [ -e "/tmp/.X11-unix/X$1" ] && DISPLAY=":$1" xdotool getmouselocation >/dev/null 2>&1
}

# --- window manager ----------------------------------------------------------

E2E_WM_PID=""

# Starts openbox, with its stock configuration, on the display and waits
# until it manages windows. Skips the test when openbox is missing.
e2e_start_wm() {
  e2e_require openbox xprop
  # A user's own configuration must not change what the flow sees.
  XDG_CONFIG_HOME="$E2E_WORK/config" openbox --sm-disable >"$E2E_WORK/wm.log" 2>&1 &
  E2E_WM_PID=$!
  e2e_wait_for 20 e2e_wm_up || fail "openbox did not start: $(cat "$E2E_WORK/wm.log")"
}

# The manager has announced itself on the root window.
e2e_wm_up() {
  kill -0 "$E2E_WM_PID" 2>/dev/null || return 2
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# --- program -----------------------------------------------------------------

# Starts the program in $E2E_WORK/out (the save dialog's first folder) and
# waits for its main window and the first complete frame.
e2e_start_app() {
  (cd "$E2E_WORK/out" && HUIWENFANG_SCALE=$E2E_SCALE exec "$E2E_PROG") >"$E2E_WORK/app.log" 2>&1 &
  E2E_APP_PID=$!
  E2E_WID=$(e2e_find_window '澜帆绘纹坊' 30) || {
    e2e_describe_app
    fail "the main window did not appear"
  }
  e2e_wait_for 20 e2e_first_frame_shown || {
    e2e_describe_app
    fail "the first frame was not complete within 20 s"
  }
}

# What the program is doing, for a failure report: its state, its X windows
# and, where gdb is at hand, where each of its threads waits.
e2e_describe_app() {
  echo "--- program $E2E_APP_PID"
  ps -o pid,stat,pcpu,time,wchan:32 -p "$E2E_APP_PID" || return 0
  echo "its windows: $(xdotool search --pid "$E2E_APP_PID" 2>/dev/null | tr '\n' ' ')"
  echo "all windows: $(xwininfo -root -tree 2>/dev/null | grep -c '^ *0x')"
  if command -v gdb >/dev/null 2>&1; then
    timeout 60 gdb -p "$E2E_APP_PID" -batch -ex 'thread apply all bt 20' 2>/dev/null | grep -E '^(#|Thread)'
  fi
}

# The first frame is complete when every probe shows its final colour: the
# window's background, picpaint's and Picture1's backgrounds, and the skin's
# outline (0x00D58F1B) on the left edge of the first and the last button.
e2e_first_frame_shown() {
  e2e_shot "$E2E_WORK/first.ppm" 2>/dev/null || return 1
  local s=$E2E_SCALE
  [ "$(e2e_pixel $((800 * s)) $((212 * s)))" = "56,160,245" ] &&
    [ "$(e2e_pixel $((846 * s)) $((106 * s)))" = "128,255,128" ] &&
    [ "$(e2e_pixel $((370 * s)) $((356 * s)))" = "128,128,255" ] &&
    [ "$(e2e_pixel $((852 * s)) $((246 * s)))" = "27,143,213" ] &&
    [ "$(e2e_pixel $((852 * s)) $((342 * s)))" = "27,143,213" ]
}

# Waits up to $1 seconds for the program to end and puts its exit status in
# E2E_STATUS. Call it in the script's own shell, not in $(...): only the
# shell that started the program can collect its status.
E2E_STATUS=""
e2e_wait_exit() {
  local deadline=$((SECONDS + $1))
  while kill -0 "$E2E_APP_PID" 2>/dev/null; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
  wait "$E2E_APP_PID"
  E2E_STATUS=$?
  E2E_APP_PID=""
}

# CPU time (user + system) of a process in clock ticks.
e2e_cpu_ticks() {
  # The command name may hold spaces; the fields after its ")" do not.
  local stat
  stat=$(cat "/proc/$1/stat") || return 1
  stat=${stat##*) }
  # utime and stime are fields 14 and 15 of the line, 12 and 13 after ")".
  awk '{print $12 + $13}' <<<"$stat"
}

# Starts a CPU measurement of the program: e2e_cpu_used then tells how much
# of one core it used since.
e2e_cpu_start() {
  E2E_CPU_T0=$(date +%s%N)
  E2E_CPU_C0=$(e2e_cpu_ticks "$E2E_APP_PID") || fail "cannot read the program's CPU time"
}

# Sets E2E_CPU_USED (seconds of CPU), E2E_CPU_WALL (seconds) and
# E2E_CPU_PERCENT (of one core) since e2e_cpu_start.
e2e_cpu_used() {
  local c1 t1
  c1=$(e2e_cpu_ticks "$E2E_APP_PID") || fail "the program ended while its CPU time was measured"
  t1=$(date +%s%N)
  E2E_CPU_USED=$(awk -v c="$((c1 - E2E_CPU_C0))" -v hz="$(getconf CLK_TCK)" 'BEGIN {printf "%.3f", c / hz}')
  E2E_CPU_WALL=$(awk -v t="$((t1 - E2E_CPU_T0))" 'BEGIN {printf "%.3f", t / 1e9}')
  E2E_CPU_PERCENT=$(awk -v u="$E2E_CPU_USED" -v w="$E2E_CPU_WALL" 'BEGIN {printf "%.2f", 100 * u / w}')
}

# --- windows -----------------------------------------------------------------

# Prints the id of a visible window of the program whose caption matches the
# regular expression $1, waiting up to $2 seconds (default 10). Captions are
# compared here because xdotool's own --name search misses CJK captions.
e2e_find_window() {
  local deadline=$((SECONDS + ${2:-10})) id
  while [ "$SECONDS" -lt "$deadline" ]; do
    for id in $(xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null); do
      [[ "$(xdotool getwindowname "$id" 2>/dev/null)" =~ $1 ]] && { echo "$id"; return 0; }
    done
    sleep 0.1
  done
  return 1
}

# Prints the ids of the program's visible windows other than the main window
# and the windows given as arguments.
e2e_other_windows() {
  local id skip
  for id in $(xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null); do
    [ "$id" = "$E2E_WID" ] && continue
    for skip in "$@"; do [ "$id" = "$skip" ] && continue 2; done
    echo "$id"
  done
}

# Prints the id of a new window of the program (not the main window, nor one
# of the arguments) once one shows, waiting up to 10 s.
e2e_wait_new_window() {
  local deadline=$((SECONDS + 10)) id
  while [ "$SECONDS" -lt "$deadline" ]; do
    id=$(e2e_other_windows "$@" | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Succeeds once the window $1 is no longer shown.
e2e_window_gone() {
  ! xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null | grep -qx "$1"
}

# --- pixels ------------------------------------------------------------------

E2E_SHOT=""
E2E_SHOT_W=0
E2E_SHOT_HEADER=0

# Screenshot of a window (default the main window) into the file $1, as a
# binary PPM: ImageMagick reads it like any picture, and e2e_pixel reads its
# bytes directly.
e2e_shot() {
  local file=$1 wid=${2:-$E2E_WID} magic dims depth
  # import waits for ever on a window that has gone away.
  timeout 10 import -window "$wid" -depth 8 "ppm:$file" 2>/dev/null || return 1
  { read -r magic && read -r dims && read -r depth; } <"$file" || return 1
  [ "$magic" = P6 ] && [ "$depth" = 255 ] || return 1
  E2E_SHOT_W=${dims%% *}
  E2E_SHOT_HEADER=$((${#magic} + ${#dims} + ${#depth} + 3))
  E2E_SHOT=$file
}

# Prints "r,g,b" of the pixel at ($1,$2) of the last screenshot.
e2e_pixel() {
  od -An -tu1 -v -j $((E2E_SHOT_HEADER + ($2 * E2E_SHOT_W + $1) * 3)) -N3 "$E2E_SHOT" |
    awk '{print $1 "," $2 "," $3}'
}

# Crops WxH+X+Y ($2) of the screenshot $1 into $3.
e2e_crop() {
  convert "$1" -crop "$2" +repage "$3"
}

# A checksum of the pixels of a rectangle WxH+X+Y of a fresh screenshot.
e2e_area_sum() {
  local shot="$E2E_WORK/sum.ppm"
  e2e_shot "$shot" || return 1
  convert "$shot" -crop "$1" +repage -depth 8 rgb:- | md5sum | cut -d' ' -f1
}

# Counts the pixels of colour "r,g,b" ($2) in the rectangle WxH+X+Y ($1) of
# the last screenshot.
e2e_count_colour() {
  local r g b
  IFS=, read -r r g b <<<"$2"
  convert "$E2E_SHOT" -crop "$1" +repage -depth 8 rgb:- | od -An -tu1 -v -w3 |
    awk -v r="$r" -v g="$g" -v b="$b" '$1 == r && $2 == g && $3 == b {n++} END {print n + 0}'
}

# --- input -------------------------------------------------------------------

# Moves the pointer to ($1,$2) of the main window (client pixels: without a
# window manager the X window is the client area; times E2E_SCALE).
e2e_move() {
  xdotool mousemove --window "$E2E_WID" $(($1 * E2E_SCALE)) $(($2 * E2E_SCALE))
}

e2e_click() {
  xdotool mousemove --window "$E2E_WID" $(($1 * E2E_SCALE)) $(($2 * E2E_SCALE)) click 1
}

# Clicks the middle of a 69×21 command button whose top-left is ($1,$2).
e2e_click_button() {
  e2e_click $(($1 + 34)) $(($2 + 10))
}

# Layout positions (client pixels) of the command buttons.
declare -A E2E_BUTTON=(
  [cmddan]="852 236" [cmdpaint]="752 260" [Command1]="752 284" [Command2]="752 308"
  [cmdsave]="752 332" [Command3]="852 260" [Command4]="852 284" [Command5]="852 308"
  [Command6]="852 332"
)
e2e_press() {
  local pos
  pos=${E2E_BUTTON[$1]:-}
  [ -n "$pos" ] || fail "no button $1"
  # shellcheck disable=SC2086
  e2e_click_button $pos
}

# picpaint's drawing area, 201×201 at (746,6).
E2E_CANVAS="201x201+746+6"

# --- waiting -----------------------------------------------------------------

# Runs "$2 ..." until it succeeds or $1 seconds pass. A return of 2 from the
# command gives up at once.
e2e_wait_for() {
  local deadline=$((SECONDS + $1)) rc
  shift
  while :; do
    "$@"
    rc=$?
    [ "$rc" -eq 0 ] && return 0
    [ "$rc" -eq 2 ] && return 1
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# Succeeds once the rectangle $1 no longer has the checksum $2.
e2e_area_changed() {
  local now
  now=$(e2e_area_sum "$1") || return 1
  [ "$now" != "$2" ]
}

# --- cleanup -----------------------------------------------------------------

e2e_cleanup() {
  # The program goes first, while its display is still there to close on.
  if [ -n "$E2E_APP_PID" ] && kill "$E2E_APP_PID" 2>/dev/null; then
    local _
    for _ in $(seq 50); do kill -0 "$E2E_APP_PID" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$E2E_APP_PID" 2>/dev/null
  fi
  [ -n "$E2E_WM_PID" ] && kill "$E2E_WM_PID" 2>/dev/null
  if [ -n "$E2E_XVFB_PID" ]; then
    kill "$E2E_XVFB_PID" 2>/dev/null
  fi
  wait 2>/dev/null
  if [ "${HWF_E2E_KEEP:-0}" = 1 ]; then
    echo "work folder kept: $E2E_WORK"
  elif [ -n "$E2E_WORK" ]; then
    rm -rf "$E2E_WORK"
  fi
}
