#include "Korvane/ModelProcessor.h"

#include "Korvane/ModelNetwork.h"
#include "Korvane/Resampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace Korvane {

namespace {

constexpr float kGuardLimit = 0.95f;

// Output gate keyed by the dry input: an attack/release envelope follower, and below the
// threshold a gain falling linearly from 1 to the floor.
struct Gate {
    float threshold = 1.0f;
    float floor = 0.001f;
    float attack = 0.0f;
    float release = 0.0f;
    float envelope = 0.0f;

    // env = a + coef (env - a), a = |dry|; y *= (env / threshold)(1 - floor) + floor below it.
    float apply(float dry, float y) {
        const float a = std::fabs(dry);
        const float coef = a > envelope ? attack : release;
        envelope = a + coef * (envelope - a);
        if (envelope < threshold)
            y *= (envelope / threshold) * (1.0f - floor) + floor;
        return y;
    }
};

// Scales the network's input to a peak of at most 0.95, changing gain only at a zero
// crossing so the change makes no click.
struct Guard {
    float gain = 1.0f;
    float last = 0.0f;

    void apply(std::vector<float>& block, float target) {
        if (block.empty())
            return;
        const std::size_t n = block.size();
        // k = first index whose sample has the opposite sign of the one before it.
        std::size_t k = 0;
        if (last != 0.0f) {
            float previous = last;
            while (k < n && !(previous * block[k] < 0.0f))
                previous = block[k++];
        }
        for (std::size_t i = 0; i < k; ++i)
            block[i] *= gain;
        for (std::size_t i = k; i < n; ++i)
            block[i] *= target;
        gain = target;
        last = block[n - 1];
    }
};

struct Channel {
    std::unique_ptr<ModelNetwork> network; // absent until the first load
    Gate gate;
    Guard guard;
    InputResampler inputResampler;
    OutputResampler outputResampler;
    std::vector<float> modelInput;
    std::vector<float> modelOutput;
    std::vector<float> hostOutput;

    void clearResampling() {
        inputResampler.clear();
        outputResampler.clear();
        modelInput.clear();
    }
};

void copyThrough(const float* in, float* out, int frames) {
    if (in != nullptr && out != nullptr && in != out && frames > 0)
        std::memmove(out, in, sizeof(float) * std::size_t(frames));
}

} // namespace

struct ModelProcessor::State {
    bool loaded = false;
    bool enabled = true;
    double sampleRate = kModelRate;
    int channelCount = 1;
    Channel channels[2];

    bool resampling() const { return std::fabs(sampleRate - kModelRate) > 1e-6; }
};

ModelProcessor::ModelProcessor(int numChannels) : state(std::make_unique<State>()) {
    state->channelCount = std::clamp(numChannels, 1, 2);
}

ModelProcessor::~ModelProcessor() = default;

void ModelProcessor::loadModel(const unsigned char* data, unsigned int size) {
    loadModel(parseModelWeights(data, size));
}

void ModelProcessor::loadModel(std::shared_ptr<const ModelWeights> weights) {
    State& s = *state;
    if (weights) {
        for (int c = 0; c < s.channelCount; ++c) {
            Channel& ch = s.channels[c];
            if (!ch.network)
                ch.network = std::make_unique<ModelNetwork>();
            ch.network->setWeights(weights); // zeroes the hidden state
        }
    }
    s.loaded = weights != nullptr;
    s.enabled = true;
}

bool ModelProcessor::isLoaded() const {
    return state->loaded;
}

void ModelProcessor::setupProcessing(double sampleRate, int maxFrames) {
    State& s = *state;
    s.sampleRate = sampleRate;
    const float fs = float(sampleRate);
    const int frames = std::max(maxFrames, 0);
    // B: model-rate samples one block of maxFrames can produce, with margin.
    const std::size_t b =
        std::size_t(std::ceil(kModelRate / std::max(sampleRate, 1.0) * frames)) + 16;
    std::size_t ring = 64;
    while (ring < 2 * b + 8)
        ring *= 2;
    for (int c = 0; c < s.channelCount; ++c) {
        Channel& ch = s.channels[c];
        ch.gate.threshold = 0.0031622776f; // -50 dB
        ch.gate.floor = 0.001f;
        ch.gate.attack = std::exp(-1.0f / (fs * 0.002f));
        ch.gate.release = std::exp(-1.0f / (fs * 0.1f));
        ch.gate.envelope = 0.0f;
        ch.inputResampler.clear();
        ch.modelInput.clear();
        ch.modelInput.reserve(b);
        ch.modelOutput.resize(b);
        ch.hostOutput.resize(std::size_t(frames));
        ch.outputResampler.allocate(ring);
    }
}

void ModelProcessor::reset() {
    State& s = *state;
    for (int c = 0; c < s.channelCount; ++c) {
        Channel& ch = s.channels[c];
        ch.clearResampling();
        if (ch.network)
            ch.network->resetState();
        ch.gate.envelope = 0.0f;
        ch.guard = Guard{};
    }
}

namespace {

// Fills the model-rate output of a channel from its model-rate input: y = x + net(x).
void runNetwork(Channel& ch) {
    const std::size_t n = ch.modelInput.size();
    if (ch.modelOutput.size() < n)
        ch.modelOutput.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const float x = ch.modelInput[i];
        ch.modelOutput[i] = ch.network ? x + ch.network->step(x) : x;
    }
}

// The same for two channels at once: the samples both have are stepped in pairs (one
// pass over shared weights serves both), the rest one by one. Each channel's result is
// what runNetwork would give it.
void runNetworks(Channel& a, Channel& b) {
    if (!a.network || !b.network) {
        runNetwork(a);
        runNetwork(b);
        return;
    }
    const std::size_t na = a.modelInput.size(), nb = b.modelInput.size();
    if (a.modelOutput.size() < na)
        a.modelOutput.resize(na);
    if (b.modelOutput.size() < nb)
        b.modelOutput.resize(nb);
    const std::size_t both = std::min(na, nb);
    for (std::size_t i = 0; i < both; ++i) {
        const float xa = a.modelInput[i], xb = b.modelInput[i];
        ModelNetwork::stepPair(*a.network, xa, *b.network, xb);
        a.modelOutput[i] = xa + a.network->output();
        b.modelOutput[i] = xb + b.network->output();
    }
    for (std::size_t i = both; i < na; ++i)
        a.modelOutput[i] = a.modelInput[i] + a.network->step(a.modelInput[i]);
    for (std::size_t i = both; i < nb; ++i)
        b.modelOutput[i] = b.modelInput[i] + b.network->step(b.modelInput[i]);
}

} // namespace

// Resamples (or passes) the input, applies the level guard, and tells whether the
// networks run: false when the processor passed its input through instead.
bool ModelProcessor::prepare(const float** inputs, float** outputs, int frames) {
    State& s = *state;
    const int channels = s.channelCount;
    if (!s.loaded) {
        for (int c = 0; c < channels; ++c)
            copyThrough(inputs[c], outputs[c], frames);
        return false;
    }
    const bool resampling = s.resampling();

    // Model-rate input of every channel.
    for (int c = 0; c < channels; ++c) {
        Channel& ch = s.channels[c];
        ch.modelInput.clear();
        if (inputs[c] == nullptr || frames < 1)
            continue;
        if (resampling)
            ch.inputResampler.process(inputs[c], frames, s.sampleRate, ch.modelInput);
        else
            ch.modelInput.assign(inputs[c], inputs[c] + frames);
    }

    // Level guard: G = 0.95 / P above a peak P of 0.95 over all channels, else 1.
    float peak = 0.0f;
    for (int c = 0; c < channels; ++c)
        for (float v : s.channels[c].modelInput)
            peak = std::max(peak, std::fabs(v));
    const float target = peak > kGuardLimit ? kGuardLimit / peak : 1.0f;
    for (int c = 0; c < channels; ++c)
        s.channels[c].guard.apply(s.channels[c].modelInput, target);

    if (!s.enabled) {
        for (int c = 0; c < channels; ++c)
            copyThrough(inputs[c], outputs[c], frames);
        return false;
    }
    // A channel without input or output is skipped: nothing for its network to do.
    for (int c = 0; c < channels; ++c)
        if (inputs[c] == nullptr || outputs[c] == nullptr)
            s.channels[c].modelInput.clear();
    return true;
}

// Resamples the model-rate output back to the host rate and gates it into the output.
void ModelProcessor::finish(const float** inputs, float** outputs, int frames) {
    State& s = *state;
    for (int c = 0; c < s.channelCount; ++c) {
        Channel& ch = s.channels[c];
        const float* in = inputs[c];
        float* out = outputs[c];
        if (in == nullptr || out == nullptr)
            continue;
        const std::size_t n = ch.modelInput.size();
        const float* y = nullptr;
        if (s.resampling()) {
            if (ch.hostOutput.size() < std::size_t(frames))
                ch.hostOutput.resize(std::size_t(frames));
            ch.outputResampler.process(ch.modelOutput.data(), int(n), ch.hostOutput.data(), frames,
                                       s.sampleRate);
            y = ch.hostOutput.data();
        } else if (n >= std::size_t(frames)) {
            y = ch.modelOutput.data();
        }
        if (y == nullptr)
            continue;
        for (int i = 0; i < frames; ++i)
            out[i] = ch.gate.apply(in[i], y[i]);
    }
}

void ModelProcessor::processStereo(const float** inputs, float** outputs, int frames) {
    if (!prepare(inputs, outputs, frames))
        return;
    State& s = *state;
    if (s.channelCount == 2)
        runNetworks(s.channels[0], s.channels[1]);
    else
        runNetwork(s.channels[0]);
    finish(inputs, outputs, frames);
}

float ModelProcessor::processSample(float x) {
    float out = x;
    const float* inputs[2] = {&x, nullptr};
    float* outputs[2] = {&out, nullptr};
    processStereo(inputs, outputs, 1);
    return out;
}

void ModelProcessor::processSamplePair(ModelProcessor& a, float xa, ModelProcessor& b, float xb,
                                       float& ya, float& yb) {
    ya = xa;
    yb = xb;
    if (&a == &b) { // one processor is one channel's state: no pair
        ya = a.processSample(xa);
        yb = b.processSample(xb);
        return;
    }
    const float* inA[2] = {&xa, nullptr};
    const float* inB[2] = {&xb, nullptr};
    float* outA[2] = {&ya, nullptr};
    float* outB[2] = {&yb, nullptr};
    const bool runA = a.prepare(inA, outA, 1);
    const bool runB = b.prepare(inB, outB, 1);
    if (runA && runB) {
        runNetworks(a.state->channels[0], b.state->channels[0]);
    } else {
        if (runA)
            runNetwork(a.state->channels[0]);
        if (runB)
            runNetwork(b.state->channels[0]);
    }
    if (runA)
        a.finish(inA, outA, 1);
    if (runB)
        b.finish(inB, outB, 1);
}

void ModelProcessor::setEnabled(bool enabled) {
    state->enabled = enabled;
}

bool ModelProcessor::isEnabled() const {
    return state->enabled;
}

} // namespace Korvane
