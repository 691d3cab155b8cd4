#!/usr/bin/env bash
# Installs what is needed, builds, and runs the main job on its defaults.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh -DEMBERFALL_BENCHMARKS=OFF
exec build/bin/emberfall
