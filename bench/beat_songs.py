#!/usr/bin/python3
"""Test songs with known beats for bench/beat-accuracy.sh.

  beat_songs.py FOLDER      writes FOLDER/NAME.wav and FOLDER/NAME.beats (one
                            true beat time in seconds per line) for every song

Synthesised drum kits (kick, snare, hi-hats) at 80..170 BPM, a tempo change, a
break, a kit under loud noise, and a band rendered by fluidsynth with the GM
sound font from a MIDI file written here (drums, bass, piano). Every song ends
in four seconds of silence. Plain Python: nothing but the standard library,
sox-free, deterministic (fixed seeds)."""
import math, os, random, struct, subprocess, sys, wave

RATE = 44100
SILENCE = 4.0


def kick(t):
    return 0.8 * math.exp(-t / 0.06) * math.sin(2 * math.pi * (50 + 60 * math.exp(-t / 0.02)) * t) if t < 0.25 else 0.0


def drum_kit(beats, length, rng, hats=True, snare=True):
    """A kit on the given beat times (beats 1 and 3 of a bar: kick, 2 and 4: snare)."""
    out = [0.0] * int(length * RATE)
    noise = [rng.uniform(-1, 1) for _ in range(RATE // 5)]
    for n, b in enumerate(beats):
        start = int(b * RATE)
        period = (beats[n + 1] - b) if n + 1 < len(beats) else (b - beats[n - 1])
        for i in range(int(0.25 * RATE)):
            if start + i >= len(out): break
            t = i / RATE
            v = kick(t) if n % 2 == 0 else 0.0
            if snare and n % 2 == 1 and t < 0.15:
                v += 0.5 * math.exp(-t / 0.04) * noise[i] + 0.3 * math.exp(-t / 0.05) * math.sin(2 * math.pi * 190 * t)
            out[start + i] += v
        if hats:
            for half in (0.0, 0.5):
                hs = start + int(half * period * RATE)
                for i in range(int(0.04 * RATE)):
                    if hs + i >= len(out): break
                    out[hs + i] += 0.15 * math.exp(-i / RATE / 0.01) * noise[(i * 7) % len(noise)]
    return out


def steady(bpm, seconds, start=0.5):
    period = 60.0 / bpm
    return [start + k * period for k in range(int((seconds - start) / period))]


def write(folder, name, samples, beats):
    peak = max(1e-9, max(abs(v) for v in samples))
    scale = 0.9 / peak
    frames = bytearray()
    for v in samples + [0.0] * int(SILENCE * RATE):
        frames += struct.pack('<h', int(max(-1, min(1, v * scale)) * 32767))
    with wave.open(os.path.join(folder, name + '.wav'), 'wb') as w:
        w.setnchannels(1); w.setsampwidth(2); w.setframerate(RATE); w.writeframes(bytes(frames))
    with open(os.path.join(folder, name + '.beats'), 'w') as f:
        f.write(''.join('%.4f\n' % b for b in beats))


def midi_song(path, bpm, bars):
    """Type-0 MIDI: GM drums on channel 10, a bass line and piano chords."""
    tpq = 480
    events = []  # (tick, bytes)
    def note(ch, key, vel, at, dur):
        events.append((at, bytes([0x90 | ch, key, vel])))
        events.append((at + dur, bytes([0x80 | ch, key, 0])))
    events.append((0, bytes([0xC0 | 0, 0])))   # piano
    events.append((0, bytes([0xC0 | 1, 33])))  # fingered bass
    chords = [(60, 64, 67), (57, 60, 64), (65, 69, 72), (67, 71, 74)]
    for bar in range(bars):
        for beat in range(4):
            at = (bar * 4 + beat) * tpq
            note(9, 36 if beat % 2 == 0 else 38, 110, at, tpq // 4)       # kick / snare
            note(9, 42, 70, at, tpq // 8); note(9, 42, 60, at + tpq // 2, tpq // 8)  # hats
            note(1, chords[bar % 4][0] - 24, 90, at, tpq // 2)            # bass
        for k in chords[bar % 4]:
            note(0, k, 60, bar * 4 * tpq, 4 * tpq - 10)
    events.sort(key=lambda e: e[0])
    track = bytearray(b'\x00\xff\x51\x03' + struct.pack('>I', int(60e6 / bpm))[1:])
    last = 0
    for at, data in events:
        delta = at - last; last = at
        var = [delta & 0x7f]
        while delta > 0x7f:
            delta >>= 7; var.insert(0, (delta & 0x7f) | 0x80)
        track += bytes(var) + data
    track += b'\x00\xff\x2f\x00'
    with open(path, 'wb') as f:
        f.write(b'MThd' + struct.pack('>IHHH', 6, 0, 1, tpq) + b'MTrk' + struct.pack('>I', len(track)) + track)


def main(folder):
    os.makedirs(folder, exist_ok=True)
    rng = random.Random(7)
    length = 24.0
    for bpm in (80, 100, 120, 128, 150, 170):
        beats = steady(bpm, length)
        write(folder, 'kit-%d' % bpm, drum_kit(beats, length, rng), beats)
    # Tempo change: 120 BPM, then 132 from 12 s.
    first = steady(120, 12.0)
    second = [first[-1] + 0.5 + k * 60 / 132 for k in range(int(12 / (60 / 132)))]
    write(folder, 'tempo-change', drum_kit(first + second, length, rng), first + second)
    # A break: 8 s of drums, 6 s of a soft pad alone, drums again.
    beats = steady(118, length)
    kit = drum_kit([b for b in beats if b < 8 or b >= 14], length, rng)
    for i in range(int(8 * RATE), int(14 * RATE)):
        kit[i] += 0.05 * math.sin(2 * math.pi * 220 * i / RATE)
    write(folder, 'break', kit, [b for b in beats if b < 8 or b >= 14])
    # Under noise: the kit with white noise 14 dB below its peak.
    beats = steady(110, length)
    kit = drum_kit(beats, length, rng)
    write(folder, 'noise', [v + 0.2 * rng.uniform(-1, 1) for v in kit], beats)
    # A band through fluidsynth.
    font = '/usr/share/sounds/sf2/FluidR3_GM.sf2'
    if os.path.exists(font):
        mid = os.path.join(folder, 'band.mid')
        midi_song(mid, 124, 12)
        raw = os.path.join(folder, 'band-raw.wav')
        subprocess.run(['fluidsynth', '-ni', '-q', '-g', '0.8', '-F', raw, '-r', str(RATE), font, mid],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with wave.open(raw) as w:
            ch, n = w.getnchannels(), w.getnframes()
            data = struct.unpack('<%dh' % (n * ch), w.readframes(n))
        mono = [sum(data[i:i + ch]) / ch / 32768 for i in range(0, len(data), ch)]
        period = 60 / 124
        write(folder, 'band', mono, [k * period for k in range(12 * 4)])
        os.remove(raw)


if __name__ == '__main__':
    main(sys.argv[1])
