#!/usr/bin/env bash
# The output clock as the operator gets it: the real program (window under
# Xvfb, virtual interface on a FIFO) read by a small reader, beside the
# thread-only figures of bench_timing on the same machine.
#   bench/wire-timing.sh [SECONDS] [BUILD]     (defaults: 60, build)
# Run as an ordinary user to see what one gets (e.g. under setpriv), or as
# root for SCHED_FIFO.
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
  rm -rf "$work"
}
trap cleanup EXIT

cc -O2 -o "$work/wire_reader" bench/wire_reader.c
mkfifo "$work/wire"
mkdir -p "$work/home"

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
"$BUILD/lumetra" --home="$work/home" --interface="virtual:$work/wire" --audio=none \
  >"$work/console.log" 2>&1 &
console=$!

"$work/wire_reader" "$work/wire" "$SECONDS_RUN"
kill "$console" 2>/dev/null && wait "$console" 2>/dev/null || true
console=""

echo "thread alone (bench_timing, same machine, same length):"
"$BUILD/bench/bench_timing" "$SECONDS_RUN"
