#!/usr/bin/env bash
# Builds qm415 and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" run
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$root/build/release"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<MSG
qm415 is a desktop program and there is no display here (neither DISPLAY nor WAYLAND_DISPLAY
is set). Run it from a desktop session, or under a virtual display:
    sudo apt-get install xvfb && xvfb-run -a -s "-screen 0 1280x1024x24" $0
MSG
  exit 1
fi
exec "$root/build/release/src/qm415" "$@"
