#!/usr/bin/env bash
# The output clock as the operator gets it: the real program (window under
# Xvfb, virtual interface on a FIFO) read by a small reader, beside the
# thread-only figures of bench_timing on the same machine.
#   bench/wire-timing.sh [SECONDS] [BUILD]     (defaults: 60, build)
# AS_USER=NAME (run as root) starts the console, and bench_timing, as that
# ordinary user while the reader keeps its real-time priority: what an
# operator without root gets.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_RUN=${1:-60}
BUILD=${2:-build}

work=$(mktemp -d)
console=""
xserver=""
cleanup() {
  [ -n "$console" ] && kill "$console" 2>/dev/null && wait "$console" 2>/dev/null
  [ -n "$xserver" ] && kill "$xserver" 2>/dev/null && wait "$xserver" 2>/dev/null
  [ -n "${KEEP:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT

as_user=()
if [ -n "${AS_USER:-}" ]; then
  as_user=(setpriv --reuid="$AS_USER" --regid="$(id -g "$AS_USER")" --clear-groups env HOME="$work/home")
  chmod 755 "$work"
fi
cc -O2 -o "$work/wire_reader" bench/wire_reader.c
mkfifo "$work/wire"
mkdir -p "$work/home"
[ -n "${AS_USER:-}" ] && chown "$AS_USER" "$work/home" "$work/wire"

# A display of our own, so that the window is really drawn; offscreen
# where there is no Xvfb.
if command -v Xvfb >/dev/null; then
  Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$work/display" 2>/dev/null &
  xserver=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
  export DISPLAY=":$(cat "$work/display")"
  unset QT_QPA_PLATFORM
else
  export QT_QPA_PLATFORM=offscreen
fi
"${as_user[@]}" "$BUILD/lumetra" --home="$work/home" --interface="virtual:$work/wire" --audio=none \
  >"$work/console.log" 2>&1 &
console=$!

"$work/wire_reader" "$work/wire" "$SECONDS_RUN"
kill "$console" 2>/dev/null && wait "$console" 2>/dev/null || true
console=""

echo "thread alone (bench_timing, same machine, same length):"
"${as_user[@]}" "$BUILD/bench/bench_timing" "$SECONDS_RUN"
