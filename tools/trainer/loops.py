"""Clips recorded inside the kernel's feedback loop: what a line's model hears at
high feedback. A short phrase of plucks goes into a delay line whose output, held
below full scale by the engine's level guard, runs through the reference line and
back into the delay at the given feedback (line = x + F G y, G the kernel's output
gain, the same +-8 bound on what enters the line). The model's input is recorded;
training then asks the network for the reference's output on it."""

from __future__ import annotations

import numpy as np

import references
import signals

GUARD_LIMIT = 0.95
LINE_LIMIT = 8.0


def guard(x: np.ndarray, gain: np.ndarray, last: np.ndarray):
    """The engine's level guard in one-sample calls, over rows [rows, samples]: a new
    gain 0.95/|x| (or 1) takes over at the first sign change (or when the last
    sample was exactly 0)."""
    out = np.empty_like(x)
    for i in range(x.shape[1]):
        v = x[:, i]
        target = np.where(np.abs(v) > GUARD_LIMIT, GUARD_LIMIT / np.maximum(np.abs(v), 1e-30), 1.0)
        gain = np.where((last == 0.0) | (last * v < 0.0), target, gain)
        out[:, i] = v * gain
        last = out[:, i]
    return out, gain, last


def phrase(n: int, rng) -> np.ndarray:
    """A few plucks at -20...-3 dBFS in the first half second, then silence (or, for
    a third of the loops, plucks all the way through)."""
    x = signals.pluck(n, rng)
    if rng.random() < 0.67:
        x[int(rng.integers(signals.RATE // 4, signals.RATE // 2)) :] = 0.0
    return x / (np.max(np.abs(x)) + 1e-12) * 10 ** (rng.uniform(-20, -3) / 20)


def record(name: str, count: int, length: int, seed: int, groups: int = 8) -> np.ndarray:
    """count clips of length samples of a model's input inside the loop of model
    `name`, taken at random times from 1.5 to 4 s into loops with delays of
    20...600 ms and feedback 1.0...1.5 (mostly the top). The clips come in `groups`
    of loops that share a delay; all loops run side by side, one sample at a time."""
    rng = np.random.default_rng(seed)
    line = references.make_line(name)
    g = references.KERNEL_GAINS[references.MODEL_ORDER.index(name)]
    total = 4 * signals.RATE
    delays, feedback, phrases, starts = [], [], [], []
    done = 0
    for k in range(groups):
        rows = (count - done) // (groups - k)
        d = int(rng.uniform(0.02, 0.6) * signals.RATE)
        delays += [d] * rows
        feedback += list(np.where(rng.random(rows) < 0.6, 1.5, rng.uniform(1.0, 1.5, rows)))
        phrases += [phrase(total, rng) for _ in range(rows)]
        starts += [int(rng.integers(int(1.5 * signals.RATE), total - length)) for _ in range(rows)]
        done += rows
    x, d, f, at = np.stack(phrases), np.array(delays), np.array(feedback), np.array(starts)
    rows = np.arange(count)
    # ring[r, n % d[r]] holds what entered row r's delay line d[r] samples ago.
    ring = np.zeros((count, int(d.max())))
    process = line.stream(count)
    gain, last = np.ones(count), np.zeros(count)
    out = np.zeros((count, length))
    for n in range(total):
        slot = n % d
        model_in, gain, last = guard(ring[rows, slot][:, None], gain, last)
        y = process(model_in)[:, 0]
        ring[rows, slot] = np.clip(x[:, n] + f * g * y, -LINE_LIMIT, LINE_LIMIT)
        k = n - at
        heard = (k >= 0) & (k < length)
        out[rows[heard], k[heard]] = model_in[heard, 0]
    return out
