#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The per-tick cost of Ostrel against a bare window of the same controls.

Both programs run on a private Xvfb server at the real rate of one tick a
second, in turn, several times; each run is timed through the programs' own
OSTREL_TICK_LOG hook (app/tick_log.h).  Per run it takes:

  tick handler       median and 95th percentile of the timeout handling, us
  tick to painted    median and 95th percentile from the tick's start to the
                     end of the next painting of the window (drawn and
                     flushed), ms
  CPU while idle     CPU time of all the program's threads over the measured
                     window while it tracks every second, ms per minute
                     (from /proc/<pid>/task/*/schedstat, nanoseconds)
  peak memory        VmHWM of /proc/<pid>/status at the end of the run, MiB

and prints the median over the runs of every figure, for each program, with
the ratio Ostrel / reference.  Start-up, which varies more from launch to
launch, is taken from launches of its own: from just before the launch to
the end of the first painting of the exposed window, ms (CLOCK_MONOTONIC on
both sides), the median of --launches launches of each program.  Ostrel runs
with an empty configuration directory, so it starts as designed: tracking,
one tick a second.

Run by hand (it takes about (warm-up + seconds + 2) * 2 * repetitions s,
and some seconds per launch):

    python3 bench/tick/measure.py

It installs xvfb with apt-get when Xvfb is missing, and the build's Debian
packages when they are missing, then configures and builds the two programs
in the build directory.
"""

import argparse
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]

PACKAGES = ["cmake", "g++", "make", "qt6-base-dev", "fonts-liberation2",
            "libgtest-dev", "libbenchmark-dev", "xvfb"]

# Goals: Ostrel's figure at most this many times the reference's.
GOALS = {
    "handler_median_us": 1.0,
    "handler_p95_us": 1.0,
    "cpu_ms_per_min": 1.0,
    "startup_ms": 1.25,
    "peak_rss_mib": 1.1,
}

ROWS = [
    # key, caption, unit, digits
    ("handler_median_us", "tick handler, median", "us", 1),
    ("handler_p95_us", "tick handler, 95th percentile", "us", 1),
    ("painted_median_ms", "tick to painted, median", "ms", 2),
    ("painted_p95_ms", "tick to painted, 95th percentile", "ms", 2),
    ("cpu_ms_per_min", "CPU per idle minute, tracking each second", "ms", 1),
    ("startup_ms", "start-up to first painted window", "ms", 1),
    ("peak_rss_mib", "peak resident memory (VmHWM)", "MiB", 1),
]


def missing_packages():
    missing = []
    for package in PACKAGES:
        query = subprocess.run(
            ["dpkg-query", "-W", "-f=${Status}", package],
            capture_output=True, text=True)
        if "install ok installed" not in query.stdout:
            missing.append(package)
    return missing


def install_missing():
    missing = missing_packages()
    if not missing:
        return
    print("installing: " + " ".join(missing), file=sys.stderr)
    sudo = [] if os.geteuid() == 0 else ["sudo"]
    subprocess.run(sudo + ["apt-get", "update"], check=True)
    subprocess.run(sudo + ["apt-get", "install", "-y", "--no-install-recommends"]
                   + missing, check=True)


def build(build_dir):
    subprocess.run(["cmake", "-S", str(REPO), "-B", str(build_dir)], check=True,
                   stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", str(build_dir), "-j", str(os.cpu_count() or 1),
                    "--target", "ostrel", "ostrel_tick_reference"], check=True,
                   stdout=sys.stderr)
    return {
        "Ostrel": build_dir / "app" / "ostrel",
        "reference": build_dir / "bench" / "tick" / "ostrel_tick_reference",
    }


class Xvfb:
    """A private X server on a free display, for as long as the measurement."""

    def __enter__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
             "-nolisten", "tcp"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number
        return self

    def __exit__(self, *unused):
        self.process.terminate()
        self.process.wait()


def cpu_ns(pid):
    """CPU time of every thread of the process so far, nanoseconds."""
    total = 0
    for task in Path(f"/proc/{pid}/task").iterdir():
        try:
            total += int((task / "schedstat").read_text().split()[0])
        except (FileNotFoundError, ProcessLookupError):
            pass  # a thread that ended between the listing and the read
    return total


def peak_rss_kib(pid):
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith("VmHWM:"):
            return int(line.split()[1])
    raise RuntimeError("no VmHWM")


def percentile(values, fraction):
    """Nearest-rank percentile."""
    ordered = sorted(values)
    rank = max(1, -(-len(ordered) * fraction // 1))
    return ordered[int(rank) - 1]


def environment(scratch, display):
    """A fresh configuration directory: Ostrel starts as designed, tracking."""
    runtime = scratch / "runtime"
    runtime.mkdir(mode=0o700)
    (scratch / "config").mkdir()
    return dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb",
                XDG_CONFIG_HOME=str(scratch / "config"), XDG_RUNTIME_DIR=str(runtime),
                OSTREL_TICK_LOG=str(scratch / "tick.log"))


def prime(binary, display):
    with tempfile.TemporaryDirectory(prefix="ostrel-tick-") as scratch:
        process = subprocess.Popen([str(binary)], env=environment(Path(scratch), display),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(2)
        process.send_signal(signal.SIGTERM)
        process.wait()


def read_first_paint(log):
    for line in log.read_text().splitlines():
        fields = line.split()
        if fields[0] == "first-paint":
            return int(fields[1])
    return None


def startup_once(binary, display):
    """Milliseconds from the launch to the end of the first painting."""
    with tempfile.TemporaryDirectory(prefix="ostrel-tick-") as scratch:
        env = environment(Path(scratch), display)
        log = Path(env["OSTREL_TICK_LOG"])
        launched = time.monotonic_ns()
        process = subprocess.Popen([str(binary)], env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        try:
            deadline = time.monotonic() + 20
            first_paint = None
            while first_paint is None and time.monotonic() < deadline:
                time.sleep(0.01)
                if log.exists():
                    first_paint = read_first_paint(log)
        finally:
            process.send_signal(signal.SIGTERM)
            process.wait()
        if first_paint is None:
            raise RuntimeError(f"{binary}: no first painting within 20 s")
        return (first_paint - launched) / 1e6


def run_once(binary, display, warmup, seconds):
    with tempfile.TemporaryDirectory(prefix="ostrel-tick-") as scratch:
        scratch = Path(scratch)
        env = environment(scratch, display)
        log = Path(env["OSTREL_TICK_LOG"])
        process = subprocess.Popen([str(binary)], env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        try:
            time.sleep(warmup)
            cpu_before, from_ns = cpu_ns(process.pid), time.monotonic_ns()
            time.sleep(seconds)
            cpu_after, to_ns = cpu_ns(process.pid), time.monotonic_ns()
            peak = peak_rss_kib(process.pid)
        finally:
            process.send_signal(signal.SIGTERM)
            process.wait()

        handler, painted, unpainted = [], [], 0
        for line in log.read_text().splitlines():
            fields = line.split()
            if fields[0] == "tick" and from_ns <= int(fields[1]) <= to_ns:
                handler.append(int(fields[2]))
                if int(fields[3]) < 0:
                    unpainted += 1
                else:
                    painted.append(int(fields[3]))
        if not handler or not painted:
            raise RuntimeError(f"{binary}: the log holds no painted ticks")
        return {
            "ticks": len(handler),
            "unpainted": unpainted,
            "handler_median_us": statistics.median(handler) / 1e3,
            "handler_p95_us": percentile(handler, 0.95) / 1e3,
            "painted_median_ms": statistics.median(painted) / 1e6,
            "painted_p95_ms": percentile(painted, 0.95) / 1e6,
            "cpu_ms_per_min": (cpu_after - cpu_before) / (to_ns - from_ns) * 60 * 1e3,
            "peak_rss_mib": peak / 1024,
        }


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build-dir", type=Path, default=REPO / "build",
                        help="build directory (default: %(default)s)")
    parser.add_argument("--repetitions", type=int, default=8,
                        help="runs of each program, alternating (default: %(default)s)")
    parser.add_argument("--seconds", type=float, default=30,
                        help="measured window of each run, s (default: %(default)s)")
    parser.add_argument("--launches", type=int, default=10,
                        help="start-up launches of each program, alternating "
                             "(default: %(default)s)")
    parser.add_argument("--warmup", type=float, default=5,
                        help="time from launch to the measured window, s "
                             "(default: %(default)s)")
    args = parser.parse_args()

    install_missing()
    binaries = build(args.build_dir.resolve())
    names = list(binaries)
    runs = {name: [] for name in names}
    with Xvfb() as server:
        # One untimed start of each first, so that both meet warm file
        # caches and font caches in the timed runs.
        for binary in binaries.values():
            prime(binary, server.display)
        startups = {name: [] for name in names}
        for launch in range(args.launches):
            order = names if launch % 2 == 0 else names[::-1]
            for name in order:
                startups[name].append(startup_once(binaries[name], server.display))
        for name in names:
            print(f"start-up {name}: " + " ".join(f"{ms:.1f}" for ms in startups[name]),
                  file=sys.stderr, flush=True)
        for repetition in range(args.repetitions):
            # Alternating the order spreads any drift of the machine evenly.
            order = names if repetition % 2 == 0 else names[::-1]
            for name in order:
                result = run_once(binaries[name], server.display, args.warmup, args.seconds)
                runs[name].append(result)
                print(f"run {repetition + 1} {name}: " + ", ".join(
                    f"{key} {value:.3f}" if isinstance(value, float) else f"{key} {value}"
                    for key, value in result.items()), file=sys.stderr, flush=True)

    print(f"\nMedians of {args.repetitions} runs of each program, {args.seconds:g} s "
          f"measured per run after {args.warmup:g} s, one tick a second; start-up: "
          f"median of {args.launches} launches of each:\n")
    print("| figure | Ostrel | reference | ratio | goal |")
    print("| --- | --- | --- | --- | --- |")
    figures = {}
    for name in names:
        figures[name] = {key: statistics.median(run[key] for run in runs[name])
                         for key in runs[name][0]}
        figures[name]["startup_ms"] = statistics.median(startups[name])
    for key, caption, unit, digits in ROWS:
        ours, theirs = figures["Ostrel"][key], figures["reference"][key]
        ratio = ours / theirs if theirs else float("inf")
        goal = f"within {GOALS[key]:.2f}×" if key in GOALS else "—"
        if key in GOALS:
            goal += " (met)" if ratio <= GOALS[key] else " (not met)"
        print(f"| {caption} | {ours:.{digits}f} {unit} | {theirs:.{digits}f} {unit} "
              f"| {ratio:.2f}× | {goal} |")
    # The two runs of a repetition follow each other, so their ratio is
    # spared most of the machine's drift from one repetition to the next.
    for key in ("handler_median_us", "cpu_ms_per_min"):
        paired = [ours[key] / theirs[key] for ours, theirs in zip(runs["Ostrel"], runs["reference"])]
        print(f"\n{key}, Ostrel / reference of each repetition's two runs: "
              + ", ".join(f"{ratio:.2f}×" for ratio in paired)
              + f" (median {statistics.median(paired):.2f}×)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
