#!/usr/bin/env python3
"""The live benchmark: a log that grows while KORVANEL follows it.

    bench/follow.py PROGRAM SOURCE_LOG [--seconds 20] [--batch 100] [--every 0.1] [--start 10000]

The log starts with the first START lines of SOURCE_LOG; then BATCH more
come every EVERY seconds for SECONDS seconds, while `PROGRAM --follow`
follows it. For every batch, the time from its arrival to the status line
that counts its lines (shown once the pages that hold them are in place)
is its latency; the 50th and 95th percentiles and the longest are printed
(goal: 95th under 3 s). Then the log stays still for ten seconds, and the
processor time the program used meanwhile is printed as a share of one
core (goal: under 1%). A byte on standard input ends the following.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import time

STATUS = re.compile(rb"\ren direct : (\d+) lignes, pages mises a jour a [-:0-9]{8}")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat", "rb") as stat:
        fields = stat.read().rsplit(b")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("source")
    parser.add_argument("--seconds", type=float, default=20)
    parser.add_argument("--batch", type=int, default=100)
    parser.add_argument("--every", type=float, default=0.1)
    parser.add_argument("--start", type=int, default=10000)
    args = parser.parse_args()
    args.program = os.path.abspath(args.program)

    with open(args.source, "rb") as source:
        lines = source.read().splitlines(keepends=True)
    batches = int(args.seconds / args.every)
    needed = args.start + batches * args.batch
    if len(lines) < needed:
        sys.exit(f"follow.py: the source log needs {needed} lines")
    if any(len(line) > 299 for line in lines[:needed]):
        sys.exit("follow.py: lines of the source log must be at most 299 bytes")

    with tempfile.TemporaryDirectory() as work:
        log = os.path.join(work, "chat.log")
        with open(log, "wb") as out:
            out.writelines(lines[: args.start])
        console_path = os.path.join(work, "console.txt")
        keys_read, keys_write = os.pipe()
        with open(console_path, "wb") as console:
            program = subprocess.Popen([args.program, "--follow"], cwd=work, stdin=keys_read, stdout=console,
                                       stderr=subprocess.DEVNULL)
        os.close(keys_read)
        shown = {}  # line count -> when its status line was first seen

        def read_console():
            with open(console_path, "rb") as console:
                text = console.read()
            now = time.monotonic()
            for match in STATUS.finditer(text):
                shown.setdefault(int(match.group(1)), now)

        deadline = time.monotonic() + 120
        while b"appuyez sur une touche pour arreter" not in open(console_path, "rb").read():
            if time.monotonic() > deadline or program.poll() is not None:
                sys.exit("follow.py: the first read did not end")
            time.sleep(0.05)

        arrivals = []  # (time, line count after the batch)
        count = args.start
        begin = time.monotonic()
        with open(log, "ab", buffering=0) as out:
            for i in range(batches):
                while time.monotonic() < begin + i * args.every:
                    read_console()
                    time.sleep(0.005)
                out.write(b"".join(lines[count : count + args.batch]))
                count += args.batch
                arrivals.append((time.monotonic(), count))
        deadline = time.monotonic() + 15
        while (not shown or max(shown) < count) and time.monotonic() < deadline:
            read_console()
            time.sleep(0.005)
        # Idle: nothing comes for ten seconds once the last update is in place.
        time.sleep(1)
        idle_start = cpu_seconds(program.pid)
        time.sleep(10)
        idle = cpu_seconds(program.pid) - idle_start
        os.write(keys_write, b"x")
        program.wait(timeout=60)
        os.close(keys_write)

    latencies = []
    for arrived, lines_then in arrivals:
        when = min((t for n, t in shown.items() if n >= lines_then), default=None)
        if when is None:
            sys.exit(f"follow.py: line {lines_then} was never shown")
        latencies.append(when - arrived)
    latencies.sort()

    def percentile(p):
        return latencies[min(len(latencies) - 1, int(p / 100 * len(latencies)))]

    print(f"follow: {batches} batches of {args.batch} lines every {args.every:g} s, {len(shown)} updates;"
          f" latency 50% {percentile(50):.2f} s, 95% {percentile(95):.2f} s, longest {latencies[-1]:.2f} s;"
          f" idle {100 * idle / 10:.2f}% of a core")
    if percentile(95) >= 3:
        print("follow: the 95th percentile is over the 3 s goal")


if __name__ == "__main__":
    main()
