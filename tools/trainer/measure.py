"""Measurements of a delay-line colouring (a trained network or a reference):
error-to-signal ratio on held-out signals, gains, drive response, silence, peak
output and a 150 % feedback loop with the engine's level guard."""

from __future__ import annotations

import math

import numpy as np

import references
import signals

GUARD_LIMIT = 0.95


def db(v) -> float:
    return 20.0 * math.log10(max(float(v), 1e-30))


def held_out_set() -> np.ndarray:
    return signals.make_set(32, 44100, seed=9001, held_out=True)


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
    s = references.sine([0.01, 0.1])
    gs = references.rms_gain(s, process(s))
    m["gain_m40_db"], m["gain_m20_db"] = db(gs[0]), db(gs[1])
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
