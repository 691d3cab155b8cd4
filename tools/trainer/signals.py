"""Signals the trainer makes itself: plucks, chords, sweeps, noise bursts, drums and
speech (spoken by espeak-ng), each clip at a peak level between -40 and 0 dBFS, and
loud bright material (cymbals, sweeps to 21 kHz, bright chords and high tones).

Every generator takes a numpy Generator, so a seed fixes the whole set. The
training, validation and held-out sets use different seeds and different
sentences, so the held-out clips are never trained on."""

from __future__ import annotations

import io
import math
import subprocess
import wave

import numpy as np

RATE = 44100

TRAIN_SENTENCES = [
    "The quick brown fox jumps over the lazy dog.",
    "A delay line remembers what you played a moment ago.",
    "Seven silver swans swam slowly south in the summer.",
    "Please call Stella and ask her to bring these things with her from the store.",
    "Bright vowels and sharp consonants test the high end of the line.",
    "Numbers: one, two, three, four, five, six, seven, eight, nine, ten.",
    "She sells sea shells by the sea shore, and the shells she sells are surely seashells.",
    "Echoes fade into the distance like footsteps in a long hall.",
]
TEST_SENTENCES = [
    "How razorback jumping frogs can level six piqued gymnasts.",
    "Every evening the tape hiss rose softly behind the music.",
]
TRAIN_VOICES = ["en", "en-us", "en+f3", "en+m3", "de", "fr", "es+f2", "it"]
TEST_VOICES = ["en-gb-x-rp+f4", "nl"]


def _espeak(text: str, voice: str, speed: int, pitch: int) -> np.ndarray:
    wav = subprocess.run(
        ["espeak-ng", "-v", voice, "-s", str(speed), "-p", str(pitch), "--stdout", text],
        check=True,
        capture_output=True,
    ).stdout
    with wave.open(io.BytesIO(wav)) as w:
        rate = w.getframerate()
        pcm = np.frombuffer(w.readframes(w.getnframes()), dtype="<i2").astype(np.float64) / 32768.0
    return _upsample(pcm, rate)


def _upsample(x: np.ndarray, rate: int) -> np.ndarray:
    """Integer-ratio upsampling to 44.1 kHz with a Hann-windowed sinc interpolator."""
    ratio = RATE // rate
    if ratio <= 1:
        return x
    up = np.zeros(x.size * ratio)
    up[::ratio] = x * ratio
    n = np.arange(-16 * ratio, 16 * ratio + 1)
    h = np.sinc(n / ratio) / ratio * np.hanning(n.size)
    return np.convolve(up, h, mode="same")


def speech_corpus(sentences, voices, rng) -> np.ndarray:
    parts = []
    for i, text in enumerate(sentences):
        for voice in voices[i % 2 :: 2]:
            parts.append(_espeak(text, voice, int(rng.integers(120, 220)), int(rng.integers(20, 80))))
    return np.concatenate(parts)


def _envelope(n: int, attack: float, decay: float) -> np.ndarray:
    t = np.arange(n) / RATE
    return np.minimum(t / max(attack, 1e-4), 1.0) * np.exp(-t / decay)


def _note_hz(rng) -> float:
    return 440.0 * 2.0 ** ((rng.integers(28, 88) - 69) / 12.0)


def _tone(n: int, hz: float, rng, bright: float) -> np.ndarray:
    """Additive tone with slightly stretched partials whose level falls with order."""
    t = np.arange(n) / RATE
    out = np.zeros(n)
    k = 1
    while k * hz < 18000 and k <= 40:
        f = k * hz * (1 + 0.0004 * k * k)
        out += np.sin(2 * math.pi * f * t + rng.uniform(0, 2 * math.pi)) * k ** (-bright) * np.exp(-t * k * 0.6)
        k += 1
    return out


def pluck(n, rng):
    out = np.zeros(n)
    start = 0
    while start < n:
        length = n - start
        out[start:] += _tone(length, _note_hz(rng), rng, rng.uniform(0.7, 1.6)) * _envelope(
            length, 0.001, rng.uniform(0.05, 0.6)
        )
        start += int(rng.integers(RATE // 10, RATE // 2))
    return out


def chord(n, rng):
    root = _note_hz(rng) / 2
    out = np.zeros(n)
    for step in rng.choice([0, 3, 4, 7, 10, 12, 14, 16], size=int(rng.integers(3, 6)), replace=False):
        out += _tone(n, root * 2 ** (step / 12), rng, rng.uniform(0.6, 1.5))
    return out * _envelope(n, rng.uniform(0.001, 0.1), rng.uniform(0.3, 3.0))


def sweep(n, rng):
    f0, f1 = sorted(rng.uniform(math.log(20), math.log(20000), size=2))
    if rng.random() < 0.5:
        f0, f1 = f1, f0
    t = np.arange(n) / RATE
    f = np.exp(f0 + (f1 - f0) * t / t[-1])
    phase = 2 * math.pi * np.cumsum(f) / RATE
    return np.sin(phase) * (0.5 + 0.5 * np.sin(2 * math.pi * rng.uniform(0.5, 4) * t) ** 2)


def _coloured_noise(n, rng, tilt: float, low: float = 0.0) -> np.ndarray:
    spectrum = np.fft.rfft(rng.standard_normal(n))
    f = np.fft.rfftfreq(n, 1 / RATE)
    spectrum *= np.maximum(f, 20.0) ** (-tilt) * (f >= low)
    x = np.fft.irfft(spectrum, n)
    return x / (np.max(np.abs(x)) + 1e-12)


def noise_burst(n, rng):
    out = np.zeros(n)
    for _ in range(int(rng.integers(1, 5))):
        start = int(rng.integers(0, n - 1))
        length = n - start
        out[start:] += _coloured_noise(length, rng, rng.uniform(-0.3, 1.2)) * _envelope(
            length, rng.uniform(0.0005, 0.02), rng.uniform(0.01, 0.3)
        )
    return out


def drums(n, rng):
    out = np.zeros(n)
    step = int(RATE * rng.uniform(0.08, 0.2))
    t = np.arange(n) / RATE
    for start in range(0, n, step):
        length = n - start
        tt = t[:length]
        kind = rng.integers(0, 3)
        if kind == 0:  # kick: a falling sine
            f = 45 + 120 * np.exp(-tt / 0.03)
            hit = np.sin(2 * math.pi * np.cumsum(f) / RATE) * np.exp(-tt / 0.25)
        elif kind == 1:  # snare: tone and noise
            hit = 0.5 * np.sin(2 * math.pi * 190 * tt) * np.exp(-tt / 0.08)
            hit += _coloured_noise(length, rng, 0.2) * np.exp(-tt / 0.06)
        else:  # hat: high noise
            hit = 0.6 * _coloured_noise(length, rng, -0.2, low=6000) * np.exp(-tt / rng.uniform(0.02, 0.2))
        if rng.random() < 0.8:
            out[start:] += hit * rng.uniform(0.3, 1.0)
    return out


def speech(n, rng, corpus):
    start = int(rng.integers(0, corpus.size - n))
    return corpus[start : start + n].copy()


def burst_then_silence(n, rng):
    """Sound that stops: the line must come back to exact silence."""
    out = np.zeros(n)
    stop = int(rng.integers(n // 8, n // 2))
    out[:stop] = _coloured_noise(stop, rng, rng.uniform(0, 1)) * _envelope(stop, 0.001, 1.0)
    if rng.random() < 0.5:
        out[:stop] = _tone(stop, _note_hz(rng), rng, 1.0)
    return out


def offsets(n, rng):
    """Steps of DC and slow swells below the audio band, with or without sound on top:
    the line's coupling removes them, and the network has to learn that."""
    out = np.zeros(n)
    pos = 0
    while pos < n:
        length = int(rng.integers(n // 10, n // 2))
        out[pos : pos + length] = rng.uniform(-1, 1) if rng.random() < 0.7 else 0.0
        pos += length
    t = np.arange(n) / RATE
    if rng.random() < 0.5:
        out += np.sin(2 * math.pi * rng.uniform(1, 25) * t + rng.uniform(0, 2 * math.pi))
    if rng.random() < 0.5:
        p = pluck(n, rng)
        out += 0.5 * p / (np.max(np.abs(p)) + 1e-12)
    return out


def overload(n, rng):
    """Long loud stretches that drive a line into its overload: sustained tones,
    chords, sweeps, noise and dense plucks, often with a DC step or a sub-audio swell
    under them (asymmetric overload must not turn into DC)."""
    kind = int(rng.integers(0, 5))
    t = np.arange(n) / RATE
    if kind == 0:
        x = np.sin(2 * math.pi * _note_hz(rng) * t + rng.uniform(0, 2 * math.pi))
        if rng.random() < 0.5:  # a second partial makes the waveform asymmetric
            x += rng.uniform(0.2, 0.8) * np.sin(4 * math.pi * _note_hz(rng) * t / 2 + rng.uniform(0, 2 * math.pi))
    elif kind == 1:
        root = _note_hz(rng) / 2
        steps = rng.choice([0, 3, 4, 7, 10, 12, 14, 16], size=int(rng.integers(2, 5)), replace=False)
        x = sum(_tone(n, root * 2 ** (s / 12), rng, rng.uniform(0.6, 1.5)) for s in steps)
    elif kind == 2:
        x = sweep(n, rng)
    elif kind == 3:
        x = _coloured_noise(n, rng, rng.uniform(-0.3, 1.2))
    else:
        x = sum(pluck(n, rng) for _ in range(3))
    x /= np.max(np.abs(x)) + 1e-12
    if rng.random() < 0.4:
        x += rng.uniform(-0.5, 0.5) * (t > rng.uniform(0, t[-1]))
    if rng.random() < 0.3:
        x += rng.uniform(0.1, 0.5) * np.sin(2 * math.pi * rng.uniform(1, 25) * t + rng.uniform(0, 2 * math.pi))
    return x


def held_tones(n, rng):
    """Sustained tones whose level steps every 50-200 ms over a range of 24 dB: the
    level a line settles to for a driven tone (its compander and saturation together)
    is learnt from these."""
    return _stepped_tone(n, rng, 100.0, 5000.0)


def bright_tones(n, rng):
    """Held tones of 3-21 kHz whose level steps: a line all but removes them, and a
    network that distorts them folds their harmonics back into the audible band."""
    return _stepped_tone(n, rng, 3000.0, 21000.0)


def quiet_tones(n, rng):
    """Held tones of 100 Hz to 5 kHz far below the lines' knees: the small-signal gain
    (1/G, which the kernel's output gain undoes) is learnt from these."""
    return _stepped_tone(n, rng, 100.0, 5000.0)


def _stepped_tone(n: int, rng, low_hz: float, high_hz: float) -> np.ndarray:
    t = np.arange(n) / RATE
    hz = math.exp(rng.uniform(math.log(low_hz), math.log(high_hz)))
    x = np.sin(2 * math.pi * hz * t + rng.uniform(0, 2 * math.pi))
    level = np.empty(n)
    pos = 0
    while pos < n:
        length = int(rng.integers(RATE // 20, RATE // 5))
        level[pos : pos + length] = 10 ** (rng.uniform(-24, 0) / 20)
        pos += length
    return x * level


def cymbal(n, rng):
    """A cymbal or hi-hat: inharmonic square-wave partials and noise above 3-8 kHz,
    struck once or a few times, each hit decaying over 50 ms to 1.5 s."""
    t = np.arange(n) / RATE
    out = np.zeros(n)
    base = rng.uniform(200, 600)
    ratios = np.array([1.0, 1.4471, 1.6170, 1.9265, 2.5028, 2.6637]) * rng.uniform(0.9, 1.1, 6)
    metal = sum(np.sign(np.sin(2 * math.pi * base * r * t + rng.uniform(0, 2 * math.pi))) for r in ratios)
    low = rng.uniform(3000, 8000)
    tone = _high_pass(metal, low) + rng.uniform(0.5, 2.0) * _coloured_noise(n, rng, rng.uniform(-0.5, 0.3), low=low)
    for _ in range(int(rng.integers(1, 4))):
        start = int(rng.integers(0, n // 2))
        length = n - start
        out[start:] += tone[start:] * _envelope(length, rng.uniform(0.0002, 0.003), rng.uniform(0.05, 1.5))
    return out


def _high_pass(x: np.ndarray, corner: float) -> np.ndarray:
    """A brick-wall high-pass in the frequency domain."""
    spectrum = np.fft.rfft(x)
    spectrum[np.fft.rfftfreq(x.size, 1 / RATE) < corner] = 0.0
    return np.fft.irfft(spectrum, x.size)


def bright_sweep(n, rng):
    """A sine sweeping up or down between 1-10 kHz and 15-21 kHz: aliasing shows on
    such tones."""
    t = np.arange(n) / RATE
    f0, f1 = math.log(rng.uniform(1000, 10000)), math.log(rng.uniform(15000, 21000))
    if rng.random() < 0.5:
        f0, f1 = f1, f0
    f = np.exp(f0 + (f1 - f0) * t / t[-1])
    return np.sin(2 * math.pi * np.cumsum(f) / RATE + rng.uniform(0, 2 * math.pi))


def _bright_tone(n: int, hz: float, rng) -> np.ndarray:
    """Additive tone whose partials reach 21 kHz and fall slowly with order."""
    t = np.arange(n) / RATE
    out = np.zeros(n)
    tilt, k = rng.uniform(0.2, 0.8), 1
    while k * hz < 21000 and k <= 80:
        out += np.sin(2 * math.pi * k * hz * (1 + 0.0002 * k * k) * t + rng.uniform(0, 2 * math.pi)) * k ** (-tilt)
        k += 1
    return out


def bright_chord(n, rng):
    """Bright chords and plucks: notes from 200 Hz to 4 kHz with partials up to 21 kHz."""
    out = np.zeros(n)
    if rng.random() < 0.5:
        root = 440.0 * 2.0 ** ((rng.integers(55, 88) - 69) / 12.0) / 2
        for step in rng.choice([0, 3, 4, 7, 10, 12, 14, 16, 19, 24], size=int(rng.integers(3, 6)), replace=False):
            out += _bright_tone(n, root * 2 ** (step / 12), rng)
        return out * _envelope(n, rng.uniform(0.001, 0.05), rng.uniform(0.2, 3.0))
    start = 0
    while start < n:
        length = n - start
        hz = 440.0 * 2.0 ** ((rng.integers(55, 96) - 69) / 12.0)
        out[start:] += _bright_tone(length, hz, rng) * _envelope(length, 0.0005, rng.uniform(0.03, 0.4))
        start += int(rng.integers(RATE // 20, RATE // 4))
    return out


KINDS = [
    (pluck, 0.18),
    (chord, 0.14),
    (sweep, 0.10),
    (noise_burst, 0.14),
    (drums, 0.14),
    (speech, 0.22),
    (burst_then_silence, 0.08),
]
# Kinds whose clips are set to a peak of -12...+2 dBFS instead of -40...0 dBFS (held
# out: -12...0 dBFS, as the engine's level guard never lets more reach a network).
LOUD = {overload, held_tones}
# Loud bright material, at a peak of -24...0 dBFS: the whole range the kernel's dirt
# drives a line over.
BRIGHT = [(cymbal, 0.24), (bright_sweep, 0.24), (bright_chord, 0.24)]
# Held high tones join the bright training material only: they are test tones rather
# than music, and the aliasing figure measures them; so do quiet held tones, at a peak
# of -45...-25 dBFS.
HIGH = [(bright_tones, 0.16)]
QUIET = [(quiet_tones, 0.1)]


def make_set(
    count: int,
    length: int,
    seed: int,
    held_out: bool = False,
    low_frequencies: bool = False,
    loud: bool = False,
    bright: bool = False,
    names: list | None = None,
) -> np.ndarray:
    """count clips of length samples, each at a peak level drawn from -40...0 dBFS;
    a quarter of the clips also move their level within the clip. low_frequencies
    adds DC steps and sub-audio swells (the second training stage), loud adds long
    stretches of overload (the third), bright adds loud bright material (cymbals,
    sweeps to 21 kHz, bright chords and plucks, and for training high and quiet held
    tones).
    names, when given, receives the kind of each clip."""
    kinds = KINDS + [(offsets, 0.15)] if low_frequencies else list(KINDS)
    if loud:
        kinds += [(overload, 0.25), (held_tones, 0.1)]
    if bright:
        kinds += BRIGHT if held_out else BRIGHT + HIGH + QUIET
    bright_kinds = {make for make, _ in BRIGHT + HIGH}
    rng = np.random.default_rng(seed)
    corpus = (
        speech_corpus(TEST_SENTENCES, TEST_VOICES, rng)
        if held_out
        else speech_corpus(TRAIN_SENTENCES, TRAIN_VOICES, rng)
    )
    corpus /= np.max(np.abs(corpus))
    weights = np.array([w for _, w in kinds])
    out = np.zeros((count, length))
    for i in range(count):
        make = kinds[rng.choice(len(kinds), p=weights / weights.sum())][0]
        x = make(length, rng, corpus) if make is speech else make(length, rng)
        if names is not None:
            names.append(make.__name__)
        x /= np.max(np.abs(x)) + 1e-12
        if rng.random() < 0.25:
            t = np.linspace(0, 1, length)
            x *= 10 ** (rng.uniform(-20, 0) * (t if rng.random() < 0.5 else 1 - t) / 20)
        if make in LOUD:
            peak = rng.uniform(-12, 0 if held_out else 2)
        elif make is quiet_tones:
            peak = rng.uniform(-45, -25)
        elif make in bright_kinds:
            peak = rng.uniform(-24, 0)
        else:
            peak = rng.uniform(-40, 0)
        out[i] = x * 10 ** (peak / 20)
    return out
