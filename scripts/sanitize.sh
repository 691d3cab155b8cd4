#!/usr/bin/env bash
# The sanitizer runs:
#   bash scripts/sanitize.sh asan   the whole test suite under AddressSanitizer and
#                                   UndefinedBehaviorSanitizer with leak checking, in
#                                   build-asan (CMake preset "asan")
#   bash scripts/sanitize.sh tsan   the tests that cross threads under ThreadSanitizer
#                                   (scripts/tsan.sh)
#   bash scripts/sanitize.sh        both
# Any report fails the test that made it. Leaks inside system libraries are
# suppressed (scripts/lsan-suppressions.txt); the project's own are not.
# EMBERFALL_ASAN_BUILT=1 skips the build of build-asan; EMBERFALL_JOBS sets the
# parallel jobs (default: one per core).
set -euo pipefail
cd "$(dirname "$0")/.."
what=${1:-all}
jobs=${EMBERFALL_JOBS:-$(nproc)}
case "$what" in asan|tsan|all) ;; *) echo "usage: scripts/sanitize.sh [asan|tsan]" >&2; exit 2;; esac

if [ "$what" != tsan ]; then
  if [ -z "${EMBERFALL_ASAN_BUILT:-}" ]; then
    cmake --preset asan >/dev/null
    cmake --build build-asan --parallel "$jobs"
  fi
  # SDL loads the OpenGL libraries (and Mesa its software driver) when it opens a
  # window and unloads them when it closes it; what they still hold is then reported
  # as leaked from an unknown module. Loaded for the whole process, it stays theirs.
  libs=/usr/lib/$(gcc -print-multiarch)
  preload=""
  for lib in libGL.so.1 libGLX_mesa.so.0 dri/swrast_dri.so; do
    [ -e "$libs/$lib" ] && preload="$preload${preload:+:}$libs/$lib"
  done
  export LD_PRELOAD="$preload${LD_PRELOAD:+:$LD_PRELOAD}"
  export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:verify_asan_link_order=0:${ASAN_OPTIONS:-}"
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0:${LSAN_OPTIONS:-}"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
  ctest --test-dir build-asan --output-on-failure --parallel "$jobs" --timeout 900
fi
if [ "$what" != asan ]; then
  bash scripts/tsan.sh
fi
