#pragma once
// Helpers of the kernel tests: identity delay-line models (all weights zero, so
// each model gives y = x), kernels set up with a list of parameter values, and
// block-wise rendering of whole signals.

#include "DSPKernel.h"

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace kerneltest {

// A weight document whose every weight and bias is zero.
std::vector<unsigned char> zeroWeightDocument();
// The four models parsed from zeroWeightDocument() (parsed once per test binary).
const DSPKernel::ModelWeightSet& identityModels();

using Parameters = std::initializer_list<std::pair<AUParameterAddress, float>>;

// A clean set-up: millisecond delay of 100 ms, no modulation, spread, cut or
// dirt, full wet, feedback 0, model 2 (output gain 1.0); then `overrides`.
void configure(DSPKernel& kernel, Parameters overrides);
// configure, identity models, channelCount, initialize at `rate`; the feedback path's
// DC blocker is off (coefficient 1), so impulses come back exactly scaled.
void prepare(DSPKernel& kernel, Parameters overrides, std::uint32_t channels = 2,
             double rate = 44100.0);

// Non-interleaved audio: one vector per channel.
using Channels = std::vector<std::vector<float>>;
Channels silence(std::uint32_t channels, std::size_t frames);

// Renders `input` through kernel.process in blocks of `block` frames into
// `outputs` channels.
Channels render(DSPKernel& kernel, const Channels& input, std::uint32_t outputs,
                std::uint32_t block = 512);

} // namespace kerneltest
