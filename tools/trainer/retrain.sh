#!/usr/bin/env bash
# Retrains the four delay-line models in parallel and writes engine/models/model13.json,
# model12.json, model19.json and model18.json, as the committed documents were made:
#   stage 1  music, speech and noise (110 batches);
#   stage 2  from stage 1's best weights, with DC steps and sub-audio swells (80 batches),
#            so the networks learn the lines' coupling;
#   stage 3  from stage 2's document (bbd2, pt1, pt2; 60 batches), with long loud
#            overload and what a model hears inside the kernel's feedback loop at up to
#            150 %, the DC error also weighed in absolute terms;
#   stage 4  from the document before it (all four), with loud bright material and a
#            log-spectral term in the loss, so the networks stop folding harmonics back;
#            then once more from its own document with a fresh optimiser, until the
#            rate has fallen to 1/64 (a second pass).
# Installs what it needs first. Logs, checkpoints, cached signals and measurements go to
# tools/trainer/runs/.
#
#   tools/trainer/retrain.sh             all four stages
#   FROM_STAGE=4 tools/trainer/retrain.sh   only the fourth, from the third stage's documents
#                                        (commit 69de2dd, the last before the fourth stage)
#   RESUME=1 FROM_STAGE=4 ...            the fourth goes on from its last validation
#   PASS=2 FROM_STAGE=4 ...              only the fourth's second pass, from the documents
#                                        of its first (commit f1a6a51)
#
# TRAINER_THREADS threads per model (2 by default: four models fill eight cores), at the
# lowest priority. The same thread count on the same machine gives the same documents.
set -euo pipefail
cd "$(dirname "$0")"

packages=(python3-torch python3-numpy espeak-ng libopenblas0-serial)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi

mkdir -p runs
# An optimised BLAS makes training about six times faster than the reference one.
openblas=/usr/lib/x86_64-linux-gnu/openblas-serial
if [[ -d $openblas ]]; then export LD_LIBRARY_PATH=$openblas${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}; fi
threads=${TRAINER_THREADS:-2}
export OMP_NUM_THREADS=$threads
from=${FROM_STAGE:-1}
resume=()
[[ -n ${RESUME:-} ]] && resume=(--resume)
train() { nice -n 19 /usr/bin/python3 train.py --threads "$threads" "$@"; }
# The fourth stage's batches: where each committed document's best weights were found.
declare -A stage4=([bbd1]=250 [bbd2]=50 [pt1]=180 [pt2]=190)
# The fourth stage starts from the third stage's documents: those the earlier stages
# just wrote, or, when it runs alone, those committed before the fourth stage.
third=../../engine/models
pass=${PASS:-1}
if ((from == 4 && pass == 2)); then
    mkdir -p runs/pass1
    for doc in model13.json model12.json model19.json model18.json; do
        git show "f1a6a51:engine/models/$doc" > "runs/pass1/$doc"
    done
elif ((from == 4)); then
    third=runs/stage3
    mkdir -p "$third"
    for doc in model13.json model12.json model19.json model18.json; do
        git show "69de2dd:engine/models/$doc" > "$third/$doc"
    done
fi
declare -A documents=([bbd1]=model13.json [bbd2]=model12.json [pt1]=model19.json [pt2]=model18.json)
pids=()
for model in bbd1 bbd2 pt1 pt2; do
    (
        if ((from <= 1)); then train --model "$model" --batches 110 > "runs/$model.log" 2>&1; fi
        if ((from <= 2)); then train --model "$model" --stage 2 --lr 1e-3 --batches 80 > "runs/$model.stage2.log" 2>&1; fi
        if ((from <= 3)) && [[ $model != bbd1 ]]; then
            train --model "$model" --stage 3 --lr 1e-3 --batches 60 > "runs/$model.stage3.log" 2>&1
        fi
        if ((pass == 1)); then
            train --model "$model" --stage 4 --lr 3e-4 --spectral 0.2 --batches "${STAGE4_BATCHES:-${stage4[$model]}}" \
                --start "$third/${documents[$model]}" "${resume[@]}" \
                >> "runs/$model.stage4.log" 2>&1
            mkdir -p runs/pass1
            cp "../../engine/models/${documents[$model]}" runs/pass1/
        fi
        # The second pass keeps its checkpoints apart from the first's, its signals not.
        mkdir -p runs/pass2
        ln -sfn ../cache runs/pass2/cache
        earlier="110 + 80 + ${stage4[$model]}"
        [[ $model == bbd1 ]] || earlier="110 + 80 + 60 + ${stage4[$model]}"
        train --model "$model" --stage 4 --lr 3e-4 --spectral 0.2 --batches 400 --work runs/pass2 \
            --start "runs/pass1/${documents[$model]}" --earlier "$earlier" "${resume[@]}" \
            >> "runs/$model.stage4.pass2.log" 2>&1
        cp runs/pass2/$model.metrics.json runs/
    ) &
    pids+=($!)
done
status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
/usr/bin/python3 report.py
exit $status
