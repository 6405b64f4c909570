#!/usr/bin/env python3
"""Times the benchmark jobs through the engine and through the ffmpeg command
line with the same settings, alternating the two, and prints the wall-time
ratio engine/CLI and the peak memory of each.

    bench/compare.py <build-dir>/bench/varnel_convert_bench [rounds]
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

BENCH = sys.argv[1]
ROUNDS = int(sys.argv[2]) if len(sys.argv) > 2 else 3

CLI = {
    "h264": ["-c:v", "libx264", "-b:v", "768k", "-c:a", "aac", "-b:a", "128k"],
    "mpeg4": ["-c:v", "mpeg4", "-c:a", "libmp3lame"],
    "dvd": ["-target", "pal-dvd"],
}
EXT = {"h264": "mp4", "h264-hook": "mp4", "mpeg4": "avi", "dvd": "mpg"}


def run(cmd):
    start = time.perf_counter()
    proc = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    err = proc.stderr.read().decode(errors="replace")
    if proc.returncode != 0:
        sys.exit(f"failed: {' '.join(cmd)}\n{err}")
    return wall, usage.ru_maxrss / 1024.0  # MiB


def main():
    work = tempfile.mkdtemp(prefix="varnel-bench-")
    clip = os.path.join(work, "clip.flv")
    subprocess.run(["ffmpeg", "-v", "error", "-nostdin", "-y",
                    "-f", "lavfi", "-i", "testsrc2=size=640x360:rate=25:duration=60",
                    "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=60",
                    "-c:v", "flv1", "-q:v", "3", "-c:a", "libmp3lame", "-b:a", "128k", "-ar", "44100", "-ac", "2",
                    "-shortest", clip], check=True)
    results = {}
    for job in ["h264", "h264-hook", "mpeg4", "dvd"]:
        ours, theirs = [], []
        for r in range(ROUNDS):
            out = os.path.join(work, f"engine.{EXT[job]}")
            if os.path.exists(out):
                os.remove(out)
            ours.append(run([BENCH, job, clip, out]))
            os.remove(out)
            if job in CLI:
                out = os.path.join(work, f"cli.{EXT[job]}")
                theirs.append(run(["ffmpeg", "-v", "error", "-nostdin", "-y", "-i", clip] + CLI[job] + [out]))
                os.remove(out)
        results[job] = (ours, theirs)
        line = f"{job:10s} engine {statistics.median(w for w, _ in ours):6.2f} s {max(m for _, m in ours):6.1f} MiB"
        if theirs:
            ratio = statistics.median(w for w, _ in ours) / statistics.median(w for w, _ in theirs)
            line += (f" | cli {statistics.median(w for w, _ in theirs):6.2f} s {max(m for _, m in theirs):6.1f} MiB"
                     f" | ratio engine/cli {ratio:.2f}")
        print(line, flush=True)
    hook = statistics.median(w for w, _ in results["h264-hook"][0])
    plain = statistics.median(w for w, _ in results["h264"][0])
    print(f"hook overhead (h264 with a no-op hook / without): {hook / plain:.2f}")


if __name__ == "__main__":
    main()
