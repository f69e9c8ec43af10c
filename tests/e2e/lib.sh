# Shared by the end-to-end tests: a private X display, the real program, real keystrokes.
# The caller sets QM415 (the binary) and ARTIFACTS (a folder for screenshots).
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }

# Each run works in a folder of its own, so that two runs at once, of one build too, share no
# file; at the end what it made there is copied into the caller's folder, for a person to see.
KEPT=$ARTIFACTS
ARTIFACTS=$(mktemp -d "${TMPDIR:-/tmp}/qm415-e2e.XXXXXX")

start_display() {
  # The server picks a free display number itself and tells it: two tests started at once
  # never share one. SCREEN sets its size.
  local numfile="$ARTIFACTS/display-number"
  rm -f "$numfile"
  Xvfb -displayfd 3 -screen 0 "${SCREEN:-1280x1024x24}" -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$numfile" ] && break; sleep 0.05; done
  [ -s "$numfile" ] || fail "no virtual display could be started"
  export DISPLAY=":$(head -n1 "$numfile")"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  xdpyinfo >/dev/null 2>&1 || fail "the virtual display $DISPLAY does not answer"
  # QM415_E2E_WM=openbox (say) runs the test under a window manager, as on a desktop.
  if [ -n "${QM415_E2E_WM:-}" ]; then "$QM415_E2E_WM" >/dev/null 2>&1 & WM_PID=$!; sleep 1; fi
  return 0
}

# A session bus of the test's own, with the accessibility bus on it: the program and the
# screen reader's view of it (atspi.py) meet there, and nothing of it outlives the test.
start_session_bus() {
  local address="$ARTIFACTS/bus-address"
  rm -f "$address"
  dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$address" >/dev/null 2>&1 &
  BUS_PID=$!
  for _ in $(seq 50); do [ -s "$address" ] && break; sleep 0.1; done
  [ -s "$address" ] || fail "the session bus did not start"
  DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$address")
  export DBUS_SESSION_BUS_ADDRESS
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  ATSPI_PID=$!
  # Each name is asked of the bus itself, which would otherwise start a service of its own,
  # one that outlives the test.
  has_owner org.a11y.Bus --session || fail "the accessibility bus did not start"
  local a11y
  a11y=$(dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
    org.a11y.Bus.GetAddress | sed -n 's/.*string "\(.*\)"/\1/p')
  /usr/libexec/at-spi2-registryd >/dev/null 2>&1 &
  REGISTRY_PID=$!
  has_owner org.a11y.atspi.Registry "--bus=$a11y" || fail "the accessibility registry did not start"
}

# Waits up to 5 s for a name on a bus (--session, or --bus=ADDRESS).
has_owner() {
  for _ in $(seq 50); do
    dbus-send "$2" --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true' &&
      return 0
    sleep 0.1
  done
  return 1
}

# Starts the program, with these arguments, on the test's own session bus, its accessibility
# bridge on as for a screen reader.
start_program() {
  [ -n "${BUS_PID:-}" ] || start_session_bus
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$QM415" "$@" >"$ARTIFACTS/program.log" 2>&1 &
  APP_PID=$!
}

# Ends a process this test started, and what it started itself (the accessibility bus and
# its registry), by their ids.
stop_tree() {
  local pid=$1 child children
  children=$(pgrep -P "$pid" 2>/dev/null || true)
  for child in $children; do stop_tree "$child"; done
  # The parent collects its children before it goes, so that none is left as a zombie.
  if [ -n "$children" ]; then
    for _ in $(seq 20); do [ -z "$(pgrep -P "$pid" 2>/dev/null || true)" ] && break; sleep 0.05; done
  fi
  kill "$pid" 2>/dev/null || true
}

cleanup() {
  [ -n "${READER_PID:-}" ] && kill "$READER_PID" 2>/dev/null || true
  [ -n "${DRAG_PID:-}" ] && kill "$DRAG_PID" 2>/dev/null || true
  [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null || true
  [ -n "${REGISTRY_PID:-}" ] && kill "$REGISTRY_PID" 2>/dev/null || true
  [ -n "${ATSPI_PID:-}" ] && stop_tree "$ATSPI_PID"
  [ -n "${BUS_PID:-}" ] && stop_tree "$BUS_PID"
  [ -n "${WM_PID:-}" ] && kill "$WM_PID" 2>/dev/null || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  cp -r "$ARTIFACTS/." "$KEPT/" 2>/dev/null || true # a socket left behind is no artifact
  rm -rf "$ARTIFACTS"
}
trap cleanup EXIT

# What a screen reader hears in the window with this title, through the accessibility bus.
atspi() { /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/atspi.py" "$@"; }

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
type_text() { xdotool type --delay 40 -- "$1"; sleep 0.2; }

# Chooses a file in the desktop's file dialog with this title, then clicks back into the window
# $win, as the user would: focus_window says why.
choose_file() {
  focus_window "$(wait_window "$1")"
  keys ctrl+a; type_text "$2"; keys Return
  wait_no_window "$1"
  focus_window "$win"
}

# Drags the files from another program (a drag source of the tests' own, as a file manager is
# one) onto the middle of the window $1, with the mouse, as the user does.
drag_onto() {
  local target=$1 step
  shift
  [ -n "${DRAG_PID:-}" ] && kill "$DRAG_PID" 2>/dev/null || true
  "$QM415_DRAG" "$@" >/dev/null 2>&1 &
  DRAG_PID=$!
  wait_window "Drag files" >/dev/null
  sleep 0.3
  client_geometry "$target"
  xdotool mousemove 40 40 mousedown 1
  for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((40 + (X + WIDTH / 2 - 40) * step / 8)) $((40 + (Y + HEIGHT / 2 - 40) * step / 8))
    sleep 0.05
  done
  xdotool mouseup 1
}

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
  [ "$rc" -eq 0 ] || fail "the program exited with status $rc; see $KEPT/program.log"
}
