#!/usr/bin/env bash
# The web remote end to end: the console with the virtual interface and the
# remote on 127.0.0.1, Debian's chromium driven by playwright-core (from the
# npm registry, installed here on first use), the wire read by the test.
#   run-browser-test.sh PROGRAM WORKDIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1
work=$2
rm -rf "$work/home" "$work/wire"
mkdir -p "$work/home/SHOW" "$work/npm"

# playwright-core from the lock file, never a browser download.
if [ ! -f "$work/npm/node_modules/playwright-core/package.json" ]; then
  cp "$here/browser/package.json" "$here/browser/package-lock.json" "$work/npm/"
  (cd "$work/npm" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
fi
cp "$here/browser/remote.test.mjs" "$work/npm/"

# Two shows: the first alternates channel 1 between 10 and 20 at the
# fastest tempo and has picture "1" = channel 5 at 200; the second holds
# channel 2 at 77. The conveyor's slot 3 names the second.
python3 - "$work/home" <<'PY'
import sys
home = sys.argv[1]
def show(levels, picture=None):
    b = bytearray(81920)
    b[132] = len(levels) - 1   # last scene
    b[133] = 10                # tempo: a step every 100 ms
    for c in range(1, 256):
        b[256 + c] = 255       # rates: the output jumps to each scene
    for s, scene in enumerate(levels):
        for c, v in scene.items():
            b[16384 + 256 * s + c] = v
    if picture:
        c, v = picture
        b[4608 + c] = 1
        b[4608 + 256 + c] = v
    return bytes(b)
open(home + "/first.lum", "wb").write(show([{1: 10}, {1: 20}], picture=(5, 200)))
open(home + "/second.lum", "wb").write(show([{2: 77}, {2: 77}]))
open(home + "/SHOW/Lumy.ini", "wb").write(
    ("[Konveir]\r\nFile03=%s/second.lum\r\n[LastFile]\r\nPath=%s/first.lum\r\n" % (home, home)).encode())
PY

password="a-remote-$RANDOM-$RANDOM"
printf '%s\n' "$password" > "$work/home/password"
chmod 600 "$work/home/password"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')

QT_QPA_PLATFORM=offscreen "$program" --home="$work/home" --interface="virtual:$work/wire" \
  --audio=none --remote="127.0.0.1:$port" --remote-password-file="$work/home/password" \
  >"$work/console.log" 2>&1 &
console=$!
trap 'kill $console 2>/dev/null; wait $console 2>/dev/null || true' EXIT
for _ in $(seq 200); do
  grep -q "Пульт: http://127.0.0.1:$port/" "$work/console.log" && break
  sleep 0.05
done

REMOTE_URL="http://127.0.0.1:$port/" WIRE="$work/wire" REMOTE_PASSWORD="$password" \
  node --test "$work/npm/remote.test.mjs"
