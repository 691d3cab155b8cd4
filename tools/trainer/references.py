"""Deterministic reference colourings of the four delay lines (bbd1, bbd2, pt1, pt2).

Each reference models what a line does to the sound, not its delay: the kernel's
own delay line supplies the time. Everything runs at the 44.1 kHz model rate on
float64 arrays of shape [rows, samples], one independent signal per row, starting
at rest (zero state). All stages are causal and have no bulk delay, so the only
latency is the group delay of the low-pass filters (2 to 5 samples at DC).

Signal chain of every line:
  input coupling (first-order high-pass) -> compressor (2:1) -> input low-pass -> chip (charge-transfer loss, soft
  saturation, slew limit) -> output low-pass -> expander (1:2) -> output gain
"""

from __future__ import annotations

import dataclasses
import math

import numpy as np

RATE = 44100.0


def butterworth_sections(order: int, corner_hz: float) -> tuple[np.ndarray, np.ndarray]:
    """Poles and residues of an analogue Butterworth low-pass in partial fractions.

    H(s) = wc^N / prod(s - p_k) = sum_k r_k / (s - p_k); only one pole of each
    conjugate pair is kept (its real part is doubled when summing)."""
    wc = 2.0 * math.pi * corner_hz
    k = np.arange(1, order + 1)
    poles = wc * np.exp(1j * math.pi * (2 * k + order - 1) / (2 * order))
    residues = np.array(
        [wc**order / np.prod([p - q for j, q in enumerate(poles) if j != i]) for i, p in enumerate(poles)]
    )
    keep = poles.imag >= -1e-9
    weights = np.where(np.abs(poles.imag) > 1e-9, 2.0, 1.0)
    return poles[keep], (residues * weights)[keep]


class OnePoleBank:
    """A continuous-time filter as a bank of complex one-pole sections, each
    sampled impulse-invariantly at the model rate: w_k[n] = e^(p_k T) w_k[n-1] + r_k T x[n],
    y[n] = Re(sum_k w_k[n]), scaled to unity gain at DC."""

    def __init__(self, order: int, corner_hz: float):
        poles, residues = butterworth_sections(order, corner_hz)
        t = 1.0 / RATE
        self.a = np.exp(poles * t)
        self.b = residues * t
        dc = np.real(np.sum(self.b / (1.0 - self.a)))
        self.b = self.b / dc

    def start(self, rows: int) -> np.ndarray:
        return np.zeros((rows, self.a.size), dtype=np.complex128)

    def step(self, state: np.ndarray, x: np.ndarray) -> np.ndarray:
        state *= self.a
        state += self.b * x[:, None]
        return state.real.sum(axis=1)


def charge_transfer_taps(stages: int, loss: float, taps: int = 6) -> np.ndarray:
    """Charge-transfer inefficiency of a bucket-brigade chain clocked at the model
    rate: each of N stages keeps (1 - e) of its charge and leaves e behind for the
    next clock, H(z) = ((1 - e) + e z^-1)^N, truncated to its first binomial taps."""
    h = np.array([math.comb(stages, i) * loss**i * (1.0 - loss) ** (stages - i) for i in range(taps)])
    return h / h.sum()


@dataclasses.dataclass(frozen=True)
class Voicing:
    name: str
    in_order: int
    in_corner: float
    out_order: int
    out_corner: float
    stages: int  # bucket-brigade stages (0: no charge-transfer loss)
    transfer_loss: float  # charge left behind per stage and clock
    compander_ms: float  # time constant of both compander rectifiers
    knee: float  # level of the chip's soft saturation, in the compressed domain
    slope: float  # dB-per-dB slope of that saturation far above its knee
    clip: float  # level of the chip's hard overload (0: none)
    slew: float  # largest step of the modulator per sample (0: none)
    gain: float  # small-signal gain of the whole line (1/G of the kernel)
    coupling_hz: float = 20.0  # corner of the input coupling capacitor


# Kernel output gains G per model; each line's small-signal gain is 1/G.
KERNEL_GAINS = (0.631, 0.582, 1.0, 1.06)

VOICINGS = {
    # Short bucket-brigade line, 1024 stages: filters near 9.9 kHz in, 9.5 kHz out.
    "bbd1": Voicing("bbd1", 3, 9900.0, 3, 9500.0, 1024, 6e-5, 10.0, 0.5, 0.25, 0.0, 0.0, 1 / 0.631),
    # Long, darker bucket-brigade line, 4096 stages, steeper filters, slower compander.
    "bbd2": Voicing("bbd2", 4, 7200.0, 4, 6800.0, 4096, 6e-5, 20.0, 0.4, 0.3, 0.0, 0.0, 1 / 0.582),
    # Delta-sigma echo chip, steep filters, fast compander, hard overload and slew.
    "pt1": Voicing("pt1", 4, 10000.0, 4, 9000.0, 0, 0.0, 5.0, 0.65, 0.55, 1.2, 0.5, 1.0, 30.0),
    # Same chip at a low clock: darker filters, earlier and harsher overload.
    "pt2": Voicing("pt2", 4, 6000.0, 4, 5500.0, 0, 0.0, 5.0, 0.45, 0.7, 1.0, 0.3, 1 / 1.06, 30.0),
}

MODEL_ORDER = ("bbd1", "bbd2", "pt1", "pt2")

# The compander's reference level: a full-scale sine leaves the compressor at
# amplitude 1 (a sine of amplitude A has a rectified mean of 2A/pi).
COMPANDER_REF = 2.0 / math.pi
# Largest compressor gain (+20 dB): below this the compander is linear.
COMPANDER_MAX_GAIN = 10.0


class Line:
    """One reference delay-line colouring (see the module comment)."""

    def __init__(self, voicing: Voicing, knee: float | None = None, slope: float | None = None):
        self.v = voicing
        self.knee = voicing.knee if knee is None else knee
        self.slope = voicing.slope if slope is None else slope
        self.alpha = 1.0 - math.exp(-1.0 / (voicing.compander_ms * 0.001 * RATE))
        self.taps = charge_transfer_taps(voicing.stages, voicing.transfer_loss) if voicing.stages else None
        self.floor = COMPANDER_REF / COMPANDER_MAX_GAIN**2  # rectified level where compression starts
        self.floor_out = math.sqrt(COMPANDER_REF * self.floor)  # the expander's matching level
        self.coupling = math.exp(-2.0 * math.pi * voicing.coupling_hz / RATE)
        self.out_gain = 1.0
        if np.ndim(self.knee) == 0 and np.ndim(self.slope) == 0:
            self.out_gain = voicing.gain / float(self.small_signal_gain()[0])

    def saturate(self, c: np.ndarray) -> np.ndarray:
        """Chip's soft saturation: s = c (1 + (c/k)^4)^(-(1 - slope)/4), linear below the
        knee k, rising with the given dB slope above it; then a hard overload
        s = s / (1 + (s/L)^8)^(1/8) at level L."""
        k = np.asarray(self.knee)
        s = c * (1.0 + (c / k) ** 4) ** (-(1.0 - np.asarray(self.slope)) * 0.25)
        if self.v.clip > 0.0:
            s = s / (1.0 + (s / self.v.clip) ** 8) ** 0.125
        return s

    def process(self, x: np.ndarray) -> np.ndarray:
        """Runs signals [rows, samples] from rest."""
        x = np.atleast_2d(np.asarray(x, dtype=np.float64))
        return self.stream(x.shape[0])(x)

    def stream(self, rows: int):
        """A block processor over `rows` signals that carries the line's state from
        call to call (a feedback loop runs the line one delay at a time)."""
        pre = OnePoleBank(self.v.in_order, self.v.in_corner)
        post = OnePoleBank(self.v.out_order, self.v.out_corner)
        ntaps = 0 if self.taps is None else self.taps.size
        s = {
            "pre": pre.start(rows),
            "post": post.start(rows),
            "history": np.zeros((rows, max(ntaps, 1))),
            "held": np.zeros(rows),
            "env_in": np.zeros(rows),
            "env_out": np.zeros(rows),
            "hp_in": np.zeros(rows),
            "hp_out": np.zeros(rows),
        }
        slew = self.v.slew

        def block(x: np.ndarray) -> np.ndarray:
            x = np.atleast_2d(np.asarray(x, dtype=np.float64))
            y = np.empty_like(x)
            history, held = s["history"], s["held"]
            env_in, env_out, hp_in, hp_out = s["env_in"], s["env_out"], s["hp_in"], s["hp_out"]
            for n in range(x.shape[1]):
                # Input coupling: y[n] = a (y[n-1] + x[n] - x[n-1]); the line passes no DC.
                hp_out = self.coupling * (hp_out + x[:, n] - hp_in)
                hp_in = x[:, n]
                xn = hp_out
                # Compressor: env += a (|x| - env); c = x sqrt(ref / max(env, floor)).
                env_in = env_in + self.alpha * (np.abs(xn) - env_in)
                c = xn * np.sqrt(COMPANDER_REF / np.maximum(env_in, self.floor))
                c = pre.step(s["pre"], c)
                if ntaps:
                    # Charge-transfer loss: FIR of the binomial taps over the last clocks.
                    history = np.roll(history, 1, axis=1)
                    history[:, 0] = c
                    c = history @ self.taps
                v = self.saturate(c)
                if slew > 0.0:
                    # Modulator slope overload: y += S tanh((s - y) / S).
                    held = held + slew * np.tanh((v - held) / slew)
                    v = held
                v = post.step(s["post"], v)
                # Expander: env' += a (|s| - env'); y = s max(env', floor') / ref.
                env_out = env_out + self.alpha * (np.abs(v) - env_out)
                y[:, n] = v * np.maximum(env_out, self.floor_out) / COMPANDER_REF
            s.update(history=history, held=held, env_in=env_in, env_out=env_out, hp_in=hp_in, hp_out=hp_out)
            return y * self.out_gain

        return block

    def small_signal_gain(self) -> float:
        return sine_gain(self, 0.01)


def sine(amplitude, seconds: float = 0.3, hz: float = 1000.0) -> np.ndarray:
    a = np.atleast_1d(np.asarray(amplitude, dtype=np.float64))
    t = np.arange(int(seconds * RATE)) / RATE
    return a[:, None] * np.sin(2.0 * math.pi * hz * t)[None, :]


def rms_gain(x: np.ndarray, y: np.ndarray) -> np.ndarray:
    """Steady-state RMS gain per row, over the second half of each signal."""
    h = x.shape[-1] // 2
    return np.sqrt(np.mean(y[..., h:] ** 2, axis=-1) / np.mean(x[..., h:] ** 2, axis=-1))


def sine_gain(line, amplitude, hz: float = 1000.0) -> np.ndarray:
    x = sine(amplitude, hz=hz)
    return rms_gain(x, line.process(x))


# Nominal level of the drive checks: a -6 dBFS sine; the kernel drives it +6 dB
# or -12 dB and compensates the output by the dirt table.
NOMINAL = 0.5
DRIVE_TARGETS = {  # dB change of the output for +6 dB and -12 dB of drive
    "bbd1": (3.0, -9.0),
    "bbd2": (3.0, -7.5),
    "pt1": (4.5, -11.0),
    "pt2": (4.5, -10.5),
}


def drive_response(process) -> tuple[float, float]:
    """Output change in dB when the nominal 1 kHz sine is driven +6 dB and -12 dB."""
    levels = NOMINAL * np.array([1.0, 2.0, 0.25])
    x = sine(levels)
    g = rms_gain(x, process(x)) * levels
    return 20 * math.log10(g[1] / g[0]), 20 * math.log10(g[2] / g[0])


def make_line(name: str) -> Line:
    return Line(VOICINGS[name])
