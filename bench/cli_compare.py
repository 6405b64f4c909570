#!/usr/bin/env python3
"""Times varnel-cli converting ten clips to H.264 MP4 (format 103 with its
default profile) against a shell loop of the ffmpeg command line with the
same settings, alternating the two, and prints the wall-time ratio.

    bench/cli_compare.py <build-dir>/src/app/varnel-cli [rounds] [clips] [seconds]

The x264 settings line each side writes into its files is compared, so a
difference in encoder options shows up instead of skewing the figure.
"""
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

CLI_BIN = sys.argv[1]
ROUNDS = int(sys.argv[2]) if len(sys.argv) > 2 else 3
CLIPS = int(sys.argv[3]) if len(sys.argv) > 3 else 10
SECONDS = int(sys.argv[4]) if len(sys.argv) > 4 else 10

# The default profile of format 103: 640x480, 768 kbit/s, 25 fps, GOP 250,
# level 3.0, AAC 128 kbit/s 44.1 kHz stereo.
FFMPEG_ARGS = ["-c:v", "libx264", "-b:v", "768k", "-g", "250", "-level", "30", "-r", "25", "-s", "640x480",
               "-c:a", "aac", "-b:a", "128k", "-ar", "44100", "-ac", "2"]


def timed(cmd, shell=False):
    start = time.perf_counter()
    subprocess.run(cmd, shell=shell, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start


def x264_settings(path):
    data = open(path, "rb").read()
    match = re.search(rb"options: ([^\x00]*)", data)
    # Thread counts follow the machine, not the job.
    return re.sub(rb"(lookahead_)?threads=\d+ ", b"", match.group(1)) if match else b""


def main():
    work = tempfile.mkdtemp(prefix="varnel-cli-bench-")
    clips = []
    for i in range(CLIPS):
        clip = os.path.join(work, f"clip{i}.flv")
        subprocess.run(["ffmpeg", "-v", "error", "-nostdin", "-y",
                        "-f", "lavfi", "-i", f"testsrc2=size=640x480:rate=25:duration={SECONDS}",
                        "-f", "lavfi", "-i", f"sine=frequency={300 + 40 * i}:sample_rate=44100:duration={SECONDS}",
                        "-c:v", "flv1", "-q:v", "3", "-c:a", "libmp3lame", "-b:a", "128k", "-ar", "44100", "-ac", "2",
                        "-shortest", clip], check=True)
        clips.append(clip)
    config = os.path.join(work, "config")
    os.mkdir(config)
    ours, theirs = [], []
    for r in range(ROUNDS):
        out = os.path.join(work, "ours")
        shutil.rmtree(out, ignore_errors=True)
        os.mkdir(out)
        ours.append(timed([CLI_BIN, "--config-dir", config, "--format", "103", "--output-dir", out] + clips))
        ours_file = os.path.join(out, sorted(os.listdir(out))[0])
        ours_settings = x264_settings(ours_file)

        out = os.path.join(work, "theirs")
        shutil.rmtree(out, ignore_errors=True)
        os.mkdir(out)
        loop = "for f in " + " ".join(clips) + "; do ffmpeg -v error -nostdin -y -i \"$f\" " + " ".join(
            FFMPEG_ARGS) + " \"" + out + "/$(basename \"$f\" .flv).mp4\" || exit 1; done"
        theirs.append(timed(["bash", "-c", loop]))
        theirs_settings = x264_settings(os.path.join(out, "clip0.mp4"))
        if ours_settings != theirs_settings:
            print("x264 settings differ:\n  varnel-cli: " + ours_settings.decode() + "\n  ffmpeg:     " +
                  theirs_settings.decode())
        print(f"round {r + 1}: varnel-cli {ours[-1]:.2f} s, ffmpeg loop {theirs[-1]:.2f} s", flush=True)
    ratio = statistics.median(ours) / statistics.median(theirs)
    print(f"{CLIPS} clips of {SECONDS} s: varnel-cli {statistics.median(ours):.2f} s, "
          f"ffmpeg loop {statistics.median(theirs):.2f} s, ratio {ratio:.3f}")
    shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
