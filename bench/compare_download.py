#!/usr/bin/python3
"""Fetches one file from the tests' local server with curl and with DownloadToFile under
Wine, rounds interleaved, each timed by itself (curl's time_total, the call's own clock),
so neither side pays for starting a process.

usage: compare_download.py BUILD_DIR WORK_DIR [ROUNDS (9)] [MEGABYTES (200)]
"""
import filecmp
import os
import random
import socket
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SERVER = os.path.join(ROOT, "tests", "server", "http_server.py")


def winpath(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def make_payload(path, megabytes):
    size = megabytes * 1024 * 1024
    if os.path.exists(path) and os.path.getsize(path) == size:
        return
    rng = random.Random(20261210)
    with open(path, "wb") as out:
        for _ in range(megabytes):
            out.write(rng.randbytes(1024 * 1024))


def start_server(root, work):
    port = free_port()
    ready = os.path.join(work, "server.ready")
    if os.path.exists(ready):
        os.remove(ready)
    server = subprocess.Popen([sys.executable, SERVER, "--port", str(port), "--root", root,
                               "--ready", ready, "--lifetime", "3600"])
    for _ in range(200):
        if os.path.exists(ready):
            return server, "http://127.0.0.1:%d/file/payload.bin" % port
        time.sleep(0.05)
    server.terminate()
    raise RuntimeError("the test server did not start")


def fetch_curl(url, target):
    out = subprocess.run(["curl", "-s", "-f", "-o", target, "-w", "%{time_total}", url],
                         capture_output=True, text=True, check=True)
    return float(out.stdout)


def fetch_ours(wine, program, url, target):
    # To a file, not a pipe: Wine's own services inherit the pipe and would hold it open.
    report = target + ".seconds"
    with open(report, "w") as out:
        subprocess.run([wine, program, url, winpath(target)], stdout=out, check=True)
    with open(report) as out:
        seconds = float(out.read().split()[-1])
    os.remove(report)
    return seconds


def main(build, work, rounds=9, megabytes=200):
    wine = os.environ["ZV_WINE"]  # found by bench/download the one way the scripts find it
    program = os.path.join(build, "zv_bench_download.exe")
    served = os.path.join(work, "served")
    os.makedirs(served, exist_ok=True)
    payload = os.path.join(served, "payload.bin")
    make_payload(payload, megabytes)
    by_curl = os.path.join(work, "curl.bin")
    by_ours = os.path.join(work, "ours.bin")

    server, url = start_server(served, work)
    try:
        # One untimed pass each: warms Wine and the page cache, and checks both bodies.
        fetch_curl(url, by_curl)
        fetch_ours(wine, program, url, by_ours)
        if not (filecmp.cmp(payload, by_curl, shallow=False) and
                filecmp.cmp(payload, by_ours, shallow=False)):
            print("a download differs from the served file", file=sys.stderr)
            return 1
        times = {"curl": [], "DownloadToFile": []}
        for round_ in range(rounds):
            order = ["curl", "DownloadToFile"] if round_ % 2 == 0 else ["DownloadToFile", "curl"]
            for name in order:
                target = by_curl if name == "curl" else by_ours
                os.remove(target)
                times[name].append(fetch_curl(url, target) if name == "curl" else
                                   fetch_ours(wine, program, url, target))
    finally:
        server.terminate()
        server.wait()

    print("%d MB from 127.0.0.1, %d rounds (interleaved, order alternating)" % (megabytes, rounds))
    for name, values in times.items():
        print("  %-15s median %.3f s   (all: %s)" % (
            name, statistics.median(values), " ".join("%.3f" % v for v in values)))
    paired = [o / c for o, c in zip(times["DownloadToFile"], times["curl"])]
    print("ratio DownloadToFile / curl: %.2f of the medians, %.2f median of the rounds (target 1.50)"
          % (statistics.median(times["DownloadToFile"]) / statistics.median(times["curl"]),
             statistics.median(paired)))
    for name in ("curl.bin", "ours.bin"):
        if os.path.exists(os.path.join(work, name)):
            os.remove(os.path.join(work, name))
    return 0


if __name__ == "__main__":
    args = sys.argv[1:]
    sys.exit(main(args[0], args[1], *(int(a) for a in args[2:4])))
