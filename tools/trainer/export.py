"""The weight document of a trained network: one JSON object on one line, twelve
keys in a fixed order, separators ", " and ": ", no newline. GRU gate blocks stay in
PyTorch's r, z, n order; the engine's loader reorders them."""

from __future__ import annotations

import json

LAYERS = (
    ("input_dense", ("weight", "bias")),
    ("gru", ("weight_ih_l0", "weight_hh_l0", "bias_ih_l0", "bias_hh_l0")),
    ("gru2", ("weight_ih_l0", "weight_hh_l0", "bias_ih_l0", "bias_hh_l0")),
    ("output_dense", ("weight", "bias")),
)


def document_keys() -> list[str]:
    return [f"_orig_mod.{layer}.{name}" for layer, names in LAYERS for name in names]


def export_document(net) -> str:
    """Every value is a float32 weight written as the shortest decimal of its
    double-precision value (so it reads back to the same float32)."""
    state = net.state_dict()
    doc = {}
    for key in document_keys():
        doc[key] = state[key.removeprefix("_orig_mod.")].float().tolist()
    return json.dumps(doc, separators=(", ", ": "))
