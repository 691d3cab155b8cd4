#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test: the release suite,
# the same suite under AddressSanitizer and UndefinedBehaviorSanitizer with leak
# checking (build-asan), and a short run of each fuzz target (build-fuzz, clang's
# libFuzzer). The three trees build at the same time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
fuzz_seconds=${EMBERFALL_FUZZ_SECONDS:-20}
jobs=$(nproc)

cmake --preset asan >/dev/null
cmake --preset fuzz >/dev/null
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
build() { # name, command...: runs the command with its output kept, shown on failure
  local name=$1
  shift
  if "$@" >"$logs/$name.log" 2>&1; then return 0; fi
  echo "building $name failed:" >&2
  tail -n 80 "$logs/$name.log" >&2
  return 1
}
build release bash scripts/build.sh & release=$!
build asan cmake --build build-asan --parallel "$jobs" & asan=$!
build fuzz cmake --build --preset fuzz --parallel "$jobs" & fuzz=$!
status=0
for pid in $release $asan $fuzz; do wait "$pid" || status=1; done
[ $status -eq 0 ] || exit 1

ctest --test-dir build --output-on-failure --parallel "$jobs" --timeout 600
EMBERFALL_ASAN_BUILT=1 bash scripts/sanitize.sh asan
EMBERFALL_FUZZ_BUILT=1 bash scripts/fuzz.sh all "$fuzz_seconds"
