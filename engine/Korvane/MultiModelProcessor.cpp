#include "Korvane/MultiModelProcessor.h"

#include <algorithm>
#include <cmath>

namespace Korvane {

namespace {

// Gain of a fade-out record: start gain * remaining / length.
float fadeGain(float startGain, int remaining, int length) {
    return startGain * (float(remaining) / float(length));
}

} // namespace

MultiModelProcessor::MultiModelProcessor(int numModels, int numChannels) {
    const int count = std::max(numModels, 0);
    processors.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        processors.push_back(std::make_unique<ModelProcessor>(numChannels));
        processors.back()->setEnabled(false);
    }
    heardFrames.assign(std::size_t(count), 0);
    outputs.assign(std::size_t(count) * kMaxBlock, 0.0f);
    stopping.assign(std::size_t(count), 0);
}

MultiModelProcessor::~MultiModelProcessor() {
    while (!processors.empty())
        processors.pop_back();
}

void MultiModelProcessor::setupProcessing(double sampleRate, int maxFrames) {
    for (auto& p : processors)
        p->setupProcessing(sampleRate, maxFrames);
}

void MultiModelProcessor::loadModel(int index, const unsigned char* data, unsigned int size) {
    if (!validIndex(index))
        return;
    processors[std::size_t(index)]->loadModel(data, size);
    markLoaded(index);
}

void MultiModelProcessor::loadModel(int index, std::shared_ptr<const ModelWeights> weights) {
    if (!validIndex(index))
        return;
    processors[std::size_t(index)]->loadModel(std::move(weights));
    markLoaded(index);
}

bool MultiModelProcessor::validIndex(int index) const {
    return index >= 0 && index < int(processors.size());
}

float MultiModelProcessor::activeGain() const {
    // 1 - remaining / length, or 1 for a length below 1.
    return fadeInLength < 1 ? 1.0f : 1.0f - float(fadeInRemaining) / float(fadeInLength);
}

float MultiModelProcessor::fadeOutGain(int i) const {
    return fadeGain(fades[i].startGain, fades[i].remaining, fades[i].length);
}

void MultiModelProcessor::removeFade(int i) {
    fades[i] = fades[fadeOuts - 1];
    fades[fadeOuts - 1] = FadeOut{};
    --fadeOuts;
}

void MultiModelProcessor::setActiveModel(int index, int fadeSamples) {
    if (index == active)
        return;
    const int old = active;
    const bool retired = validIndex(old);
    if (retired) {
        const float g = activeGain();
        if (g <= 0.0f || fadeSamples < 1) {
            // Never became audible, or a switch without a fade: the old model stops at
            // once rather than sounding one more sample at full gain beside the new one.
            processors[std::size_t(old)]->setEnabled(false);
        } else {
            const int length = std::max(fadeSamples, 1);
            const FadeOut record{old, g, length, length};
            if (fadeOuts < 4) {
                fades[fadeOuts++] = record;
            } else {
                // Replace the quietest fade-out (the first on a tie), which stops at once.
                int quietest = 0;
                for (int i = 1; i < 4; ++i)
                    if (fadeOutGain(i) < fadeOutGain(quietest))
                        quietest = i;
                processors[std::size_t(fades[quietest].model)]->setEnabled(false);
                fades[quietest] = record;
            }
        }
    }
    active = index;
    fadeInLength = fadeSamples;
    if (!validIndex(index)) {
        fadeInRemaining = 0;
        return;
    }
    for (int i = 0; i < fadeOuts; ++i) {
        if (fades[i].model != index)
            continue;
        // Resume from the fading gain, keeping the model's state.
        const float g = fadeOutGain(i);
        removeFade(i);
        const float remaining = std::round(std::clamp(1.0f - g, 0.0f, 1.0f) * float(fadeSamples));
        fadeInRemaining = std::clamp(int(remaining), 0, std::max(fadeSamples, 0));
        processors[std::size_t(index)]->setEnabled(true);
        return;
    }
    ModelProcessor& next = *processors[std::size_t(index)];
    next.reset();
    fadeInRemaining = retired ? fadeSamples : 0; // the first selection is heard at once
    next.setEnabled(true);
}

int MultiModelProcessor::nextVoices(Voice* voices) {
    int count = 0;
    if (validIndex(active) && loaded(active)) {
        voices[count++] = {active, activeGain()}; // the gain before the decrement
        if (fadeInRemaining >= 1)
            --fadeInRemaining;
    } else if (fadeOuts == 0) {
        return -1; // dry
    }
    for (int i = 0; i < fadeOuts; ++i) {
        FadeOut& f = fades[i];
        voices[count++] = {f.model, fadeGain(f.startGain, f.remaining, f.length)};
        if (f.remaining >= 1)
            --f.remaining;
    }
    return count;
}

void MultiModelProcessor::retireFinishedFades() {
    for (int i = fadeOuts - 1; i >= 0; --i) {
        if (fades[i].remaining < 1) {
            stopping[std::size_t(fades[i].model)] = 1;
            removeFade(i);
        }
    }
}

void MultiModelProcessor::planBlock(int frames) {
    std::fill(heardFrames.begin(), heardFrames.end(), 0);
    for (int i = 0; i < frames; ++i) {
        Voice* voices = planned[i];
        const int count = nextVoices(voices);
        plannedCounts[i] = count;
        for (int k = 0; k < count; ++k)
            heardFrames[std::size_t(voices[k].model)] = i + 1;
        retireFinishedFades();
    }
}

void MultiModelProcessor::mixBlock(const float* x, float* y, int frames) {
    for (int i = 0; i < frames; ++i) {
        const int count = plannedCounts[i];
        if (count < 0) {
            y[i] = x[i];
            continue;
        }
        float out = 0.0f;
        for (int k = 0; k < count; ++k) {
            const Voice& v = planned[i][k];
            out += outputs[std::size_t(v.model) * kMaxBlock + std::size_t(i)] * v.gain;
        }
        y[i] = out;
    }
    for (std::size_t m = 0; m < stopping.size(); ++m) {
        if (stopping[m] != 0)
            processors[m]->setEnabled(false);
        stopping[m] = 0;
    }
}

void MultiModelProcessor::runModel(MultiModelProcessor& a, const float* xa, MultiModelProcessor* b,
                                   const float* xb, int m) {
    const std::size_t model = std::size_t(m);
    ModelProcessor& pa = *a.processors[model];
    float* ya = a.outputs.data() + model * kMaxBlock;
    const int heardA = a.heardFrames[model];
    int i = 0;
    if (b != nullptr && model < b->processors.size()) {
        ModelProcessor& pb = *b->processors[model];
        float* yb = b->outputs.data() + model * kMaxBlock;
        const int heardB = b->heardFrames[model];
        for (; i < std::min(heardA, heardB); ++i)
            ModelProcessor::processSamplePair(pa, xa[i], pb, xb[i], ya[i], yb[i]);
        for (int j = i; j < heardB; ++j)
            yb[j] = pb.processSample(xb[j]);
    }
    for (; i < heardA; ++i)
        ya[i] = pa.processSample(xa[i]);
}

float MultiModelProcessor::processSample(float x) {
    float y;
    processBlock(&x, &y, 1);
    return y;
}

void MultiModelProcessor::processBlock(const float* x, float* y, int frames) {
    planBlock(frames);
    for (int m = 0; m < int(processors.size()); ++m)
        runModel(*this, x, nullptr, nullptr, m);
    mixBlock(x, y, frames);
}

void MultiModelProcessor::processSamplePair(MultiModelProcessor& a, float xa,
                                            MultiModelProcessor& b, float xb, float& ya,
                                            float& yb) {
    processBlockPair(a, &xa, b, &xb, &ya, &yb, 1);
}

void MultiModelProcessor::processBlockPair(MultiModelProcessor& a, const float* xa,
                                           MultiModelProcessor& b, const float* xb, float* ya,
                                           float* yb, int frames) {
    if (&a == &b) { // one bank: its samples in turn
        for (int i = 0; i < frames; ++i) {
            a.processBlock(xa + i, ya + i, 1);
            a.processBlock(xb + i, yb + i, 1);
        }
        return;
    }
    a.planBlock(frames);
    b.planBlock(frames);
    const int models = int(std::max(a.processors.size(), b.processors.size()));
    for (int m = 0; m < models; ++m) {
        if (m < int(a.processors.size()))
            runModel(a, xa, &b, xb, m);
        else
            runModel(b, xb, nullptr, nullptr, m);
    }
    a.mixBlock(xa, ya, frames);
    b.mixBlock(xb, yb, frames);
}

} // namespace Korvane
