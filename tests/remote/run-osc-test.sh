#!/usr/bin/env bash
# OSC end to end: the console with --osc on 127.0.0.1, messages from
# oscsend, the state sent back read with oscdump, the wire read as the
# interface gets it; with "headless" the player without a window and
# without any display.
#   run-osc-test.sh PROGRAM WORKDIR [headless]
set -euo pipefail
program=$1
work=$2
front=${3:-window}
rm -rf "$work" && mkdir -p "$work/home/SHOW"
fail() { echo "FAIL: $*" >&2; exit 1; }

python3 - "$work/home" <<'PY'
import sys
home = sys.argv[1]
b = bytearray(81920)
b[132] = 1
b[133] = 10
for c in range(1, 256):
    b[256 + c] = 255
b[16384 + 1] = 10
b[16384 + 256 + 1] = 20
b[4608 + 512 * 15 + 7] = 1            # picture "M" (16): channel 7 at 99
b[4608 + 512 * 15 + 256 + 7] = 99
open(home + "/first.lum", "wb").write(bytes(b))
open(home + "/SHOW/Lumy.ini", "wb").write(("[LastFile]\r\nPath=%s/first.lum\r\n" % home).encode())
PY

free_port() { python3 -c 'import socket; s=socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }
osc=$(free_port)
reply=$(free_port)
if [ "$front" = headless ]; then
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --headless --home="$work/home" \
    --interface="virtual:$work/wire" --audio=none --osc="$osc" >"$work/console.log" 2>&1 &
else
  QT_QPA_PLATFORM=offscreen "$program" --home="$work/home" --interface="virtual:$work/wire" \
    --audio=none --osc="$osc" >"$work/console.log" 2>&1 &
fi
console=$!
oscdump -L "$reply" >"$work/dump.txt" 2>&1 &
dump=$!
trap 'kill $console $dump 2>/dev/null; wait $console $dump 2>/dev/null || true' EXIT
for _ in $(seq 200); do grep -q "OSC: 127.0.0.1:$osc" "$work/console.log" && break; sleep 0.05; done
grep -q "OSC: 127.0.0.1:$osc" "$work/console.log" || fail "no OSC line in the log"

# Channel c of the last whole packet on the wire.
channel() {
  python3 - "$work/wire" "$1" <<'PY'
import sys
b = open(sys.argv[1], "rb").read()
end = b.rfind(b"\xff\xf1\xff"); start = b.rfind(b"\xff\xf0", 0, end)
line = b[start + 2:end].replace(b"\xff\xf7", b"\xff")
print(line[int(sys.argv[2])] if len(line) == 513 else -1)
PY
}
wait_channel() {  # CHANNEL VALUE
  for _ in $(seq 100); do [ "$(channel "$1")" = "$2" ] && return 0; sleep 0.05; done
  fail "channel $1 is $(channel "$1"), not $2"
}
send() { oscsend 127.0.0.1 "$osc" "$@"; }

sleep 1.5  # the last show is loaded once the window is up
send /lumetra/subscribe i "$reply"
wait_channel 1 10

# Play: both scenes pass on the wire; the client hears that the show plays.
send /lumetra/play
seen=""
for _ in $(seq 60); do seen="$seen $(channel 1)"; sleep 0.025; done
case "$seen" in *" 10"*) ;; *) fail "play: channel 1 never 10: $seen" ;; esac
case "$seen" in *" 20"*) ;; *) fail "play: channel 1 never 20: $seen" ;; esac
send /lumetra/stop

# A picture on and off (floats and true/false count as numbers).
send /lumetra/picture iT 16
wait_channel 7 99
send /lumetra/picture ii 16 0
wait_channel 7 0

# Blackout takes the whole line down.
send /lumetra/blackout i 1
wait_channel 1 0
send /lumetra/blackout f 0
for _ in $(seq 100); do [ "$(channel 1)" != 0 ] && break; sleep 0.05; done
[ "$(channel 1)" != 0 ] || fail "blackout off: channel 1 stays 0"

# Go to a scene, then move a fader row of it (the window does both with its
# own scene slider and fader).
send /lumetra/scene i 1
wait_channel 1 10
send /lumetra/scene i 2
wait_channel 1 20
send /lumetra/fader ii 1 33
wait_channel 1 33

# Malformed and unknown messages change nothing and are counted.
python3 - "$osc" <<'PY'
import socket, sys
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
for junk in [b"\x00\x01garbage", b"/lumetra/play\x00\x00\x00,i\x00", b"#bundle\x00" + b"\x00" * 8,
             b"/lumetra/tempo\x00\x00,s\x00\x00x\x00\x00\x00"]:
    s.sendto(junk, ("127.0.0.1", int(sys.argv[1])))
PY
send /lumetra/tempo i 999
send /lumetra/nothing
send /lumetra/tempo i 50

# Four broken datagrams and two messages out of range or unknown (the
# counts are told at most once a second).
for _ in $(seq 100); do grep -q 'OSC: [0-9]* taken, 6 ignored' "$work/console.log" && break; sleep 0.05; done
grep -q '/lumetra/tempo i 50' "$work/dump.txt" || sleep 0.5
grep -q 'OSC: [0-9]* taken, 6 ignored' "$work/console.log" || fail "ignored messages not counted: $(grep 'OSC:' "$work/console.log" | tail -1)"
grep -q '/lumetra/playing i 1' "$work/dump.txt" || fail "no /lumetra/playing 1 sent back"
grep -q '/lumetra/picture ii 16 1' "$work/dump.txt" || fail "no /lumetra/picture 16 1 sent back"
grep -q '/lumetra/blackout i 1' "$work/dump.txt" || fail "no /lumetra/blackout 1 sent back"
grep -q '/lumetra/tempo i 50' "$work/dump.txt" || fail "tempo 50 not taken"
grep -q '/lumetra/tempo i 999' "$work/dump.txt" && fail "tempo 999 taken"
echo "OSC end to end ($front): ok"
