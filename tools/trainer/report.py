"""Writes the measurement tables of the four trained models (from runs/*.metrics.json,
or from the folder given) into README.md between their markers, and prints them."""

from __future__ import annotations

import argparse
import json
import math
import os

import references

HERE = os.path.dirname(os.path.abspath(__file__))
TABLES = ("measurements", "bright")


def stage_one_seconds(name: str) -> float:
    """Seconds of the first stage, from the last progress line of its log."""
    try:
        with open(os.path.join(HERE, "runs", f"{name}.log")) as f:
            lines = [line.split() for line in f if " batch " in line]
        return float(lines[-1][-2])
    except (OSError, IndexError, ValueError):
        return 0.0


def row(m: dict) -> str:
    up_target, down_target = references.DRIVE_TARGETS[m["model"]]
    stage = m.get("stage")
    if stage is None:  # measured from a document by measure.py
        training = "(measured document)"
    elif stage == 4:  # the fourth stage's own time, on top of the earlier ones
        earlier = m.get("earlier_batches") or ("110 + 80" if m["model"] == "bbd1" else "110 + 80 + 60")
        training = f"+{(m.get('training_seconds') or 0) / 60:.0f} min, {earlier} + {m['batches']} batches"
    elif stage == 3:  # the third stage's own time, on top of the first two
        training = f"+{(m.get('training_seconds') or 0) / 60:.0f} min, 110 + 80 + {m['batches']} batches"
    else:
        seconds = (m.get("training_seconds") or 0) + stage_one_seconds(m["model"])
        training = f"{seconds / 60:.0f} min, 110 + {m['batches']} batches"
    return (
        f"| {m['model']} | {m['esr']:.4f} ({10 * math.log10(m['esr']):.1f} dB) | {m['esr_pre_emphasis']:.4f} "
        f"| {m['gain_m40_db']:+.2f} / {m.get('gain_m32_db', math.nan):+.2f} / {m['gain_m20_db']:+.2f} "
        f"(target {m['target_small_signal_db']:+.2f}) "
        f"| {m['drive_up_db']:+.2f} (target {up_target:+.1f}) | {m['drive_down_db']:+.2f} (target {down_target:+.1f}) "
        f"| {' / '.join(f'{v:.2f}' for v in m['dc_gain'])} | {m['after_burst_peak']:.1e} | {m['full_scale_peak']:.3f} | {m['feedback_line_peak']:.2f} "
        f"| {training} |"
    )


def bright_row(m: dict) -> str:
    """Aliasing, distortion and the held-out figures per clip and on the wide set."""
    worst = max(range(len(m["aliases"])), key=lambda i: m["aliases"][i]["alias_dbfs"])
    a, ref = m["aliases"][worst], m["reference_aliases"][worst]["alias_dbfs"]
    thd = " / ".join(f"{v:.2f}" for v in m["thd_percent"])
    ref_thd = " / ".join(f"{v:.2f}" for v in m["reference_thd_percent"])
    wide = " / ".join(f"{w['esr']:.4f}" for w in m["wide"])
    wide_median = " / ".join(f"{w['clip_esr_median']:.4f}" for w in m["wide"])
    wide_worst = " / ".join(f"{w['clip_esr_worst']:.3f}" for w in m["wide"])
    return (
        f"| {m['model']} | {a['alias_dbfs']:.1f} ({a['hz'] / 1000:g} kHz at {a['dbfs']:g} dBFS) | {ref:.1f} "
        f"| {m['alias_excess_db']:+.1f} | {thd} | {ref_thd} "
        f"| {m['clip_esr_median']:.4f} / {m['clip_esr_worst']:.3f} | {wide} | {wide_median} | {wide_worst} |"
    )


def table(folder: str = os.path.join(HERE, "runs")) -> str:
    return _table(
        folder,
        row,
        "| model | ESR vs reference | ESR, pre-emphasised | gain at -40 / -32 / -20 dBFS, dB | +6 dB drive | -12 dB drive "
        "| DC gain at 0.1 / 0.5 / 1 | peak after a burst, in silence | peak out at full scale | 150 % feedback: peak in the line | training |",
    )


def bright_table(folder: str = os.path.join(HERE, "runs")) -> str:
    return _table(
        folder,
        bright_row,
        "| model | largest alias, dBFS | reference's for that tone, dBFS | alias above max(reference + 6, -80), dB "
        "| THD at -18 / -6 dBFS, % | reference's THD, % | first set per clip: median / worst "
        "| wide set, 3 seeds | per clip, median | per clip, worst |",
    )


def _table(folder: str, make_row, header: str) -> str:
    lines = [header, "|" + "---|" * header.count(" | ") + "---|"]
    for name in references.MODEL_ORDER:
        path = os.path.join(folder, f"{name}.metrics.json")
        if os.path.exists(path):
            with open(path) as f:
                lines.append(make_row(json.load(f)))
    return "\n".join(lines)


def main():
    p = argparse.ArgumentParser(description=__doc__)
    p.add_argument("folder", nargs="?", default=os.path.join(HERE, "runs"))
    p.add_argument("--print-only", action="store_true", help="leave README.md as it is")
    args = p.parse_args()
    texts = {"measurements": table(args.folder), "bright": bright_table(args.folder)}
    readme = os.path.join(HERE, "README.md")
    with open(readme) as f:
        doc = f.read()
    for name in TABLES:
        print(texts[name], end="\n\n")
        begin, end = f"<!-- {name} -->", f"<!-- /{name} -->"
        if begin in doc and end in doc:
            head, rest = doc.split(begin, 1)
            _, tail = rest.split(end, 1)
            doc = f"{head}{begin}\n{texts[name]}\n{end}{tail}"
    if not args.print_only:
        with open(readme, "w") as f:
            f.write(doc)


if __name__ == "__main__":
    main()
