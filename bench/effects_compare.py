#!/usr/bin/env python3
"""Times a 60 s 640x360 H.264 conversion with brightness, contrast and two
watermark items against the same conversion with none, alternating the two,
and prints the medians and their wall-time ratio.

    bench/effects_compare.py <build-dir>/bench/varnel_effects_convert_bench [rounds]
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

BENCH = sys.argv[1]
ROUNDS = int(sys.argv[2]) if len(sys.argv) > 2 else 3


def run(cmd):
    start = time.perf_counter()
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start


def main():
    work = tempfile.mkdtemp(prefix="varnel-effects-bench-")
    clip = os.path.join(work, "clip.flv")
    subprocess.run(["ffmpeg", "-v", "error", "-nostdin", "-y",
                    "-f", "lavfi", "-i", "testsrc2=size=640x360:rate=25:duration=60",
                    "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=60",
                    "-c:v", "flv1", "-q:v", "3", "-c:a", "libmp3lame", "-b:a", "128k", "-ar", "44100", "-ac", "2",
                    "-shortest", clip], check=True)
    times = {"plain": [], "edited": []}
    for _ in range(ROUNDS):
        for job in ("plain", "edited"):
            out = os.path.join(work, f"{job}.mp4")
            times[job].append(run([BENCH, job, clip, out]))
            os.remove(out)
    plain = statistics.median(times["plain"])
    edited = statistics.median(times["edited"])
    print(f"plain  {plain:6.2f} s  ({', '.join(f'{t:.2f}' for t in times['plain'])})")
    print(f"edited {edited:6.2f} s  ({', '.join(f'{t:.2f}' for t in times['edited'])})")
    print(f"ratio edited/plain {edited / plain:.3f}")


if __name__ == "__main__":
    main()
