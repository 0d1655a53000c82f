#!/usr/bin/env bash
# The whole console on a desktop, as an operator runs it: the real program
# under Xvfb with the virtual interface, a show playing at tempo 20 on the
# sequencer page with the fader page shown.
#
#   bench/bench-desktop.sh [SECONDS] [BUILD_DIR]     (defaults: 60, build)
#
# Prints the time from the process start to its window mapped (five runs
# and their median, with the title of the window the X server mapped first),
# once as prepared here and once as a new user starts it (default options,
# an empty data folder); then the program's CPU use while playing (utime +
# stime over SECONDS), its resident memory and the wire stream's rate.
# LUMETRA=path measures another build. Needs Xvfb, xdotool and
# BUILD_DIR/bench/window_mapped. Never part of ctest.
set -euo pipefail

play_s=${1:-60}
build=${2:-build}
program=${LUMETRA:-$build/lumetra}
mapped=$build/bench/window_mapped
for tool in Xvfb xdotool python3 "$program" "$mapped"; do
  command -v "$tool" >/dev/null || { echo "bench-desktop: $tool is missing" >&2; exit 2; }
done

work=$(mktemp -d)
xvfb_pid=""
prog_pid=""
cleanup() {
  [ -n "$prog_pid" ] && kill "$prog_pid" 2>/dev/null && wait "$prog_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A display of our own.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"

# A show of eight scenes at tempo 20 (a step every 400 ms), the last show of
# the settings file, so that the console opens it at start-up.
mkdir -p "$work/home/SHOW" "$work/run"
chmod 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"
python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
show = bytearray(81920)
for s in range(8):
    for c in range(1, 256):
        show[16384 + 256 * s + c] = (c * 7 + s * 37) % 256
for c in range(256):
    show[256 + c] = 128          # crossfade rate
show[131], show[132], show[133] = 0, 7, 20   # current scene, last scene, tempo
open(f"{work}/show.lum", "wb").write(show)
open(f"{work}/home/SHOW/lumiEdit.col", "wb").write(bytes(16384))
open(f"{work}/home/SHOW/Lumy.ini", "w").write(f"[LastFile]\r\nPath={work}/show.lum\r\n")
PY
args=(--home="$work/home" --interface=virtual:"$work/wire.bin" --audio=none)

echo "== start to window mapped, virtual interface, no sound, the show of the settings (5 runs)"
"$mapped" 5 "$program" "${args[@]}"
echo "== start to window mapped as a new user: default options, empty data folder (5 runs)"
"$mapped" 5 sh -c 'rm -rf "$1"; mkdir -p "$1"; exec "$2" --home="$1"' sh "$work/new" "$program" \
  2>/dev/null

echo "== playing for ${play_s} s"
"$program" "${args[@]}" >"$work/out.log" 2>&1 &
prog_pid=$!
wid=$(timeout 20 xdotool search --sync --onlyvisible --pid "$prog_pid" --name 'LUMETRA|lum' | head -1)
sleep 1  # the console opens its files and devices once the window is up
# The minus key of the main keyboard is Play.
xdotool windowfocus --sync "$wid" key minus
sleep 3  # the first poll opens the interface; let the show settle

ticks() { awk '{print $14 + $15}' "/proc/$prog_pid/stat"; }
hz=$(getconf CLK_TCK)
wire0=$(stat -c %s "$work/wire.bin" 2>/dev/null || echo 0)
t0=$(ticks)
sleep "$play_s"
t1=$(ticks)
wire1=$(stat -c %s "$work/wire.bin" 2>/dev/null || echo 0)
rss=$(awk '/^VmRSS/ {print $2}' "/proc/$prog_pid/status")
# The show must have played: the last packets of the stream differ.
python3 - "$work/wire.bin" <<'PY' || echo "warning: the stream did not change: did the show play?"
import sys
data = open(sys.argv[1], "rb").read()
packets = data.split(b"\xff\xf0")
sys.exit(0 if len(set(packets[-40:-1])) > 1 else 1)
PY
awk -v d=$((t1 - t0)) -v hz="$hz" -v s="$play_s" \
  'BEGIN { printf "cpu: %.2f%% (%d ticks of 1/%d s in %d s)\n", 100 * d / hz / s, d, hz, s }'
echo "rss: $((rss / 1024)) MB"
echo "wire: $(( (wire1 - wire0) / play_s )) bytes/s written while playing"
