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
            processors[std::size_t(fades[i].model)]->setEnabled(false);
            removeFade(i);
        }
    }
}

float MultiModelProcessor::processSample(float x) {
    Voice voices[kMaxVoices];
    const int count = nextVoices(voices);
    if (count < 0)
        return x;
    float y[kMaxVoices];
    for (int j = 0; j < count; ++j) {
        const int k = nextVoiceInRunOrder(j, count);
        y[k] = processors[std::size_t(voices[k].model)]->processSample(x);
    }
    float out = 0.0f;
    for (int k = 0; k < count; ++k)
        out += y[k] * voices[k].gain;
    retireFinishedFades();
    return out;
}

int MultiModelProcessor::nextVoiceInRunOrder(int j, int count) {
    if (j == 0)
        runBackwards = !runBackwards;
    return runBackwards ? count - 1 - j : j;
}

void MultiModelProcessor::processSamplePair(MultiModelProcessor& a, float xa,
                                            MultiModelProcessor& b, float xb, float& ya,
                                            float& yb) {
    if (&a == &b) {
        ya = a.processSample(xa);
        yb = b.processSample(xb);
        return;
    }
    Voice va[kMaxVoices], vb[kMaxVoices];
    const int na = a.nextVoices(va);
    const int nb = b.nextVoices(vb);
    // Voices the two banks play with the same model step together; the rest alone.
    float ra[kMaxVoices], rb[kMaxVoices];
    const int count = std::max(na, nb);
    for (int j = 0; j < count; ++j) {
        const int k = a.nextVoiceInRunOrder(j, count);
        if (k < na && k < nb && va[k].model == vb[k].model) {
            ModelProcessor::processSamplePair(*a.processors[std::size_t(va[k].model)], xa,
                                              *b.processors[std::size_t(vb[k].model)], xb, ra[k],
                                              rb[k]);
            continue;
        }
        if (k < na)
            ra[k] = a.processors[std::size_t(va[k].model)]->processSample(xa);
        if (k < nb)
            rb[k] = b.processors[std::size_t(vb[k].model)]->processSample(xb);
    }
    // Mixed in voice order, as processSample mixes.
    float outA = 0.0f, outB = 0.0f;
    for (int k = 0; k < na; ++k)
        outA += ra[k] * va[k].gain;
    for (int k = 0; k < nb; ++k)
        outB += rb[k] * vb[k].gain;
    ya = na < 0 ? xa : outA;
    yb = nb < 0 ? xb : outB;
    a.retireFinishedFades();
    b.retireFinishedFades();
}

} // namespace Korvane
