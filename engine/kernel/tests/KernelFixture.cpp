#include "KernelFixture.h"

#include <algorithm>
#include <string>

namespace kerneltest {

namespace {

std::string zeros(std::size_t n) {
    std::string s = "[";
    for (std::size_t i = 0; i < n; ++i)
        s += i ? ", 0.0" : "0.0";
    return s + "]";
}

std::string zeroMatrix(std::size_t rows, std::size_t columns) {
    std::string s = "[";
    const std::string row = zeros(columns);
    for (std::size_t i = 0; i < rows; ++i)
        s += (i ? ", " : "") + row;
    return s + "]";
}

} // namespace

std::vector<unsigned char> zeroWeightDocument() {
    std::string doc = "{\"_orig_mod.input_dense.weight\": " + zeroMatrix(64, 1) +
                      ", \"_orig_mod.input_dense.bias\": " + zeros(64);
    for (const char* layer : {"gru", "gru2"}) {
        const std::string prefix = std::string(", \"_orig_mod.") + layer + ".";
        doc += prefix + "weight_ih_l0\": " + zeroMatrix(192, 64);
        doc += prefix + "weight_hh_l0\": " + zeroMatrix(192, 64);
        doc += prefix + "bias_ih_l0\": " + zeros(192);
        doc += prefix + "bias_hh_l0\": " + zeros(192);
    }
    doc += ", \"_orig_mod.output_dense.weight\": " + zeroMatrix(1, 64) +
           ", \"_orig_mod.output_dense.bias\": " + zeros(1) + "}";
    return {doc.begin(), doc.end()};
}

const DSPKernel::ModelWeightSet& identityModels() {
    static const DSPKernel::ModelWeightSet models = [] {
        const std::vector<unsigned char> doc = zeroWeightDocument();
        auto weights = Korvane::parseModelWeights(doc.data(), unsigned(doc.size()));
        return DSPKernel::ModelWeightSet{weights, weights, weights, weights};
    }();
    return models;
}

void configure(DSPKernel& kernel, Parameters overrides) {
    const Parameters clean = {{DSPKernel::delayTypeAddress, 1},   {DSPKernel::delayMsAddress, 100},
                              {DSPKernel::mixAddress, 100},       {DSPKernel::feedbackAddress, 0},
                              {DSPKernel::modDepthAddress, 0},    {DSPKernel::modRateAddress, 0.5f},
                              {DSPKernel::lfoTypeAddress, 0},     {DSPKernel::widthAddress, 100},
                              {DSPKernel::spreadAddress, 0},      {DSPKernel::lowCutAddress, 20},
                              {DSPKernel::highCutAddress, 20000}, {DSPKernel::dirtAddress, 0},
                              {DSPKernel::modelAddress, 2}};
    for (auto [address, value] : clean)
        kernel.setParameter(address, value);
    for (auto [address, value] : overrides)
        kernel.setParameter(address, value);
}

void prepare(DSPKernel& kernel, Parameters overrides, std::uint32_t channels, double rate) {
    configure(kernel, overrides);
    kernel.setModelWeights(identityModels());
    kernel.channelCount = channels;
    kernel.initialize(rate);
    // The loop's exact arithmetic is checked without the DC blocker: a coefficient of 1
    // passes impulses and other sparse signals unchanged (on a dense signal the sum
    // y + y1 - x1 still rounds); its own tests turn it back on.
    kernel.dcBlockerCoefficient = 1.0f;
}

Channels silence(std::uint32_t channels, std::size_t frames) {
    return Channels(channels, std::vector<float>(frames, 0.0f));
}

Channels render(DSPKernel& kernel, const Channels& input, std::uint32_t outputs,
                std::uint32_t block) {
    const std::size_t frames = input.empty() ? 0 : input[0].size();
    Channels output = silence(outputs, frames);
    std::vector<const float*> in(input.size());
    std::vector<float*> out(outputs);
    for (std::size_t done = 0; done < frames;) {
        const auto n = std::uint32_t(std::min<std::size_t>(block, frames - done));
        for (std::size_t c = 0; c < input.size(); ++c)
            in[c] = input[c].data() + done;
        for (std::uint32_t c = 0; c < outputs; ++c)
            out[c] = output[c].data() + done;
        kernel.process(in.data(), std::uint32_t(in.size()), out.data(), outputs, n);
        done += n;
    }
    return output;
}

} // namespace kerneltest
