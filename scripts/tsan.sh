#!/usr/bin/env bash
# Builds the tests that cross threads with ThreadSanitizer into build-tsan and runs
# them: the effect's render thread against main-thread editing, the parameter
# model, the run loop and queues, the kernel's render cycle, and the effect loaded
# through the extension service, also with parameter writes from other threads while
# it renders (the host program's own tests, which start the program, are left to the
# plain build: instrumented they take minutes); the application's tests and the
# shaders' (drawn on the software GPU's worker threads), the URL channel's listener
# thread, the update check's fetch, and the application started as a second copy that
# hands its URL over (EMBERFALL_JOBS sets the parallel build jobs, default one per core).
set -euo pipefail
cd "$(dirname "$0")/.."
tests=(ExtensionUnitTests HostTests OrreryParametersTests AUParametersTests AUAudioUnitTests
       DispatchTests FoundationTests EngineKernelTests ObservationTests ExtensionKitTests
       CoreAudioKitTests ExtensionRealtimeTests HostTortureTests
       EmberfallTests QuarroShadersTests AppKitTests SparkleTests EmberfallWindowTests)
cmake --preset tsan >/dev/null
cmake --build build-tsan --parallel "${EMBERFALL_JOBS:-$(nproc)}" --target "${tests[@]}" emberfall Emberfall
# Races inside uninstrumented system libraries (text layout) are suppressed; ours are not.
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/scripts/tsan-suppressions.txt ${TSAN_OPTIONS:-}"
status=0
for t in "${tests[@]}"; do
  echo "== $t"
  filter='*'
  [ "$t" = HostTests ] && filter='LoadedHost.*'
  [ "$t" = HostTortureTests ] && filter='Torture.*' # writers on other threads, not every rate
  [ "$t" = AppKitTests ] && filter='SchemeChannel.*:ChannelTest.*'
  # The copies started without a screen; the windows on the virtual screen stay with
  # the plain build (the waveform drawn instrumented is too slow to watch).
  [ "$t" = EmberfallWindowTests ] && filter='EmberfallLaunch.*:HandOver.*'
  build-tsan/bin/"$t" --gtest_brief=1 --gtest_filter="$filter" || status=1
done
echo "== Emberfall --help"
build-tsan/Emberfall.app/Contents/MacOS/Emberfall --help >/dev/null || status=1
exit $status
