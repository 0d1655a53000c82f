#!/usr/bin/python3
"""The headless player's cost as an installation pays it.

    bench/headless_cost.py PROGRAM [SECONDS] [RUNS]

Starts `PROGRAM --headless` with no display variables on the virtual
interface (a plain file), a show of eight scenes at tempo 20 with
crossfades playing from the settings file. Prints the time from the process
start to its first packet on the wire (RUNS runs: median and worst), then,
over SECONDS of playing, the CPU the process used (every thread's run time
from /proc/PID/task/*/schedstat, so the tick's 20 wake-ups a second count at
their true size), its resident and proportional memory and the packets
written. Goals: first packet within 100 ms, at most 0.2% of a core (0.1%
wanted), at most 25 MB.
"""
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

program = os.path.abspath(sys.argv[1])
seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 30.0
runs = int(sys.argv[3]) if len(sys.argv) > 3 else 5

work = tempfile.mkdtemp(prefix="lumetra-headless-bench-")
home = os.path.join(work, "home")
os.makedirs(os.path.join(home, "SHOW"))
show = bytearray(81920)
for s in range(8):
    for c in range(1, 256):
        show[16384 + 256 * s + c] = (c * 7 + s * 37) % 256
for c in range(256):
    show[256 + c] = 128  # crossfade rate
show[131], show[132], show[133] = 0, 7, 20  # current scene, last scene, tempo
with open(os.path.join(work, "show.lum"), "wb") as f:
    f.write(show)
with open(os.path.join(home, "SHOW", "Lumy.ini"), "w") as f:
    f.write(f"[LastFile]\r\nPath={work}/show.lum\r\n[Player]\r\nPlay=tempo\r\n")

env = {k: v for k, v in os.environ.items()
       if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}


def start(wire):
    return subprocess.Popen(
        [program, "--headless", "--home=" + home, "--interface=virtual:" + wire, "--audio=none"],
        env=env, stderr=subprocess.DEVNULL)


def stop(proc):
    proc.send_signal(signal.SIGTERM)
    proc.wait(timeout=20)


def run_ns(pid):
    """Run time and wake-ups of each thread, by name."""
    threads = {}
    for task in os.listdir(f"/proc/{pid}/task"):
        with open(f"/proc/{pid}/task/{task}/comm") as f:
            name = f.read().strip()
        with open(f"/proc/{pid}/task/{task}/schedstat") as f:
            ran, _, slices = (int(v) for v in f.read().split())
        old = threads.get(name, (0, 0))
        threads[name] = (old[0] + ran, old[1] + slices)
    return threads


def memory_kb(pid):
    out = {}
    with open(f"/proc/{pid}/smaps_rollup") as f:
        for line in f:
            key, _, value = line.partition(":")
            if key in ("Rss", "Pss"):
                out[key] = int(value.split()[0])
    return out


try:
    firsts = []
    for n in range(runs):
        wire = os.path.join(work, f"first{n}.bin")
        began = time.monotonic()
        proc = start(wire)
        while not (os.path.exists(wire) and os.path.getsize(wire) > 0):
            if time.monotonic() - began > 10:
                sys.exit("no packet within 10 s")
            time.sleep(0.0005)
        firsts.append((time.monotonic() - began) * 1000)
        stop(proc)
    print(f"start to first packet: median {statistics.median(firsts):.1f} ms, "
          f"worst {max(firsts):.1f} ms over {runs} runs (goal <= 100 ms)")

    wire = os.path.join(work, "play.bin")
    proc = start(wire)
    time.sleep(3)  # past the start-up's own work
    used0, size0, t0 = run_ns(proc.pid), os.path.getsize(wire), time.monotonic()
    time.sleep(seconds)
    used1, size1, t1 = run_ns(proc.pid), os.path.getsize(wire), time.monotonic()
    mem = memory_kb(proc.pid)
    stop(proc)
    span = t1 - t0
    share = sum(v[0] - used0.get(k, (0, 0))[0] for k, v in used1.items()) / (span * 1e9) * 100
    threads = ", ".join(
        f"{k} {(v[0] - used0.get(k, (0, 0))[0]) / (span * 1e9) * 100:.3f}% "
        f"({(v[1] - used0.get(k, (0, 0))[1]) / span:.1f} wake-ups/s)"
        for k, v in sorted(used1.items()))
    print(f"playing {seconds:.0f} s: CPU {share:.3f}% of a core [{threads}] (goal <= 0.2%, wanted 0.1%), "
          f"RSS {mem['Rss'] / 1024:.1f} MB, PSS {mem['Pss'] / 1024:.1f} MB (goal <= 25 MB), "
          f"{(size1 - size0) / (t1 - t0):.0f} wire bytes/s")
finally:
    shutil.rmtree(work, ignore_errors=True)
