#!/usr/bin/python3
"""Extracts the package with UnzipToFolder and with miniunz under Wine, rounds
interleaved, and prices a bare Wine process start in the same run.

usage: compare.py BUILD_DIR PACKAGE WORK_DIR [ROUNDS (11)]
"""
import os
import shutil
import statistics
import subprocess
import sys
import time


def winpath(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def timed(command, output):
    with open(output, "wb") as out:
        start = time.perf_counter()
        subprocess.run(command, stdout=out, stderr=subprocess.STDOUT, check=False)
        return time.perf_counter() - start


def fresh(folder):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)


def tree_size(folder):
    files = total = 0
    for root, _, names in os.walk(folder):
        for name in names:
            files += 1
            total += os.path.getsize(os.path.join(root, name))
    return files, total


def main(build, package, work, rounds=11):
    wine = os.environ["ZV_WINE"]  # found by bench/run the one way the scripts find it
    ours = os.path.join(build, "zv_bench_unzip.exe")
    peer = os.path.join(build, "zv_bench_miniunz.exe")
    bare = os.path.join(build, "zv_bench_bare.exe")
    dest = os.path.join(work, "out")
    log = os.path.join(work, "output.txt")
    runs = {
        "UnzipToFolder": lambda: [wine, ours, winpath(package), winpath(dest)],
        "miniunz": lambda: [wine, peer, "-o", winpath(package), "-d", winpath(dest)],
    }

    # One untimed pass each: warms Wine, the page cache, and checks that both leave the
    # same files with the same sizes, creation and last-write times.
    sizes, trees = {}, {}
    for name, command in runs.items():
        fresh(dest)
        timed(command(), log)
        sizes[name] = tree_size(dest)
        trees[name] = subprocess.run([wine, ours, "--list", winpath(dest)], capture_output=True,
                                     text=True, check=False).stdout
    timed([wine, bare], log)
    print("extracted files and bytes:", sizes)
    if len(set(sizes.values())) != 1 or len(set(trees.values())) != 1 or not trees["miniunz"]:
        print("the two extractions differ", file=sys.stderr)
        return 1
    print("same files, sizes, creation and last-write times in both")

    times = {name: [] for name in list(runs) + ["bare start"]}
    for round_ in range(rounds):
        order = list(runs) if round_ % 2 == 0 else list(reversed(runs))
        for name in order:
            fresh(dest)
            times[name].append(timed(runs[name](), log))
        times["bare start"].append(timed([wine, bare], log))

    median = {name: statistics.median(values) for name, values in times.items()}
    start = median["bare start"]
    print("rounds: %d (interleaved, order alternating)" % rounds)
    for name, value in median.items():
        print("  %-14s median %.3f s   (all: %s)" % (
            name, value, " ".join("%.3f" % v for v in times[name])))
    net_ours = median["UnzipToFolder"] - start
    net_peer = median["miniunz"] - start
    print("net of start-up: UnzipToFolder %.3f s, miniunz %.3f s" % (net_ours, net_peer))
    print("ratio UnzipToFolder / miniunz: %.3f gross, %.3f net (target 0.90 net)" % (
        median["UnzipToFolder"] / median["miniunz"], net_ours / net_peer))
    # The two runs of a round are neighbours in time, so their ratio shrugs off the load
    # that other work on the machine puts on whole stretches of rounds.
    paired = [(o - b) / (p - b) for o, p, b in
              zip(times["UnzipToFolder"], times["miniunz"], times["bare start"])]
    print("median of the per-round net ratios: %.3f" % statistics.median(paired))
    fresh(dest)
    return 0


if __name__ == "__main__":
    args = sys.argv[1:]
    sys.exit(main(args[0], args[1], args[2], int(args[3]) if len(args) > 3 else 11))
