#!/usr/bin/env bash
# Builds the tests that cross threads with ThreadSanitizer into build-tsan and runs
# them: the effect's render thread against main-thread editing, the parameter
# model, the run loop and queues, the kernel's render cycle, and the effect loaded
# through the extension service, also with parameter writes from other threads while
# it renders (the host program's own tests, which start the program, are left to the
# plain build: instrumented they take minutes).
set -euo pipefail
cd "$(dirname "$0")/.."
tests=(ExtensionUnitTests HostTests OrreryParametersTests AUParametersTests AUAudioUnitTests
       DispatchTests FoundationTests EngineKernelTests ObservationTests ExtensionKitTests
       CoreAudioKitTests ExtensionRealtimeTests HostTortureTests)
cmake --preset tsan >/dev/null
cmake --build build-tsan --parallel "$(nproc)" --target "${tests[@]}" emberfall
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}"
status=0
for t in "${tests[@]}"; do
  echo "== $t"
  filter='*'
  [ "$t" = HostTests ] && filter='LoadedHost.*'
  [ "$t" = HostTortureTests ] && filter='Torture.*' # writers on other threads, not every rate
  build-tsan/bin/"$t" --gtest_brief=1 --gtest_filter="$filter" || status=1
done
exit $status
