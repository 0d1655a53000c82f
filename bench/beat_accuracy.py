#!/usr/bin/python3
"""Runs the real program on one song and reads its steps back at the wire.

  beat_accuracy.py PROGRAM SONG.wav MODE   (MODE: beat = "по ритму", level = the
                                             level trigger of the tab "Звук")

prints one line of figures: F-measure (+-70 ms) after the first 4 s, median and
95th percentile of |step - nearest true beat| (ms), BPM from the steps after 8 s
against the true BPM, steps in the silence after the song, and the CPU time of
the analysis thread as a share of one core."""
import os, signal, statistics, subprocess, sys, tempfile, threading, time, wave

prog, song, mode = sys.argv[1], sys.argv[2], sys.argv[3]
beats = [float(x) for x in open(song[:-4] + '.beats')]
with wave.open(song) as w:
    total = w.getnframes() / w.getframerate()
music_end = total - 4.0  # beat_songs.py ends every song in 4 s of silence

work = tempfile.mkdtemp(prefix='beat-')
home = os.path.join(work, 'home')
os.makedirs(os.path.join(home, 'SHOW'))
show = bytearray(81920)
show[132] = 7    # eight scenes
show[133] = 10   # tempo slider at 10: the level trigger's fastest look (100 ms)
for s in range(8):
    show[16384 + 256 * s + 1] = 10 + 30 * s
for c in range(256):
    show[256 + c] = 255
open(os.path.join(work, 'show.lum'), 'wb').write(show)
open(os.path.join(home, 'SHOW', 'lumiEdit.col'), 'wb').write(bytes(16384))
open(os.path.join(home, 'SHOW', 'Lumy.ini'), 'w').write(
    '[LastFile]\nPath=%s\n[Ritm]\nSource=%s\n' % (os.path.join(work, 'show.lum'), mode))
fifo = os.path.join(work, 'wire')
os.mkfifo(fifo)

packets = []  # (monotonic ns, channel 1)
def reader():
    fd = os.open(fifo, os.O_RDONLY)
    buf = b''
    while True:
        chunk = os.read(fd, 65536)
        if not chunk:
            break
        now = time.monotonic_ns()
        buf += chunk
        while True:
            a = buf.find(b'\xff\xf0')
            b = buf.find(b'\xff\xf1\xff', a + 2)
            if a < 0 or b < 0:
                break
            body = buf[a + 2:b].replace(b'\xff\xf7', b'\xff')
            if len(body) >= 2:
                packets.append((now, body[1]))
            buf = buf[b + 3:]
    os.close(fd)
t = threading.Thread(target=reader, daemon=True)
t.start()

env = dict(os.environ, QT_QPA_PLATFORM='offscreen')
p = subprocess.Popen([prog, '--home=' + home, '--interface=virtual:' + fifo, '--audio=file:' + song,
                      '--play=sound'], env=env, stderr=subprocess.PIPE, text=True)
start_ns = None
for line in p.stderr:
    if 'sound file starts at' in line:
        start_ns = int(line.split('starts at')[1].split()[0])
        break
threading.Thread(target=lambda: [None for _ in p.stderr], daemon=True).start()
time.sleep(total + 0.5)
cpu = 0.0
for tid in os.listdir('/proc/%d/task' % p.pid):
    try:
        if open('/proc/%d/task/%s/comm' % (p.pid, tid)).read().strip() == 'lumetra-beat':
            f = open('/proc/%d/task/%s/stat' % (p.pid, tid)).read().rsplit(')', 1)[1].split()
            cpu = (int(f[11]) + int(f[12])) / os.sysconf('SC_CLK_TCK')
    except OSError:
        pass
p.send_signal(signal.SIGTERM)
p.wait(20)
t.join(5)

steps = []
for (ns, v), (_, prev) in zip(packets[1:], packets):
    if v != prev:
        steps.append((ns - start_ns) / 1e9)
judged = [s for s in steps if 4.0 <= s <= music_end]
truth = [b for b in beats if 4.0 <= b <= music_end]
used, matched = set(), 0
for s in judged:
    best = min((abs(s - b), i) for i, b in enumerate(truth) if i not in used) if len(used) < len(truth) else (1, -1)
    if best[0] <= 0.070:
        used.add(best[1]); matched += 1
prec = matched / len(judged) if judged else 0
rec = matched / len(truth) if truth else 0
f = 2 * prec * rec / (prec + rec) if prec + rec else 0
offs = sorted(min(abs(s - b) for b in beats) * 1000 for s in judged) or [float('nan')]
late = [s for s in steps if s >= 8.0 and s <= music_end]
gaps = [b - a for a, b in zip(late, late[1:])]
# Steps land on 50 ms ticks: the tempo comes from the whole span, each gap
# counted as the number of beats it stands for.
spanned = sum(max(1, round(g / statistics.median(gaps))) for g in gaps) if gaps else 0
bpm = 60 * spanned / (late[-1] - late[0]) if spanned else 0
tail = [b for b in beats if b >= 8.0]
true_bpm = 60 / statistics.median([b - a for a, b in zip(tail, tail[1:])])
silent = len([s for s in steps if music_end + 1.0 <= s <= total])
if os.environ.get('STEPS'):  # the step times themselves, for a closer look
    print(' '.join('%.2f' % s for s in steps))
print('%-13s %-5s F=%.2f median=%5.1f ms p95=%5.1f ms BPM=%6.1f (true %5.1f) silence=%d cpu=%.2f%%' % (
    os.path.basename(song)[:-4], mode, f, statistics.median(offs), offs[int(0.95 * (len(offs) - 1))],
    bpm, true_bpm, silent, 100 * cpu / total))
