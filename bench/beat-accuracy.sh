#!/usr/bin/env bash
# Beat accuracy of the console on songs with known beats, read at the wire.
#   bench/beat-accuracy.sh [BUILD] [SONG_FOLDER]
# Makes the songs (bench/beat_songs.py: drum kits at 80..170 BPM, a tempo
# change, a break, noise, a band through fluidsynth) unless the folder has
# them, then plays each through the real program (--audio=file:, the virtual
# interface on a FIFO) with the steps "по ритму" and, as the baseline, with the
# level trigger, and prints one line per song and mode (bench/beat_accuracy.py).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
songs=${2:-${TMPDIR:-/tmp}/lumetra-beat-songs}
[ -f "$songs/kit-120.wav" ] || /usr/bin/python3 bench/beat_songs.py "$songs"
for song in "$songs"/*.wav; do
  for mode in beat level; do
    /usr/bin/python3 bench/beat_accuracy.py "$build/lumetra" "$song" "$mode"
  done
done
