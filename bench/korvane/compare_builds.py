#!/usr/bin/env python3
"""Times the kernel and the network steps of several builds against each other in one run:
every round runs each build once, in a new random order, with interleaved repetitions, so
that the load of a shared machine falls on all builds alike. Prints min and median per
build, path, case and rate, and the last build's speed-up over each earlier one.

  bench/korvane/compare_builds.py before=../old/build now=build [--rounds 4] [--repetitions 2]

Builds whose kernel benchmarks take no path argument (from before the paths were timed
separately) are run once per path with KORVANE_KERNEL_PATH set.
"""

import argparse
import os
import random
import re
import statistics
import subprocess

from speed_report import PATHS, run as run_all


def run(binary, pattern, repetitions, min_time, env=None):
    """The per-repetition rows (skipped and aggregate rows left out)."""
    return [b for b in run_all(binary, pattern, repetitions, min_time, env)
            if b.get("run_type") == "iteration" and not b.get("error_occurred")]


def takes_path(binary):
    names = subprocess.run([binary, "--benchmark_list_tests", "--benchmark_filter=BM_Kernel"],
                           check=True, capture_output=True, text=True).stdout.split()
    return any(re.fullmatch(r"BM_Kernel\w+/\d+/\d+/real_time", n) for n in names)


def kernel_jobs(build):
    binary = os.path.join(build, "bin", "EngineBenchmarks")
    if takes_path(binary):
        return [(binary, "BM_Kernel", None, None)]
    return [(binary, "BM_Kernel", {"KORVANE_KERNEL_PATH": path}, index)
            for index, path in enumerate(PATHS) if index > 0]


def kernel_key(b, forced_path):
    parts = b["run_name"].split("/")  # case/rate[/path]/real_time
    kind = "steady" if parts[0] == "BM_KernelSteady" else "worst"
    path = int(parts[2]) if forced_path is None else forced_path
    return (PATHS[path], kind, int(parts[1]))


def step_key(b):
    kind, path = b["run_name"].split("/")[:2]
    return (PATHS[int(path)], "pair, per channel-step" if kind == "NetworkStepPair" else "one channel")


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("builds", nargs="+", help="LABEL=BUILD_DIR, oldest first")
    p.add_argument("--rounds", type=int, default=4)
    p.add_argument("--repetitions", type=int, default=2)
    p.add_argument("--min-time", type=float, default=0.2)
    p.add_argument("--steps", action="store_true", help="also time the network steps")
    args = p.parse_args()
    builds = [b.split("=", 1) for b in args.builds]
    labels = [label for label, _ in builds]

    shares, steps = {}, {}
    for _ in range(args.rounds):
        for label, build in random.sample(builds, len(builds)):
            for binary, pattern, env, forced in kernel_jobs(build):
                if forced is not None and env["KORVANE_KERNEL_PATH"] == "Avx512" and \
                        "avx512f" not in open("/proc/cpuinfo").read():
                    continue
                for b in run(binary, pattern, args.repetitions, args.min_time, env):
                    shares.setdefault((kernel_key(b, forced), label), []).append(100 * b["core_share"])
            if args.steps:
                for b in run(os.path.join(build, "bin", "KorvaneBench"), "NetworkStep", args.repetitions,
                             args.min_time):
                    per = b["real_time"] / (2 if "Pair" in b["run_name"] else 1)
                    steps.setdefault((step_key(b), label), []).append(per)

    def table(title, values, unit):
        keys = sorted({k for k, _ in values}, key=lambda k: (PATHS.index(k[0]), k[1:]))
        print(f"\n{title}, min / median ({unit}):\n")
        ratios = [f"{labels[-1]} vs {l} (min, median)" for l in labels[:-1]]
        print("| " + " | ".join(["path", "case"] + labels + ratios) + " |")
        print("|" + "---|" * (2 + len(labels) + len(ratios)))
        for key in keys:
            got = [values.get((key, l)) for l in labels]
            cells = ["-" if not v else f"{min(v):.1f} / {statistics.median(v):.1f}" for v in got]
            last = got[-1]
            for v in got[:-1]:
                cells.append("-" if not v or not last else
                             f"{min(v) / min(last):.2f}x, {statistics.median(v) / statistics.median(last):.2f}x")
            print("| " + " | ".join([key[0], " ".join(str(k) for k in key[1:])] + cells) + " |")

    table("DSPKernel::process, 512-frame stereo blocks, share of one core", shares, "%")
    if steps:
        table("Network step", steps, "ns")


if __name__ == "__main__":
    main()
