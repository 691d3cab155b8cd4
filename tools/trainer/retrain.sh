#!/usr/bin/env bash
# Retrains the four delay-line models in parallel (one or two threads each, at the
# lowest priority so that a shared machine stays usable) and writes
# engine/models/model13.json, model12.json, model19.json and model18.json.
# Stage 1 learns the lines from music, speech and noise; stage 2 goes on from its
# best weights with DC steps and sub-audio swells added, so the networks learn the
# lines' coupling; stage 3 goes on from stage 2's document with long loud overload and
# what a model hears inside the kernel's feedback loop at up to 150 %, with the DC
# error also weighed in absolute terms (no DC may pile up around the loop). Logs,
# checkpoints and measurements go to tools/trainer/runs/.
set -euo pipefail
cd "$(dirname "$0")"
mkdir -p runs
# An optimised BLAS makes training about six times faster than the reference one.
openblas=/usr/lib/x86_64-linux-gnu/openblas-serial
if [[ -d $openblas ]]; then export LD_LIBRARY_PATH=$openblas${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}; fi
threads=${TRAINER_THREADS:-2}
export OMP_NUM_THREADS=$threads
train() { nice -n 19 /usr/bin/python3 train.py --threads "$threads" "$@"; }
pids=()
for model in bbd1 bbd2 pt1 pt2; do
    (
        train --model "$model" --batches 110 > "runs/$model.log" 2>&1
        train --model "$model" --stage 2 --lr 1e-3 --batches 80 > "runs/$model.stage2.log" 2>&1
        train --model "$model" --stage 3 --lr 1e-3 --batches "${STAGE3_BATCHES:-200}" > "runs/$model.stage3.log" 2>&1
    ) &
    pids+=($!)
done
status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
/usr/bin/python3 report.py
exit $status
