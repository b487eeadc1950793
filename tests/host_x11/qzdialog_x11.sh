#!/usr/bin/env bash
# qzdialog --question on a real X server (a private Xvfb) with the SDL
# platform, answered with keys typed by xdotool: each answer's exit status.
#   qzdialog_x11.sh path/to/qzdialog
# Every wait is bounded: the window is looked for with a timeout, the
# program runs under `timeout`, and the server is stopped on exit.
set -u
qzdialog=$1
for tool in Xvfb xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed"
    exit 0
  fi
done

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb writes its display number once it accepts connections.
mkfifo "$work/displayfd"
exec 3<>"$work/displayfd"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
if ! read -r -t 30 -u 3 number || [ -z "$number" ]; then
  echo "FAIL: Xvfb did not start"; cat "$work/xvfb.log"; exit 1
fi
exec 3>&-
export DISPLAY=":$number"
unset WAYLAND_DISPLAY

# One question answered by `keys` (xdotool key names, one argument each);
# prints nothing and returns 0 when the exit status is `expected`.
answer() {
  local expected=$1; shift
  local title="qzdialog-x11-$$-$RANDOM"
  QZ_PLATFORM=sdl timeout 60 "$qzdialog" --question --title="$title" --text="Convert the file now?" \
    >"$work/out" 2>"$work/err" &
  local pid=$!
  local window
  window=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1)
  if [ -z "$window" ]; then
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
    echo "FAIL: the window of '$*' did not appear"; cat "$work/err"; return 1
  fi
  # No window manager gives the focus: the test does, and waits until the
  # server has it.
  timeout 10 xdotool windowfocus --sync "$window" 2>/dev/null
  for key in "$@"; do
    xdotool key --delay 50 "$key"
  done
  wait "$pid"
  local status=$?
  if [ "$status" -ne "$expected" ]; then
    echo "FAIL: keys '$*' gave exit status $status, expected $expected"; cat "$work/err"; return 1
  fi
  echo "ok: keys '$*' -> $status"
}

failed=0
answer 0 Return || failed=1
answer 1 Escape || failed=1
answer 1 Tab Return || failed=1
answer 1 n || failed=1
exit "$failed"
