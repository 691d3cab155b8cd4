// DSPKernel: parameters, tempo, note times, models and the set-up life cycle.
#include "DSPKernel.h"

#include "KernelMath.h"

#include "BinaryData.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace kernelmath;

namespace {

constexpr float kNoteBeats[5] = {0.125f, 0.25f, 0.5f, 1.0f, 2.0f};
constexpr float kModelOutputGain[4] = {0.631f, 0.582f, 1.0f, 1.06f};
constexpr float kCompensationNegative[4] = {9.0f, 7.5f, 11.0f, 10.5f}; // dB per unit, dirt < 0
constexpr float kCompensationPositive[4] = {3.0f, 3.0f, 4.5f, 4.5f};   // dB per unit, dirt >= 0
constexpr float kMaxDelayMs = 5000.0f;
constexpr double kLineMs = 5125.0; // the longest time a line holds

} // namespace

DSPKernel::DSPKernel() {
    delayTime.timeMs = 400.0f;
    dryGain.target = std::cos(0.5f * pi / 2.0f);
    wetGain.target = std::sin(0.5f * pi / 2.0f);
    setMaxFramesToRender();
}

DSPKernel::~DSPKernel() {
    while (!modelProcessors.empty())
        modelProcessors.pop_back();
}

float DSPKernel::modelOutputGainOf(std::int32_t index) {
    return index >= 0 && index < kModelCount ? kModelOutputGain[index] : 1.0f;
}

// One-pole coefficient a = exp(-2 pi f / fs); 1 switches the low cut off.
float DSPKernel::lowCutCoefficientFor(float frequency) const {
    if (frequency <= 20.0f || sampleRate <= 0.0)
        return 1.0f; // off
    return std::exp(-2.0f * pi * frequency / float(sampleRate));
}

// One-pole coefficient a = exp(-2 pi f / fs); 0 switches the high cut off.
float DSPKernel::highCutCoefficientFor(float frequency) const {
    if (frequency >= 20000.0f)
        return 0.0f; // off
    if (sampleRate <= 0.0)
        return 1.0f;
    return std::exp(-2.0f * pi * frequency / float(sampleRate));
}

// C = 10^(-d * T[m] / 20), T by the sign of d, m clamped to 0...3.
float DSPKernel::compensationFor(float dirtAmount, std::int32_t modelIndex) const {
    const int m = std::clamp(modelIndex, 0, kModelCount - 1);
    const float dbPerUnit = dirtAmount < 0.0f ? kCompensationNegative[m] : kCompensationPositive[m];
    return std::pow(10.0f, -dirtAmount * dbPerUnit / 20.0f);
}

void DSPKernel::setParameter(AUParameterAddress address, AUValue value) {
    if (!std::isfinite(value))
        return;
    const float p = value * 0.01f;
    switch (address) {
    case mixAddress: {
        const float m = clamp(p, 0.0f, 1.0f);
        mix = m;
        dryGain.target = std::cos(m * pi / 2.0f); // equal power: cos / sin of m * pi/2
        wetGain.target = std::sin(m * pi / 2.0f);
        break;
    }
    case feedbackAddress:
        feedback = clamp(p, 0.0f, 1.5f);
        feedbackSmoother.target = feedback.load();
        break;
    case delayMsAddress:
        delayMs = clamp(value, 0.0f, kMaxDelayMs);
        // In note mode the glide target is the note time; the free time waits.
        if (delayType == 1u)
            delayTime.target = delayMs.load();
        break;
    case modDepthAddress:
        modDepth = clamp(value, 0.0f, 100.0f);
        depth.target = modDepth.load();
        break;
    case modRateAddress:
        modRate = clamp(value, 0.01f, 5.0f);
        rate.target = modRate.load();
        break;
    case lfoTypeAddress:
        lfoType = roundClamped(value, 0, 3);
        break;
    case widthAddress:
        width = clamp(p, -2.0f, 2.0f);
        widthSmoother.target = width.load();
        break;
    case modelAddress:
        setModel(truncSaturated(value));
        break;
    case spreadAddress:
        spread = clamp(value, -25.0f, 25.0f);
        spreadSmoother.target = spread.load();
        break;
    case lowCutAddress:
        lowCut = clamp(value, 20.0f, 20000.0f);
        lowCutCoefficient.target = lowCutCoefficientFor(lowCut);
        break;
    case highCutAddress:
        highCut = clamp(value, 20.0f, 20000.0f);
        highCutCoefficient.target = highCutCoefficientFor(highCut);
        break;
    case delayTypeAddress:
        delayType = std::round(value) != 0.0f ? 1u : 0u;
        break;
    case delayNoteAddress:
        delayNote = roundClamped(value, 0, 14);
        break;
    case dirtAddress:
        setDirt(value);
        break;
    default:
        return; // unknown address: nothing is stored
    }
    parameterValues[address] = value;
}

AUValue DSPKernel::getParameter(AUParameterAddress address) const {
    return address < AUParameterAddress(kParameterCount) ? parameterValues[address].load() : 0.0f;
}

void DSPKernel::setDirt(float percent) {
    const float d = clamp(finiteOrZero(percent) * 0.01f, -1.0f, 1.0f);
    dirt = d;
    writeDirtTargets(d);
}

void DSPKernel::writeDirtTargets(float d) {
    drive.target = std::pow(10.0f, d * (d < 0.0f ? 12.0f : 6.0f) / 20.0f); // -12...+6 dB
    compensation.target = compensationFor(d, requestedModel);
}

void DSPKernel::setModel(std::int32_t index) {
    if (index == requestedModel)
        return;
    requestedModel = index;
    compensation.target = compensationFor(dirt, index);
}

float DSPKernel::noteDelayMs(std::int32_t noteIndex) const {
    const int i = std::clamp(noteIndex, 0, 14);
    float beats = kNoteBeats[i % 5];
    if (i >= 5 && i <= 9)
        beats *= 1.5f; // dotted
    else if (i >= 10)
        beats *= 0.6666667f; // triplet
    const double t = tempo;
    const float bpm = t > 0.0 ? float(std::min(t, 1.0e6)) : 120.0f;
    return clamp(beats * 60000.0f / bpm, 0.0f, kMaxDelayMs); // ms = beats * 60000 / bpm
}

float DSPKernel::effectiveDelayMs() const {
    return delayType == 1u ? delayMs.load() : noteDelayMs(delayNote);
}

void DSPKernel::setMaxFramesToRender() {
    const std::size_t size = std::max<std::uint32_t>(maxFrames, 1);
    for (auto* buffer :
         {&inputLeftBuffer, &inputRightBuffer, &outputLeftBuffer, &outputRightBuffer})
        buffer->assign(size, 0.0f);
}

void DSPKernel::initialize(double newRate) {
    sampleRate = newRate;
    squareSlew = 2.0f / std::max(float(sampleRate) * 0.005f, 1.0f); // full swing of 2 in 5 ms
    shapeFadeLength = std::max(int(std::lround(sampleRate * 0.005)), 1);
    // One sample per sample is 1000 / fs ms per sample, reached over 0.025 fs samples.
    delayAcceleration = float(1000.0 / (sampleRate * sampleRate * 0.025));
    dcBlockerCoefficient = std::exp(-2.0f * pi * kDcBlockerHz / float(sampleRate));
    delayVelocity = 0.0f;
    allocateDelayLines();
    reset();
    for (ParameterSmoother* s :
         {&dryGain, &wetGain, &feedbackSmoother, &delayTime, &depth, &rate, &widthSmoother,
          &spreadSmoother, &lowCutCoefficient, &highCutCoefficient, &drive, &compensation})
        s->setup(sampleRate);
    for (LevelMeter* m : {&inputLeftMeter, &inputRightMeter, &outputLeftMeter, &outputRightMeter})
        m->sampleRate = float(sampleRate);
    setMaxFramesToRender();

    // Start every glide at its destination.
    dryGain.target = std::cos(mix * pi / 2.0f);
    wetGain.target = std::sin(mix * pi / 2.0f);
    feedbackSmoother.target = feedback.load();
    delayTime.target = effectiveDelayMs();
    delayTimePrimed = false;
    depth.target = modDepth.load();
    rate.target = modRate.load();
    widthSmoother.target = width.load();
    spreadSmoother.target = spread.load();
    lowCutCoefficient.target = lowCutCoefficientFor(lowCut);
    highCutCoefficient.target = highCutCoefficientFor(highCut);
    writeDirtTargets(dirt);
    for (ParameterSmoother* s :
         {&dryGain, &wetGain, &feedbackSmoother, &delayTime, &depth, &rate, &widthSmoother,
          &spreadSmoother, &lowCutCoefficient, &highCutCoefficient, &drive, &compensation})
        s->snap();
    buildModelProcessors();
}

void DSPKernel::allocateDelayLines() {
    // floor(fs * 5.125 s) + 4 samples, at least 8 (226,016 at 44.1 kHz).
    const std::uint32_t span = floorClamped(sampleRate * kLineMs * 0.001, 1u << 28);
    delayLineLength = std::max<std::uint32_t>(8, span + 4);
    delayLines.assign(channelCount, std::vector<float>(delayLineLength, 0.0f));
    for (auto* v : {&wetSamples, &lowCutInputs, &lowCutOutputs, &highCutOutputs, &dcBlockerInputs,
                    &dcBlockerOutputs})
        v->assign(channelCount, 0.0f);
    writeIndices.assign(channelCount, 0);
}

void DSPKernel::reset() {
    for (auto& line : delayLines)
        std::fill(line.begin(), line.end(), 0.0f);
    std::fill(writeIndices.begin(), writeIndices.end(), 0);
    for (auto* v :
         {&lowCutInputs, &lowCutOutputs, &highCutOutputs, &dcBlockerInputs, &dcBlockerOutputs})
        std::fill(v->begin(), v->end(), 0.0f);
    lfoPhase = 0.0f;
    squareValue = 1.0f;
    heardShape = lfoType;
    shapeFadeRemaining = 0;
    randomPrevious = nextRandom(randomState);
    randomNext = nextRandom(randomState);
}

void DSPKernel::setModelWeights(const ModelWeightSet& weights) {
    modelWeights = weights;
    modelWeightsReady = true;
}

void DSPKernel::buildModelProcessors() {
    while (!modelProcessors.empty())
        modelProcessors.pop_back();
    if (!modelWeightsReady) {
        // Each document is parsed once; every channel's bank shares the weights.
        const unsigned char* documents[kModelCount] = {
            BinaryData::model13_json, BinaryData::model12_json, BinaryData::model19_json,
            BinaryData::model18_json};
        const unsigned int sizes[kModelCount] = {
            BinaryData::model13_jsonSize, BinaryData::model12_jsonSize,
            BinaryData::model19_jsonSize, BinaryData::model18_jsonSize};
        for (int k = 0; k < kModelCount; ++k)
            modelWeights[k] = Korvane::parseModelWeights(documents[k], sizes[k]);
        modelWeightsReady = true;
    }
    const int frames = int(std::min<std::uint32_t>(maxFrames, 1u << 20));
    modelProcessors.reserve(channelCount);
    for (std::uint32_t c = 0; c < channelCount; ++c) {
        auto bank = std::make_unique<Korvane::MultiModelProcessor>(kModelCount, 1);
        bank->setupProcessing(sampleRate, frames);
        for (int k = 0; k < kModelCount; ++k)
            bank->loadModel(k, modelWeights[k]);
        modelProcessors.push_back(std::move(bank));
    }
    model = requestedModel;
    outputGain.snap(modelOutputGainOf(model));
    selectModel();
}

void DSPKernel::selectModel() {
    if (model < 0)
        return;
    for (auto& bank : modelProcessors)
        bank->setActiveModel(model, kModelFadeSamples);
}

void DSPKernel::applyModelRequest() {
    const std::int32_t wanted = requestedModel;
    if (wanted == model)
        return;
    model = wanted;
    outputGain.rampTo(modelOutputGainOf(model), kModelFadeSamples);
    selectModel();
}

void DSPKernel::GainRamp::rampTo(float gain, int samples) {
    if (samples < 1) {
        snap(gain);
        return;
    }
    target = gain;
    increment = (target - current) / float(samples);
    remaining = samples;
}

void DSPKernel::deInitialize() {
    delayLines.clear();
    writeIndices.clear();
    wetSamples.clear();
    lowCutInputs.clear();
    lowCutOutputs.clear();
    highCutOutputs.clear();
    dcBlockerInputs.clear();
    dcBlockerOutputs.clear();
    delayLineLength = 0;
    while (!modelProcessors.empty())
        modelProcessors.pop_back();
}

void DSPKernel::updateHostTempo() {
    if (!musicalContextBlock)
        return;
    double reported = 0.0;
    if (!musicalContextBlock(&reported, nullptr, nullptr, nullptr, nullptr, nullptr))
        return; // no context this cycle: the last tempo stays
    tempo = std::isfinite(reported) && reported > 0.0 ? reported : 120.0;
    constexpr double largest = std::numeric_limits<float>::max();
    hostTempo =
        std::isfinite(reported) ? float(std::clamp(reported, -largest, largest)) : float(reported);
}

void DSPKernel::processSegment(const float* const* inputs, std::uint32_t inputCount,
                               float* const* outputs, std::uint32_t outputCount,
                               std::uint32_t frames) {
    updateHostTempo();
    process(inputs, inputCount, outputs, outputCount, frames);
    publishMeters();
}

void DSPKernel::publishMeters() {
    // dB = 20 log10(level), -60 at or below 1e-5.
    auto toDb = [](float level) { return level <= 1e-5f ? -60.0f : 20.0f * std::log10(level); };
    inLevelDb[0] = toDb(inputLeftMeter.level);
    inLevelDb[1] = toDb(inputRightMeter.level);
    outLevelDb[0] = toDb(outputLeftMeter.level);
    outLevelDb[1] = toDb(outputRightMeter.level);
    inHoldDb[0] = toDb(inputLeftMeter.hold);
    inHoldDb[1] = toDb(inputRightMeter.hold);
    outHoldDb[0] = toDb(outputLeftMeter.hold);
    outHoldDb[1] = toDb(outputRightMeter.hold);
    meterIsStereo = isStereo ? 1u : 0u;
    metersUpdated.fetch_or(1u, std::memory_order_release);
}
