#!/usr/bin/env bash
# Runs a fuzz target for SECONDS (default 60), or every target at once with "all":
#   bash scripts/fuzz.sh TARGET [SECONDS]
# The targets (fuzz/CMakeLists.txt) are built with clang's libFuzzer, ASan and UBSan
# into build-fuzz. Each starts from its committed seeds (fuzz/corpus/TARGET) and the
# inputs of earlier runs (build-fuzz/fuzz-runs/TARGET/corpus); a fault leaves its input
# in build-fuzz/fuzz-runs/TARGET/findings and fails the run. EMBERFALL_FUZZ_BUILT=1
# skips the build.
set -euo pipefail
cd "$(dirname "$0")/.."
targets=(weights weight-edits plist state update-feed version-weight url)
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: scripts/fuzz.sh TARGET|all [SECONDS]; the targets: ${targets[*]}" >&2
  exit 2
fi
target=$1
seconds=${2:-60}
if [ "$target" = all ]; then
  chosen=("${targets[@]}")
elif [[ " ${targets[*]} " == *" $target "* ]]; then
  chosen=("$target")
else
  echo "scripts/fuzz.sh: no fuzz target '$target'; the targets: ${targets[*]}" >&2
  exit 2
fi
if [ -z "${EMBERFALL_FUZZ_BUILT:-}" ]; then
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz --parallel "$(nproc)"
fi
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:${ASAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0:${LSAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"

run() {
  local name=$1 work=build-fuzz/fuzz-runs/$1
  mkdir -p "$work/corpus" "$work/findings"
  build-fuzz/bin/fuzz-"$name" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$work/findings/" \
    "$work/corpus" "fuzz/corpus/$name" >"$work/last.log" 2>&1
}

declare -A pids
for name in "${chosen[@]}"; do
  run "$name" &
  pids[$name]=$!
done
status=0
for name in "${chosen[@]}"; do
  log=build-fuzz/fuzz-runs/$name/last.log
  if wait "${pids[$name]}"; then result=ok; else result=FAILED; status=1; fi
  executions=$(awk '/stat::number_of_executed_units/ {print $2}' "$log")
  coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  printf 'fuzz %-15s %s: %s executions in %s s, coverage %s\n' \
    "$name" "$result" "${executions:-?}" "$seconds" "${coverage:-?}"
  [ "$result" = ok ] || tail -n 60 "$log"
done
exit $status
