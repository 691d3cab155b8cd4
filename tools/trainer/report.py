"""Writes the measurement table of the four trained models (from runs/*.metrics.json)
into README.md between its table markers, and prints it."""

from __future__ import annotations

import json
import math
import os

import references

HERE = os.path.dirname(os.path.abspath(__file__))
BEGIN, END = "<!-- measurements -->", "<!-- /measurements -->"


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
    stage = m.get("stage", 2)
    if stage == 3:  # the third stage's own time, on top of the first two
        training = f"+{(m.get('training_seconds') or 0) / 60:.0f} min, 110 + 80 + {m['batches']} batches"
    else:
        seconds = (m.get("training_seconds") or 0) + stage_one_seconds(m["model"])
        training = f"{seconds / 60:.0f} min, 110 + {m['batches']} batches"
    return (
        f"| {m['model']} | {m['esr']:.4f} ({10 * math.log10(m['esr']):.1f} dB) | {m['esr_pre_emphasis']:.4f} "
        f"| {m['gain_m40_db']:+.2f} / {m['gain_m20_db']:+.2f} (target {m['target_small_signal_db']:+.2f}) "
        f"| {m['drive_up_db']:+.2f} (target {up_target:+.1f}) | {m['drive_down_db']:+.2f} (target {down_target:+.1f}) "
        f"| {' / '.join(f'{v:.2f}' for v in m['dc_gain'])} | {m['after_burst_peak']:.1e} | {m['full_scale_peak']:.3f} | {m['feedback_line_peak']:.2f} "
        f"| {training} |"
    )


def table() -> str:
    lines = [
        "| model | ESR vs reference | ESR, pre-emphasised | gain at -40 / -20 dBFS, dB | +6 dB drive | -12 dB drive "
        "| DC gain at 0.1 / 0.5 / 1 | peak after a burst, in silence | peak out at full scale | 150 % feedback: peak in the line | training |",
        "|---|---|---|---|---|---|---|---|---|---|---|",
    ]
    for name in references.MODEL_ORDER:
        path = os.path.join(HERE, "runs", f"{name}.metrics.json")
        if os.path.exists(path):
            with open(path) as f:
                lines.append(row(json.load(f)))
    return "\n".join(lines)


def main():
    text = table()
    print(text)
    readme = os.path.join(HERE, "README.md")
    with open(readme) as f:
        doc = f.read()
    if BEGIN in doc and END in doc:
        head, rest = doc.split(BEGIN, 1)
        _, tail = rest.split(END, 1)
        with open(readme, "w") as f:
            f.write(f"{head}{BEGIN}\n{text}\n{END}{tail}")


if __name__ == "__main__":
    main()
