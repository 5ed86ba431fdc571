#!/usr/bin/env python3
"""Time one command several times; print its median wall time and peak memory.

    measure.py [--runs N] [--timeout S] [--rows lines|counts] [--reported] -- CMD ARG...

Prints one line:  STATUS MEDIAN_SECONDS PEAK_KB ROWS RUNS
  STATUS  ok, timeout, fail:<exit status> or n/a (--reported without a number)
  ROWS    lines of output (--rows lines) or the sum of the numbers after the last
          ":" of each line (--rows counts, for `rg -c`); "-" with --reported

A first run writes the output to a file to count the rows (and warms the page
cache); the timed runs write to /dev/null.  A command that needs a minute or more
is not run again: that first run is the only sample.  Peak memory is the largest
maximum resident set size of the timed runs, taken by GNU time when it exists
(a fork of this Python process would add Python's own pages to the figure).
With --reported the time is the last number the command prints (a program that
measures itself); its output is read instead of thrown away.
"""

import argparse
import os
import re
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

GNU_TIME = "/usr/bin/time"
NUMBER = re.compile(r"[0-9]+(?:\.[0-9]+)?(?:[eE][-+]?[0-9]+)?")


def has_gnu_time():
    if not os.access(GNU_TIME, os.X_OK):
        return False
    try:
        r = subprocess.run([GNU_TIME, "-f", "%M", "true"], stdout=subprocess.DEVNULL,
                           stderr=subprocess.PIPE, timeout=10)
    except (OSError, subprocess.SubprocessError):
        return False
    return r.returncode == 0 and r.stderr.strip().isdigit()


def run_once(cmd, out, timeout, use_time):
    """Returns (status, seconds, peak_kb, rc)."""
    memfile = None
    argv = cmd
    if use_time:
        fd, memfile = tempfile.mkstemp(prefix="pbz-bench-mem-")
        os.close(fd)
        argv = [GNU_TIME, "-f", "%M", "-o", memfile, "--"] + cmd
    start = time.perf_counter()
    try:
        proc = subprocess.Popen(argv, stdout=out, stderr=subprocess.DEVNULL,
                                stdin=subprocess.DEVNULL, start_new_session=True)
    except OSError as e:
        if memfile:
            os.unlink(memfile)
        print("measure.py: cannot start %s: %s" % (cmd[0], e), file=sys.stderr)
        return "fail:start", None, None, None
    status = "ok"
    peak = None
    timed_out = threading.Event()

    def kill():
        timed_out.set()
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except OSError:
            pass

    timer = threading.Timer(timeout, kill)
    timer.start()
    try:
        # A blocking wait: polling would add its interval to every figure.
        _pid, wstatus, usage = os.wait4(proc.pid, 0)
        timer.cancel()
        if timed_out.is_set():
            status = "timeout"
        seconds = time.perf_counter() - start
        proc.returncode = os.waitstatus_to_exitcode(wstatus)
        rc = proc.returncode
        if use_time:
            try:
                with open(memfile) as fh:
                    lines = [l.strip() for l in fh if l.strip()]
                # GNU time adds a line about a signal or exit status before the figure.
                if lines and lines[-1].isdigit():
                    peak = int(lines[-1])
            except OSError:
                pass
        else:
            peak = usage.ru_maxrss
    finally:
        if memfile:
            try:
                os.unlink(memfile)
            except OSError:
                pass
    return status, seconds, peak, rc


def count_rows(path, mode):
    n = 0
    with open(path, "rb") as fh:
        for line in fh:
            if mode == "counts":
                tail = line.rsplit(b":", 1)[-1].strip()
                n += int(tail) if tail.isdigit() else 0
            else:
                n += 1
    return n


def reported_seconds(path):
    with open(path, "rb") as fh:
        text = fh.read().decode("utf-8", "replace")
    found = NUMBER.findall(text)
    return float(found[-1]) if found else None


def main(argv):
    ap = argparse.ArgumentParser()
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--timeout", type=float, default=300)
    ap.add_argument("--rows", choices=("lines", "counts"), default="lines")
    ap.add_argument("--ok-status", default="0", help="exit statuses that count as success")
    ap.add_argument("--reported", action="store_true")
    ap.add_argument("cmd", nargs=argparse.REMAINDER)
    args = ap.parse_args(argv)
    cmd = args.cmd[1:] if args.cmd[:1] == ["--"] else args.cmd
    if not cmd:
        ap.error("no command given")
    ok = {int(s) for s in args.ok_status.split(",")}
    use_time = has_gnu_time()

    fd, outpath = tempfile.mkstemp(prefix="pbz-bench-out-")
    try:
        with os.fdopen(fd, "wb") as out:
            status, first, peak, rc = run_once(cmd, out, args.timeout, use_time)
        if status != "ok":
            print("%s - - - 0" % status)
            return 0
        if rc not in ok:
            print("fail:%s - - - 0" % rc)
            return 0
        rows = "-" if args.reported else count_rows(outpath, args.rows)
        samples = []
        peaks = [peak] if peak is not None else []
        if args.reported:
            value = reported_seconds(outpath)
            if value is None:
                print("n/a - - - 0")
                return 0
            samples.append(value)
        runs = args.runs if first < 10 else min(args.runs, 3) if first < 60 else 0
        if runs == 0 and not args.reported:
            samples.append(first)
        for _ in range(runs - (1 if args.reported else 0)):
            if args.reported:
                with open(outpath, "wb") as out:
                    status, seconds, peak, rc = run_once(cmd, out, args.timeout, use_time)
            else:
                with open(os.devnull, "wb") as out:
                    status, seconds, peak, rc = run_once(cmd, out, args.timeout, use_time)
            if status != "ok":
                print("%s - - - %d" % (status, len(samples)))
                return 0
            if rc not in ok:
                print("fail:%s - - - %d" % (rc, len(samples)))
                return 0
            if args.reported:
                seconds = reported_seconds(outpath)
                if seconds is None:
                    print("n/a - - - %d" % len(samples))
                    return 0
            samples.append(seconds)
            if peak is not None:
                peaks.append(peak)
        median = statistics.median(samples)
        print("ok %.4f %s %s %d" % (median, max(peaks) if peaks else "-", rows, len(samples)))
    finally:
        os.unlink(outpath)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
