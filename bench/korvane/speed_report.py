#!/usr/bin/env python3
"""Runs the network-step and kernel benchmarks as interleaved repetitions in one run and
prints, per kernel path, the minimum and median of the repetitions and the ratios to the
plain Eigen step. On a shared machine only figures from one run are compared.

  bench/korvane/speed_report.py [--build build] [--repetitions 9]
"""

import argparse
import json
import os
import statistics
import subprocess
import sys
import tempfile

PATHS = ["Reference", "Portable", "Avx2", "Avx512"]


def run(binary, pattern, repetitions, min_time, env=None):
    """Every row the benchmark binary reports, its repetitions interleaved at random."""
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        subprocess.run(
            [binary, f"--benchmark_filter={pattern}", f"--benchmark_repetitions={repetitions}",
             "--benchmark_enable_random_interleaving=true", f"--benchmark_min_time={min_time}",
             f"--benchmark_out={out.name}", "--benchmark_out_format=json"],
            check=True, stdout=subprocess.DEVNULL, env=dict(os.environ, **(env or {})))
        with open(out.name) as f:
            return json.load(f)["benchmarks"]


def samples(benchmarks, value):
    """name -> list of per-repetition values (skipped and aggregate rows left out)."""
    found = {}
    for b in benchmarks:
        if b.get("run_type") != "iteration" or b.get("error_occurred"):
            continue
        found.setdefault(b["run_name"], []).append(value(b))
    return found


def summary(values):
    return min(values), statistics.median(values)


def main():
    p = argparse.ArgumentParser(description=__doc__)
    p.add_argument("--build", default=os.path.join(os.path.dirname(__file__), "..", "..", "build"))
    p.add_argument("--repetitions", type=int, default=9)
    p.add_argument("--min-time", type=float, default=0.2)
    args = p.parse_args()
    bin_dir = os.path.join(args.build, "bin")

    steps = run(os.path.join(bin_dir, "KorvaneBench"), "NetworkStep|PlainEigenStep", args.repetitions,
                args.min_time)
    # ns per channel-step: a pair step counts two.
    per_step = samples(steps, lambda b: b["real_time"] / (2.0 if "Pair" in b["run_name"] else 1.0))
    eigen_min, eigen_median = summary(per_step["PlainEigenStep"])
    print(f"Plain Eigen step (-O3 -march=native): min {eigen_min:.0f} ns, median {eigen_median:.0f} ns "
          "per channel-step\n")
    print("| path | one channel, ns min / median | stereo pair, ns per channel-step min / median "
          "| Eigen / pair (min, median) |")
    print("|---|---|---|---|")
    for index, path in enumerate(PATHS):
        single = per_step.get(f"NetworkStep/{index}")
        pair = per_step.get(f"NetworkStepPair/{index}")
        if not single or not pair:
            print(f"| {path} | not supported by this CPU | | |")
            continue
        s, p_ = summary(single), summary(pair)
        print(f"| {path} | {s[0]:.0f} / {s[1]:.0f} | {p_[0]:.0f} / {p_[1]:.0f} "
              f"| {eigen_min / p_[0]:.2f}x, {eigen_median / p_[1]:.2f}x |")

    kernel = run(os.path.join(bin_dir, "EngineBenchmarks"), "BM_Kernel", args.repetitions, args.min_time)
    shares = samples(kernel, lambda b: 100.0 * b["core_share"])
    print("\nDSPKernel::process, 512-frame stereo blocks, share of one core in % (min / median):\n")
    print("| path | steady 44.1 kHz | worst 44.1 kHz | steady 48 kHz | worst 48 kHz |")
    print("|---|---|---|---|---|")
    for index, path in enumerate(PATHS[1:], start=1):
        cells = []
        for rate in (44100, 48000):
            for kind in ("BM_KernelSteady", "BM_KernelWorstCase"):
                values = shares.get(f"{kind}/{rate}/{index}/real_time")
                cells.append("-" if not values else "{:.1f} / {:.1f}".format(*summary(values)))
        if all(c == "-" for c in cells):
            print(f"| {path} | not supported by this CPU | | | |")
        else:
            print(f"| {path} | {cells[0]} | {cells[1]} | {cells[2]} | {cells[3]} |")
    return 0


if __name__ == "__main__":
    sys.exit(main())
