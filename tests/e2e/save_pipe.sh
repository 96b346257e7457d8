#!/usr/bin/env bash
# Saving onto a named pipe: the path typed into the save dialog names a pipe. After the overwrite
# prompt is accepted, a message box says why nothing was saved, the pipe is still a pipe, nothing
# came through it, and the program goes on: a save under a plain name works afterwards.
#
# usage: save_pipe.sh <path-to-huiwenfang>. Exit 77 = skipped.
set -u
source "$(dirname "$0")/lib/common.bash"
e2e_setup "${1:-}"
e2e_require mkfifo
e2e_start_display
e2e_start_app

pipe="$E2E_WORK/out/pattern-pipe"
mkfifo "$pipe" || fail "cannot make a named pipe"
# Held open for reading and writing: a save that wrote into the pipe would not block but deliver,
# and what it delivered would wait here.
exec 3<>"$pipe"

# Types $1 into the save dialog and confirms it, answering the prompt that follows with $2.
save_as() {
  e2e_press cmdsave
  dlg=$(e2e_find_window '^保存$') || fail "the save dialog did not appear"
  # Keys go to the window under the pointer while no window manager runs.
  xdotool mousemove --window "$dlg" 20 5
  xdotool key ctrl+a
  xdotool type --delay 20 "$1"
  xdotool key Return
  local prompt
  prompt=$(e2e_wait_new_window "$dlg") || fail "no prompt for $1"
  xdotool mousemove --window "$prompt" 20 5 key "$2"
  e2e_wait_for 10 e2e_window_gone "$dlg" || fail "the save dialog stayed open"
}

save_as "$pipe" y
box=$(e2e_wait_new_window) || fail "no message box after saving onto a pipe"
title=$(xdotool getwindowname "$box")
echo "message box $box: \"$title\""
e2e_wait_for 5 grep -q '命名管道，不是普通文件' "$E2E_WORK/app.log" ||
  fail "the message does not say the target is a named pipe: $(cat "$E2E_WORK/app.log")"
grep -q "运行时错误 '75'" "$E2E_WORK/app.log" || fail "the message is not laid out as a file error"
echo "program reported: $(tr '\n' ' ' <"$E2E_WORK/app.log")"
[ -p "$pipe" ] || fail "the named pipe was replaced"
[ "$(ls -A "$E2E_WORK/out")" = "pattern-pipe" ] || fail "the save left files: $(ls -A "$E2E_WORK/out")"
if IFS= read -r -t 0.5 -n 1 got <&3; then fail "the picture was written into the pipe ('$got')"; fi

xdotool mousemove --window "$box" 10 5 key Return
e2e_wait_for 10 e2e_window_gone "$box" || fail "the message box did not close on Return"
kill -0 "$E2E_APP_PID" 2>/dev/null || fail "the program ended after the message box"

plain="$E2E_WORK/out/pattern-plain"
save_as "$plain" y
e2e_wait_for 10 test -s "$plain" || fail "no file was saved at $plain after the refused save"
[ "$(head -c 2 "$plain")" = "BM" ] || fail "the plain save is not a bitmap"
[ -p "$pipe" ] || fail "the named pipe is gone"
[ -z "$(e2e_other_windows)" ] || fail "a window is left open after the plain save"
echo "ok: the pipe was refused with a message and kept; the program saved a plain file afterwards"
exit 0
