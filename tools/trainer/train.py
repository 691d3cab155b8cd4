"""Trains one delay-line network against its reference colouring and writes its
weight document and its measurements.

  /usr/bin/python3 train.py --model bbd1 --out ../../engine/models

Network: dense(1->64) - GRU(64) - GRU(64) - dense(64->1), residual y = x + net(x),
at 44.1 kHz. Loss: error-to-signal ratio of pre-emphasised signals
(e[n] - 0.85 e[n-1]) plus a DC term, 0.75/0.25, with truncated back-propagation
through time; the fourth stage adds a multi-resolution log-spectral term that hears
the top of the band and aliasing. Everything is seeded, so the same command with the
same thread count gives the same document on the same machine; a stopped run goes on
from its last validation with --resume."""

from __future__ import annotations

import argparse
import copy
import json
import math
import os
import time

import numpy as np
import torch

import loops
import references
import signals
from export import export_document
import measure as measure_module
from measure import measure

DOCUMENTS = {"bbd1": "model13.json", "bbd2": "model12.json", "pt1": "model19.json", "pt2": "model18.json"}
SEGMENT = 22050  # samples per training clip (0.5 s)
WARMUP = 200  # samples run before the loss counts
CHUNK = 1000  # samples per truncated back-propagation step
PRE_EMPHASIS = 0.85


class DelayLineNet(torch.nn.Module):
    """The network of the engine; module names give the document's key prefixes."""

    def __init__(self, hidden: int = 64):
        super().__init__()
        self.input_dense = torch.nn.Linear(1, hidden)
        self.gru = torch.nn.GRU(hidden, hidden, batch_first=True)
        self.gru2 = torch.nn.GRU(hidden, hidden, batch_first=True)
        self.output_dense = torch.nn.Linear(hidden, 1)
        with torch.no_grad():  # start near the identity: net(x) small
            self.output_dense.weight.mul_(0.1)
            self.output_dense.bias.zero_()

    def forward(self, x, state=None):
        """x: [batch, time, 1]; returns y = x + net(x) and the two hidden states."""
        h1, h2 = (None, None) if state is None else state
        a, h1 = self.gru(self.input_dense(x), h1)
        b, h2 = self.gru2(a, h2)
        return x + self.output_dense(b), (h1, h2)


def run(net, x: np.ndarray, block: int = 44100) -> np.ndarray:
    """Runs the trained network over signals [rows, samples] from rest (no gradients)."""
    xt = torch.from_numpy(np.atleast_2d(x).astype(np.float32))[..., None]
    out, state = [], None
    with torch.no_grad():
        for s in range(0, xt.shape[1], block):
            y, state = net(xt[:, s : s + block], state)
            out.append(y)
    return torch.cat(out, dim=1)[..., 0].double().numpy()


def streamer(net):
    """A block processor over the network that carries its hidden state."""
    state = [None]

    def process(xb: np.ndarray) -> np.ndarray:
        with torch.no_grad():
            y, state[0] = net(torch.from_numpy(xb.astype(np.float32))[None, :, None], state[0])
        return y[0, :, 0].double().numpy()

    return process


def pre_emphasis(e: torch.Tensor) -> torch.Tensor:
    return e[:, 1:] - PRE_EMPHASIS * e[:, :-1]


def loss_fn(y: torch.Tensor, target: torch.Tensor, x: torch.Tensor) -> torch.Tensor:
    """0.75 ESR(pre-emphasised) + 0.25 DC, each normalised per clip so quiet clips
    count as much as loud ones. A twentieth of the input's energy joins each clip's
    norm, so a clip the line all but removes (a tone far above its corner) is judged
    against its input rather than against almost nothing; a thousandth of the batch's
    mean does the same for stretches of silence.

    The third stage shares the ESR's weight with the plain error-to-signal ratio of
    the whole batch (`pooled`): what a listener hears, and the held-out figure, is
    dominated by the loud clips and by the low end that pre-emphasis plays down.
    `loud` weighs clips whose input peaks at or above the nominal -6 dBFS more: the
    level a line gives a driven input is learnt from those."""
    y, target, x = y[..., 0], target[..., 0], x[..., 0]
    num = pre_emphasis(target - y).pow(2).sum(1)
    den = pre_emphasis(target).pow(2).sum(1) + 0.05 * pre_emphasis(x).pow(2).sum(1)
    esr = num / (den + 1e-3 * den.mean() + 1e-10)
    energy = target.pow(2).mean(1) + 0.05 * x.pow(2).mean(1)
    offset = (target - y).mean(1).pow(2)
    dc = offset / (energy + 1e-3 * energy.mean() + 1e-10)
    weight = 1.0 + loud * (x.abs().amax(1) >= 0.5).float()
    plain = (target - y).pow(2).sum() / (target.pow(2).sum() + 1e-10)
    total = ((0.75 * (1.0 - pooled) * esr + 0.25 * dc + absolute_dc * offset) * weight).mean() + 0.75 * pooled * plain
    if spectral > 0.0:
        total = total + spectral * spectral_loss(y[..., None], target[..., None])
    return total


# Weight of the DC error in absolute terms (the third stage): in the feedback loop a
# loud clip's small relative DC error is what piles up.
absolute_dc = 0.0
# Share of the ESR taken by the batch's plain ESR, and the extra weight of driven clips.
pooled = 0.0
loud = 0.0


# Weight of the log-spectral term (the fourth stage).
spectral = 0.0
SPECTRAL_SIZES = (128, 256, 512)
SPECTRAL_FLOOR_DBFS = -90.0


def spectral_loss(y: torch.Tensor, target: torch.Tensor) -> torch.Tensor:
    """Mean distance of log magnitudes over short-time spectra of 128, 256 and 512
    samples (Hann windows, hop a quarter), each bin's magnitude floored at that of a
    -90 dBFS sine. A ratio of magnitudes counts the same at any level, so a folded
    harmonic 60 dB above what the reference leaves there costs as much at 900 Hz as a
    wrong partial at 15 kHz, however little energy either carries."""
    y, target = y[..., 0], target[..., 0]
    total = 0.0
    for n in SPECTRAL_SIZES:
        window = torch.hann_window(n, periodic=True, dtype=y.dtype)
        floor = 10 ** (SPECTRAL_FLOOR_DBFS / 20) * float(window.sum()) / 2
        def magnitude(v):
            z = torch.stft(v, n, hop_length=n // 4, window=window, center=False, return_complex=True)
            return torch.sqrt(z.real.pow(2) + z.imag.pow(2) + floor**2)
        total = total + (magnitude(y).log() - magnitude(target).log()).abs().mean()
    return total / len(SPECTRAL_SIZES)


def esr(y: np.ndarray, target: np.ndarray) -> float:
    return float(np.sum((target - y) ** 2) / np.sum(target**2))


def trim_dc(net) -> float:
    """Makes net(0) = 0: the output bias cancels the output at the hidden states'
    fixed point under silence (the fixed point does not depend on that bias)."""
    y = run(net, np.zeros((1, 2 * 44100)))
    offset = float(y[0, -1])
    with torch.no_grad():
        net.output_dense.bias.sub_(offset)
    return offset


def load_document(net, path: str) -> None:
    """Starts from a committed weight document (the inverse of export_document)."""
    with open(path) as f:
        doc = json.load(f)
    state = {key.removeprefix("_orig_mod."): torch.tensor(value, dtype=torch.float32) for key, value in doc.items()}
    net.load_state_dict(state)


def training_set(args, stage: int, count: int, seed: int) -> np.ndarray:
    """Stage 1: music, speech and noise; stage 2 adds DC steps and sub-audio swells;
    stage 3 adds long loud overload and, for a fifth of the clips, what the model
    hears inside the kernel's feedback loop; stage 4 adds loud bright material."""
    if stage < 3:
        return shared_signals(args, f"stage{stage}.{count}x{SEGMENT}.{seed}", count, SEGMENT, seed, low_frequencies=stage == 2)
    looped = count // 5
    plain = shared_signals(
        args,
        f"stage{stage}.{count - looped}x{SEGMENT}.{seed}",
        count - looped,
        SEGMENT,
        seed,
        low_frequencies=True,
        loud=True,
        bright=stage == 4,
    )
    groups = 8 if looped >= 64 else 1
    return np.concatenate([plain, loops.record(args.model, looped, SEGMENT, seed=seed + 1, groups=groups)])


def _load_or_make(path: str, make) -> dict:
    """Reads a cached .npz, or makes it and writes it atomically (several trainings
    may make the same file at once; each writes its own temporary)."""
    if os.path.exists(path):
        with np.load(path) as data:
            return dict(data)
    arrays = make()
    os.makedirs(os.path.dirname(path), exist_ok=True)
    temporary = f"{path}.{os.getpid()}.tmp.npz"
    np.savez(temporary, **arrays)
    os.replace(temporary, path)
    return arrays


def shared_signals(args, key: str, count: int, length: int, seed: int, **kinds) -> np.ndarray:
    """Signals that do not depend on the model, made once for all four."""
    path = os.path.join(args.work, "cache", f"signals.{key}.npz")
    return _load_or_make(path, lambda: {"x": signals.make_set(count, length, seed=seed, **kinds)})["x"]


def cached(args, kind: str, count: int, seed: int, length: int = SEGMENT) -> tuple[np.ndarray, np.ndarray]:
    """A training or validation set and its reference's output, made once and kept in
    runs/cache. kind: a stage ("1" to "4"), "plain" (held-out-like material for
    choosing the best weights) or "bright" (the same with loud bright material)."""

    def make():
        if kind == "plain":
            x = shared_signals(args, f"plain.{count}x{length}.{seed}", count, length, seed)
        elif kind == "bright":
            x = shared_signals(
                args, f"bright.{count}x{length}.{seed}", count, length, seed, low_frequencies=True, loud=True, bright=True
            )
        else:
            x = training_set(args, int(kind), count, seed)
        return {"x": x, "t": references.make_line(args.model).process(x)}

    data = _load_or_make(os.path.join(args.work, "cache", f"{args.model}.{kind}.{count}x{length}.{seed}.npz"), make)
    return data["x"], data["t"]


def checkpoint_path(args, stage: int, what: str = "best") -> str:
    return os.path.join(args.work, f"{args.model}.{what}.pt" if stage == 1 else f"{args.model}.stage{stage}.{what}.pt")


# Sines for choosing the fourth stage's best weights by their aliasing (other tones
# than those measure.py reports).
VALID_ALIAS_HZ = (7000, 13000, 17000)
VALID_ALIAS_DBFS = (-6.0, -18.0)


def alias_score(net) -> float:
    """Mean excess of the largest aliases over -80 dBFS, in dB (0 when all are below)."""
    found = measure_module.aliases(lambda x: run(net, x), VALID_ALIAS_DBFS, VALID_ALIAS_HZ)
    return float(np.mean([max(a["alias_dbfs"] + 80.0, 0.0) for a in found]))


# The fourth stage's choice of weights also keeps the small-signal gain: its loss
# hardly hears a few tenths of a dB, and the kernel's output gain relies on 1/G.
GAIN_TOLERANCE_DB = 0.3
GAIN_WEIGHT = 0.05  # validation cost per dB beyond the tolerance
# Nor may the fourth stage trade the plain material's ESR for fewer aliases: each
# 0.001 above the starting document's costs as much as 20 dB of aliasing.
PLAIN_WEIGHT = 10.0


def small_signal_error_db(net, name: str) -> float:
    """Gain of a 1 kHz sine at -32 dBFS against 1/G, in dB."""
    s = references.sine(10 ** (-32 / 20))
    g = references.KERNEL_GAINS[references.MODEL_ORDER.index(name)]
    return 20 * math.log10(float(references.rms_gain(s, run(net, s))[0]) * g)


def train(args) -> None:
    torch.set_num_threads(args.threads)
    torch.manual_seed(args.seed)
    rng = np.random.default_rng(args.seed)
    line = references.make_line(args.model)
    started = time.time()

    # Stage 2 goes on from stage 1's best weights with DC steps and sub-audio swells
    # added to the signals, so the network learns the line's coupling. Stage 3 goes on
    # from the committed document with overload and the feedback loop's own material;
    # stage 4 from the document again with loud bright material and the spectral term.
    global absolute_dc, pooled, loud, spectral
    late = args.stage >= 3
    absolute_dc = 2.0 if late else 0.0
    pooled = args.pooled if late else 0.0
    loud = args.loud if late else 0.0
    spectral = args.spectral if args.stage == 4 else 0.0
    x_train, t_train = cached(args, str(args.stage), args.clips, seed=1000 * (2 * args.stage - 1) + args.seed)
    x_valid, t_valid = cached(args, str(args.stage), 16, seed=2000 * args.stage + args.seed)
    # The later stages choose their best weights on the plain material as well as on
    # their own (their own is mostly overload, which would hide the rest), the fourth
    # also on bright material and on how far its aliases stand above -80 dBFS.
    extra = [cached(args, "plain", 32, seed=5000 + args.seed, length=2 * SEGMENT)] if late else []
    if args.stage == 4:
        extra.append(cached(args, "bright", 32, seed=6000 + args.seed, length=2 * SEGMENT))
    print(f"{args.model}: data ready in {time.time() - started:.0f} s", flush=True)
    if args.prepare:
        return
    xs = torch.from_numpy(x_train.astype(np.float32))[..., None]
    ts = torch.from_numpy(t_train.astype(np.float32))[..., None]

    net = DelayLineNet()
    if args.stage == 2:
        net.load_state_dict(torch.load(checkpoint_path(args, 1))["state"])
    elif late:
        load_document(net, args.start or os.path.join(args.out, DOCUMENTS[args.model]))

    document_plain = [math.inf]  # the starting document's ESR on the plain material

    def validate() -> tuple[float, str]:
        v = esr(run(net, x_valid), t_valid)
        parts = [f"{v:.5f}"]
        errors = [esr(run(net, x), t) for x, t in extra]
        v += sum(errors)
        parts += [f"{e:.5f}" for e in errors]
        if args.stage == 4:
            a = alias_score(net)
            off = small_signal_error_db(net, args.model)
            if document_plain[0] == math.inf:  # the first validation is the document's own
                document_plain[0] = errors[0]
            v += args.alias_weight * a + GAIN_WEIGHT * max(abs(off) - GAIN_TOLERANCE_DB, 0.0)
            v += PLAIN_WEIGHT * max(errors[0] - document_plain[0], 0.0)
            parts.append(f"aliases +{a:.1f} dB, gain {off:+.2f} dB")
        return v, " ".join(parts)

    opt = torch.optim.Adam(net.parameters(), lr=args.lr)
    best, best_state, bad, first = math.inf, copy.deepcopy(net.state_dict()), 0, 0
    resume = checkpoint_path(args, args.stage, "resume")
    if args.resume and os.path.exists(resume):
        c = torch.load(resume)
        net.load_state_dict(c["state"])
        opt.load_state_dict(c["optimizer"])
        rng.bit_generator.state = c["rng"]
        best, best_state, bad, first = c["best"], c["best_state"], c["bad"], c["batch"]
        document_plain[0] = c.get("document_plain", math.inf)
        started -= c["seconds"]
        print(f"{args.model}: resumed after batch {first}, best {best:.5f}", flush=True)
    elif late:  # never end worse than the document it started from
        best, parts = validate()
        up, down = references.drive_response(lambda s: run(net, s))
        print(f"{args.model}: from the document: valid {best:.5f} ({parts}) drive {up:+.2f} / {down:+.2f} dB", flush=True)
    batch = first - 1
    for batch in range(first, args.batches):
        rows = torch.from_numpy(rng.choice(args.clips, size=args.batch_size, replace=False))
        xb, tb = xs[rows], ts[rows]
        with torch.no_grad():
            _, state = net(xb[:, :WARMUP])
        total = 0.0
        for s in range(WARMUP, SEGMENT, CHUNK):
            y, state = net(xb[:, s : s + CHUNK], state)
            loss = loss_fn(y, tb[:, s : s + CHUNK], xb[:, s : s + CHUNK])
            opt.zero_grad()
            loss.backward()
            torch.nn.utils.clip_grad_norm_(net.parameters(), 1.0)
            opt.step()
            state = tuple(h.detach() for h in state)
            total += float(loss)
        if (batch + 1) % args.validate_every == 0 or batch + 1 == args.batches:
            v, parts = validate()
            if v < best:
                best, best_state, bad = v, copy.deepcopy(net.state_dict()), 0
                checkpoint = {"state": best_state, "validation_esr": best, "batch": batch + 1}
                torch.save(checkpoint, checkpoint_path(args, args.stage))
            else:
                bad += 1
                if bad >= 2:  # plateau: halve the rate, go on from the best weights
                    for g in opt.param_groups:
                        g["lr"] *= 0.5
                    net.load_state_dict(best_state)
                    bad = 0
            lr = opt.param_groups[0]["lr"]
            up, down = references.drive_response(lambda s: run(net, s))
            print(
                f"{args.model}: batch {batch + 1} loss {total / math.ceil((SEGMENT - WARMUP) / CHUNK):.5f} "
                f"valid {v:.5f} ({parts}) best {best:.5f} drive {up:+.2f} / {down:+.2f} lr {lr:.2e} "
                f"{time.time() - started:.0f} s",
                flush=True,
            )
            if late:  # where a stopped run goes on
                state = {
                    "state": net.state_dict(),
                    "optimizer": opt.state_dict(),
                    "rng": rng.bit_generator.state,
                    "best": best,
                    "best_state": best_state,
                    "bad": bad,
                    "batch": batch + 1,
                    "seconds": time.time() - started,
                    "document_plain": document_plain[0],
                }
                torch.save(state, resume + ".tmp")
                os.replace(resume + ".tmp", resume)
            if lr < args.lr / 64:
                break
    seconds = time.time() - started
    finish(args, net, best_state, line, seconds, best, batch + 1)


def finish(args, net, best_state, line, seconds, best, batches) -> None:
    """Exports the best weights (after the DC trim) and measures them."""
    net.load_state_dict(best_state)
    offset = trim_dc(net)
    path = os.path.join(args.out, DOCUMENTS[args.model])
    with open(path, "w") as f:
        f.write(export_document(net))
    torch.save(net.state_dict(), os.path.join(args.work, f"{args.model}.pt"))
    metrics = measure(args.model, lambda x: run(net, x), line, lambda: streamer(net))
    metrics.update(
        training_seconds=None if seconds is None else round(seconds),
        dc_trim=offset,
        validation_esr=best,
        batches=batches,
        stage=args.stage,
    )
    if args.earlier:
        metrics["earlier_batches"] = args.earlier
    with open(os.path.join(args.work, f"{args.model}.metrics.json"), "w") as f:
        json.dump(metrics, f, indent=1)
    print(json.dumps(metrics), flush=True)


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--model", choices=references.MODEL_ORDER, required=True)
    p.add_argument("--out", default=os.path.join(os.path.dirname(__file__), "..", "..", "engine", "models"))
    p.add_argument("--work", default=os.path.join(os.path.dirname(__file__), "runs"))
    p.add_argument("--seed", type=int, default=7)
    p.add_argument("--clips", type=int, default=2400)
    p.add_argument("--batches", type=int, default=540)
    p.add_argument("--batch-size", type=int, default=32)
    p.add_argument("--validate-every", type=int, default=10)
    p.add_argument("--lr", type=float, default=5e-3)
    p.add_argument("--threads", type=int, default=1)
    p.add_argument("--stage", type=int, choices=(1, 2, 3, 4), default=1)
    p.add_argument("--pooled", type=float, default=0.5, help="third stage: share of the batch's plain ESR")
    p.add_argument("--loud", type=float, default=0.0, help="third stage: extra weight of driven clips")
    p.add_argument("--spectral", type=float, default=0.2, help="fourth stage: weight of the log-spectral term")
    p.add_argument("--alias-weight", type=float, default=5e-4, help="fourth stage: validation cost of 1 dB of aliasing")
    p.add_argument("--start", help="later stages: the document to start from (default: the one in --out)")
    p.add_argument("--resume", action="store_true", help="go on from the last validation of a stopped run")
    p.add_argument("--earlier", help="the batches of the stages before, as the report names them")
    p.add_argument("--prepare", action="store_true", help="only make the stage's signals and references")
    p.add_argument("--finish", action="store_true", help="export the best checkpoint of a stopped run")
    args = p.parse_args()
    os.makedirs(args.work, exist_ok=True)
    if args.finish:
        torch.set_num_threads(args.threads)
        c = torch.load(checkpoint_path(args, args.stage))
        finish(args, DelayLineNet(), c["state"], references.make_line(args.model), None, c["validation_esr"], c["batch"])
    else:
        train(args)


if __name__ == "__main__":
    main()
