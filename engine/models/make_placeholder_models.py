#!/usr/bin/env python3
"""Writes placeholder weight documents in the export format: one JSON object on one
line, twelve keys in export order, separators ", " and ": ", no trailing newline.
All weights are zero, which makes each model the identity (y = x + 0).

Usage: make_placeholder_models.py [output folder]   (default: this script's folder)
"""
import json
import os
import sys

UNITS = 64
GATES = 3 * UNITS


def matrix(rows, columns):
    return [[0.0] * columns for _ in range(rows)]


def document():
    doc = {
        "_orig_mod.input_dense.weight": matrix(UNITS, 1),
        "_orig_mod.input_dense.bias": [0.0] * UNITS,
    }
    for layer in ("gru", "gru2"):
        prefix = "_orig_mod." + layer + "."
        doc[prefix + "weight_ih_l0"] = matrix(GATES, UNITS)
        doc[prefix + "weight_hh_l0"] = matrix(GATES, UNITS)
        doc[prefix + "bias_ih_l0"] = [0.0] * GATES
        doc[prefix + "bias_hh_l0"] = [0.0] * GATES
    doc["_orig_mod.output_dense.weight"] = matrix(1, UNITS)
    doc["_orig_mod.output_dense.bias"] = [0.0]
    return doc


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    text = json.dumps(document(), separators=(", ", ": "))
    for name in ("model13", "model12", "model19", "model18"):
        with open(os.path.join(folder, name + ".json"), "w") as f:
            f.write(text)


if __name__ == "__main__":
    main()
