#!/usr/bin/env bash
# Does the web remote disturb the output? The real program (virtual
# interface on a FIFO, remote on 127.0.0.1, a show stepping every 100 ms, so
# that every step is a new state for every page) read by wire_reader: once
# with no page open, once with PAGES pages open, each acting once a second.
#   bench/remote-load.sh [SECONDS] [PAGES] [BUILD]   (defaults: 30, 50, build)
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_RUN=${1:-30}
PAGES=${2:-50}
BUILD=${3:-build}

work=$(mktemp -d)
console=""
cleanup() {
  [ -n "$console" ] && kill "$console" 2>/dev/null && wait "$console" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cc -O2 -o "$work/wire_reader" bench/wire_reader.c
mkdir -p "$work/home/SHOW"
python3 - "$work/home" <<'PY'
import sys
home = sys.argv[1]
b = bytearray(81920)
b[132] = 7; b[133] = 10
for c in range(1, 256): b[256 + c] = 40
for s in range(8):
    for c in range(1, 256): b[16384 + 256 * s + c] = (s * 37 + c) % 256
open(home + "/show.lum", "wb").write(bytes(b))
open(home + "/SHOW/Lumy.ini", "wb").write(("[LastFile]\r\nPath=%s/show.lum\r\n" % home).encode())
PY
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')

run() {  # PAGES
  rm -f "$work/wire"; mkfifo "$work/wire"
  QT_QPA_PLATFORM=offscreen "$BUILD/lumetra" --home="$work/home" --interface="virtual:$work/wire" \
    --audio=none --play --remote="127.0.0.1:$port" --remote-password=bench-password \
    >"$work/console.log" 2>&1 &
  console=$!
  local pages=""
  if [ "$1" -gt 0 ]; then
    (sleep 2; "$BUILD/bench/remote_pages" "127.0.0.1:$port" bench-password "$1" \
       "$((SECONDS_RUN - 3))" --act) &
    pages=$!
  fi
  "$work/wire_reader" "$work/wire" "$SECONDS_RUN"
  [ -n "$pages" ] && wait "$pages"
  kill "$console" 2>/dev/null && wait "$console" 2>/dev/null || true
  console=""
}
echo "== remote on, no page open"
run 0
echo "== remote on, $PAGES pages open"
run "$PAGES"
