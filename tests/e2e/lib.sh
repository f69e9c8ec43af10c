# Shared by the end-to-end tests: a private X display, the real program, real keystrokes.
# The caller sets QM415 (the binary) and ARTIFACTS (a folder for screenshots).
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }

start_display() {
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    if xdpyinfo >/dev/null 2>&1; then
      # QM415_E2E_WM=openbox (say) runs the test under a window manager, as on a desktop.
      if [ -n "${QM415_E2E_WM:-}" ]; then "$QM415_E2E_WM" >/dev/null 2>&1 & WM_PID=$!; sleep 1; fi
      return 0
    fi
    kill "$XVFB_PID" 2>/dev/null || true
  done
  fail "no virtual display could be started"
}

# Starts the program inside its own session bus, so that nothing outlives the test.
start_program() {
  dbus-run-session -- "$QM415" >"$ARTIFACTS/program.log" 2>&1 &
  APP_PID=$!
}

cleanup() {
  [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null || true
  [ -n "${WM_PID:-}" ] && kill "$WM_PID" 2>/dev/null || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT

# Prints the id of the visible window with this exact title, waiting up to 10 s for it.
wait_window() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  fail "no window titled '$1' appeared"
}

wait_no_window() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "the window titled '$1' is still on the screen"
}

# There is no window manager on the virtual display to give the focus back after a message box
# closes; the user would click into the window, this does the same.
focus_window() { xdotool windowfocus --sync "$1"; sleep 0.2; }

# Real key presses into the window that has the keyboard focus.
keys() { xdotool key --delay 60 "$@"; sleep 0.3; }
type_text() { xdotool type --delay 40 "$1"; sleep 0.2; }

# The window's client area on the screen (inside any frame a window manager adds):
# sets X, Y, WIDTH and HEIGHT.
client_geometry() {
  local info
  info=$(LC_ALL=C xwininfo -id "$1")
  X=$(awk '/Absolute upper-left X/ { print $NF }' <<<"$info")
  Y=$(awk '/Absolute upper-left Y/ { print $NF }' <<<"$info")
  WIDTH=$(awk '/^ *Width:/ { print $NF }' <<<"$info")
  HEIGHT=$(awk '/^ *Height:/ { print $NF }' <<<"$info")
}

shot() { import -window root "$ARTIFACTS/$1.png"; }

program_running() { kill -0 "$APP_PID" 2>/dev/null; }

# Waits for the program to end by itself, and requires a clean exit (the sanitizer builds
# report leaks and errors through the exit code).
wait_program_end() {
  for _ in $(seq 100); do program_running || break; sleep 0.1; done
  program_running && fail "the program is still running"
  local rc=0
  wait "$APP_PID" || rc=$?
  APP_PID=
  [ "$rc" -eq 0 ] || fail "the program exited with status $rc; see $ARTIFACTS/program.log"
}
