"""Measurements of a delay-line colouring (a trained network or a reference):
error-to-signal ratio on held-out signals (pooled and per clip), aliasing of high
sines, harmonic distortion, gains, drive response, silence, peak output and a 150 %
feedback loop with the engine's level guard."""

from __future__ import annotations

import math

import numpy as np

import references
import signals

GUARD_LIMIT = 0.95


def db(v) -> float:
    return 20.0 * math.log10(max(float(v), 1e-30))


def held_out_set() -> np.ndarray:
    """The first held-out set: music, speech and noise, 32 clips of 1 s."""
    return signals.make_set(32, 44100, seed=9001, held_out=True)


# Seeds of the wide held-out set, which also holds loud bright material (cymbals,
# sweeps to 21 kHz, bright chords and plucks), overload, DC steps and held tones.
WIDE_SEEDS = (9101, 9102, 9103)


def wide_held_out_set(seed: int, names: list | None = None) -> np.ndarray:
    return signals.make_set(
        48, 44100, seed=seed, held_out=True, low_frequencies=True, loud=True, bright=True, names=names
    )


def clip_esr(y: np.ndarray, t: np.ndarray) -> np.ndarray:
    """Error-to-signal ratio of each clip (row) on its own."""
    return np.sum((t - y) ** 2, axis=1) / np.maximum(np.sum(t**2, axis=1), 1e-30)


# Sines of the aliasing figure (integer hertz, so that over one second every harmonic
# and every folded harmonic falls on a bin) and their levels in dBFS.
ALIAS_HZ = (5000, 10000, 15000, 18000, 20000)
ALIAS_DBFS = (-6.0, -18.0)
THD_DBFS = (-18.0, -6.0)
SETTLE = 22050  # samples before the analysed second


def _spectrum(y: np.ndarray) -> np.ndarray:
    """Amplitude per 1 Hz bin (a full-scale sine reads 1) of each row's last second,
    through a 4-term Blackman-Harris window: a sine centred on a bin spreads over
    exactly 3 bins each side and nowhere else."""
    n = int(signals.RATE)
    k = np.arange(n)
    w = 0.35875 - 0.48829 * np.cos(2 * np.pi * k / n) + 0.14128 * np.cos(4 * np.pi * k / n)
    w -= 0.01168 * np.cos(6 * np.pi * k / n)
    return 2.0 * np.abs(np.fft.rfft(y[:, -n:] * w, axis=1)) / w.sum()


def _tones(levels_dbfs, hz) -> tuple[np.ndarray, list]:
    cases = [(level, f) for level in levels_dbfs for f in hz]
    t = np.arange(SETTLE + int(signals.RATE)) / signals.RATE
    x = np.stack([10 ** (level / 20) * np.sin(2 * np.pi * f * t) for level, f in cases])
    return x, cases


def aliases(process, levels_dbfs=ALIAS_DBFS, hz=ALIAS_HZ) -> list[dict]:
    """The largest alias of each sine of `hz` at each level: the strongest component,
    in dBFS, that is neither the tone nor one of its harmonics below half the rate
    (folded harmonics count), above 20 Hz."""
    x, cases = _tones(levels_dbfs, hz)
    spectra = _spectrum(process(x))
    out = []
    for (level, hz), a in zip(cases, spectra):
        keep = np.ones(a.size, dtype=bool)
        keep[:20] = False
        for h in range(hz, a.size, hz):
            keep[max(h - 3, 0) : h + 4] = False
        j = int(np.argmax(np.where(keep, a, 0.0)))
        out.append({"dbfs": level, "hz": hz, "alias_hz": j, "alias_dbfs": db(a[j]), "tone_dbfs": db(a[hz])})
    return out


def thd(process) -> list[float]:
    """Total harmonic distortion of a 1 kHz sine at each level of THD_DBFS, in per
    cent: the harmonics below half the rate against the fundamental."""
    x, _ = _tones(THD_DBFS, (1000,))
    spectra = _spectrum(process(x))
    return [100.0 * float(np.sqrt(np.sum(a[2000::1000] ** 2)) / a[1000]) for a in spectra]


def guard(x: np.ndarray, gain: float, last: float) -> tuple[np.ndarray, float, float]:
    """The engine's level guard, one sample per block: a new gain 0.95/|x| (or 1)
    takes over at the first sign change."""
    out = np.empty_like(x)
    for i, v in enumerate(x):
        target = GUARD_LIMIT / abs(v) if abs(v) > GUARD_LIMIT else 1.0
        if last == 0.0 or last * v < 0.0:
            gain = target
        out[i] = v * gain
        last = out[i]
    return out, gain, last


def feedback_loop(process_block, kernel_gain: float, feedback: float = 1.5, seconds: float = 3.0):
    """A 50 ms delay at the given feedback, fed one burst of noise: line = x + F G y,
    model input = guarded line output. Returns the peak of the line and of the
    model output over the last second."""
    d = 2205
    blocks = int(seconds * signals.RATE) // d
    rng = np.random.default_rng(3)
    burst = np.zeros(blocks * d)
    burst[:d] = rng.uniform(-0.5, 0.5, d)
    line = np.zeros(d)
    gain, last = 1.0, 0.0
    peaks_line, peaks_y = [], []
    for b in range(blocks):
        xin, gain, last = guard(line, gain, last)
        y = process_block(xin)
        line = burst[b * d : (b + 1) * d] + feedback * kernel_gain * y
        peaks_line.append(np.max(np.abs(line)))
        peaks_y.append(np.max(np.abs(y)))
    tail = blocks - int(signals.RATE) // d
    return float(max(peaks_line[tail:])), float(max(peaks_y[tail:])), bool(np.all(np.isfinite(peaks_line)))


def measure(name: str, process, line=None, stream=None) -> dict:
    """process: signals [rows, samples] -> outputs, from rest; stream: makes a
    block processor that keeps its state from call to call."""
    line = line or references.make_line(name)
    g = references.KERNEL_GAINS[references.MODEL_ORDER.index(name)]
    m = {"model": name, "target_small_signal_db": db(1 / g)}
    x = held_out_set()
    y, t = process(x), line.process(x)
    m["esr"] = float(np.sum((t - y) ** 2) / np.sum(t**2))
    pe = lambda s: s[:, 1:] - 0.85 * s[:, :-1]
    m["esr_pre_emphasis"] = float(np.sum(pe(t - y) ** 2) / np.sum(pe(t) ** 2))
    clips = clip_esr(y, t)
    m["clip_esr_median"], m["clip_esr_worst"] = float(np.median(clips)), float(np.max(clips))
    m["wide"] = []
    for seed in WIDE_SEEDS:
        names = []
        x = wide_held_out_set(seed, names)
        y, t = process(x), line.process(x)
        clips = clip_esr(y, t)
        order = np.argsort(clips)[::-1]
        m["wide"].append(
            {
                "seed": seed,
                "esr": float(np.sum((t - y) ** 2) / np.sum(t**2)),
                "clip_esr_median": float(np.median(clips)),
                "clip_esr_worst": float(np.max(clips)),
                "worst_clips": [(int(i), names[i], float(clips[i])) for i in order[:4]],
            }
        )
    m["aliases"], m["reference_aliases"] = aliases(process), aliases(line.process)
    m["alias_excess_db"] = max(
        a["alias_dbfs"] - max(r["alias_dbfs"] + 6.0, -80.0) for a, r in zip(m["aliases"], m["reference_aliases"])
    )
    m["thd_percent"], m["reference_thd_percent"] = thd(process), thd(line.process)
    s = references.sine([0.01, 10 ** (-32 / 20), 0.1])
    gs = references.rms_gain(s, process(s))
    m["gain_m40_db"], m["gain_m32_db"], m["gain_m20_db"] = db(gs[0]), db(gs[1]), db(gs[2])
    m["drive_up_db"], m["drive_down_db"] = references.drive_response(process)
    m["reference_drive_db"] = list(references.drive_response(line.process))
    silence = np.zeros((2, 44100))
    silence[1, :8820] = np.random.default_rng(5).uniform(-0.5, 0.5, 8820)
    ys = process(silence)
    m["silence_peak"] = float(np.max(np.abs(ys[0])))
    m["after_burst_peak"] = float(np.max(np.abs(ys[1, -22050:])))
    full = np.vstack([references.sine(0.95, 0.3, hz)[0] for hz in (100.0, 1000.0, 10000.0)])
    full = np.vstack([full, np.random.default_rng(6).uniform(-0.95, 0.95, full.shape[1])])
    step = np.full((3, 22050), 1.0) * np.array([[0.1], [0.5], [1.0]])
    m["dc_gain"] = [float(v) for v in process(step)[:, -1] / step[:, -1]]
    m["full_scale_peak"] = float(np.max(np.abs(process(full))))

    if stream is not None:
        m["feedback_line_peak"], m["feedback_model_peak"], m["feedback_finite"] = feedback_loop(stream(), g)
    return m


def main():
    """Measures committed weight documents against their references:
    measure.py [--documents DIR] [--out DIR] [MODEL ...]"""
    import argparse
    import json
    import os

    import torch

    import train

    here = os.path.dirname(os.path.abspath(__file__))
    p = argparse.ArgumentParser(description=main.__doc__)
    p.add_argument("models", nargs="*", default=list(references.MODEL_ORDER))
    p.add_argument("--documents", default=os.path.join(here, "..", "..", "engine", "models"))
    p.add_argument("--out", default=os.path.join(here, "runs", "measured"))
    p.add_argument("--threads", type=int, default=1)
    args = p.parse_args()
    torch.set_num_threads(args.threads)
    os.makedirs(args.out, exist_ok=True)
    for name in args.models:
        net = train.DelayLineNet()
        train.load_document(net, os.path.join(args.documents, train.DOCUMENTS[name]))
        m = measure(name, lambda x: train.run(net, x), stream=lambda: train.streamer(net))
        with open(os.path.join(args.out, f"{name}.metrics.json"), "w") as f:
            json.dump(m, f, indent=1)
        print(json.dumps(m), flush=True)


if __name__ == "__main__":
    main()
