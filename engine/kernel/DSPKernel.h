#pragma once
// The delay kernel: parameter targets and their smoothers, one modulated
// fractional delay line and one bank of neural delay-line models per channel,
// feedback, low and high cut outside the loop, stereo width, equal-power mix and
// level meters.
//
// Threads:
// - setParameter / getParameter / setDirt / setModel: any thread (the main thread
//   and the render thread both write parameters); real-time safe.
// - initialize, allocateDelayLines, reset, buildModelProcessors, setModelWeights,
//   setMaxFramesToRender, deInitialize: the set-up thread, only while nothing
//   renders; they allocate.
// - process, processSegment, updateHostTempo, publishMeters: the render thread;
//   real-time safe (no allocation, lock or system call).
// Fields that cross threads are relaxed atomics (Relaxed<T>); the published meter
// block is released by metersUpdated.

#include "LevelMeter.h"
#include "ParameterSmoother.h"
#include "Relaxed.h"

#include "AudioToolbox/AudioTypes.h"
#include "AudioToolbox/RenderBlocks.h"
#include "Korvane/ModelWeights.h"
#include "Korvane/MultiModelProcessor.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class DSPKernel {
  public:
    static constexpr int kParameterCount = 14;
    static constexpr int kModelCount = 4;
    static constexpr int kModelFadeSamples = 2048;
    static constexpr std::uint32_t kMaxChannels = 8;
    // What may be written into a delay line: keeps runaway feedback bounded.
    static constexpr float kLineLimit = 8.0f;
    // Corner of the DC blocker in the feedback path, two octaves below the lowest low cut.
    static constexpr float kDcBlockerHz = 5.0f;

    using ModelWeightSet = std::array<std::shared_ptr<const Korvane::ModelWeights>, kModelCount>;
    using ParameterCallback = void (*)(void* context, AUParameterAddress address, AUValue value);

    enum Address : AUParameterAddress {
        mixAddress = 0,
        feedbackAddress,
        delayMsAddress,
        modDepthAddress,
        modRateAddress,
        lfoTypeAddress,
        widthAddress,
        modelAddress,
        spreadAddress,
        lowCutAddress,
        highCutAddress,
        delayTypeAddress,
        delayNoteAddress,
        dirtAddress,
    };

    DSPKernel();
    ~DSPKernel();
    DSPKernel(const DSPKernel&) = delete;
    DSPKernel& operator=(const DSPKernel&) = delete;

    // Any thread. Clamps and stores one parameter; NaN and infinities are ignored,
    // unknown addresses too.
    void setParameter(AUParameterAddress address, AUValue value);
    // Any thread. The raw value last given for the address (0 before any).
    AUValue getParameter(AUParameterAddress address) const;
    // Any thread. Delay time of a note division at the current tempo, 0...5000 ms.
    float noteDelayMs(std::int32_t noteIndex) const;
    // Any thread. delayMs in millisecond mode, else the note time.
    float effectiveDelayMs() const;
    // Any thread. Drive and compensation targets from a dirt percentage.
    void setDirt(float percent);
    // Any thread. Requests a model; the render thread switches the banks at the
    // start of its next process call, so a switch never overlaps a sample.
    void setModel(std::int32_t index);

    // Set-up thread.
    void setMaxFramesToRender();
    void initialize(double rate);
    void allocateDelayLines();
    void reset();
    void buildModelProcessors();
    // Replaces the four models the banks load (default: the embedded documents,
    // parsed on first use and kept); null entries are failed loads.
    void setModelWeights(const ModelWeightSet& weights);
    void deInitialize();

    // Render thread, real-time safe. Renders `frames` frames of non-interleaved
    // audio; at most kMaxChannels inputs and outputs are used.
    void process(const float* const* inputs, std::uint32_t inputCount, float* const* outputs,
                 std::uint32_t outputCount, std::uint32_t frames);
    // Render thread: the host tempo, process, then publishMeters.
    void processSegment(const float* const* inputs, std::uint32_t inputCount, float* const* outputs,
                        std::uint32_t outputCount, std::uint32_t frames);
    void updateHostTempo();
    void publishMeters();

    // Render thread (or tests between calls): the model output gain now applied.
    float modelOutputGain() const { return outputGain.current; }
    static float modelOutputGainOf(std::int32_t model);

    // ---- Parameters (targets written by any thread) ----
    Relaxed<float> mix{0.5f};
    Relaxed<float> feedback{0.35f};
    Relaxed<float> delayMs{350.0f};
    Relaxed<std::uint32_t> delayType{0};
    Relaxed<std::int32_t> delayNote{3};
    Relaxed<double> tempo{120.0}; // written by the render thread
    Relaxed<float> modDepth{0.0f};
    Relaxed<float> modRate{0.5f};
    Relaxed<std::int32_t> lfoType{0};
    Relaxed<float> width{1.0f};
    Relaxed<float> spread{0.0f};
    Relaxed<float> lowCut{20.0f};
    Relaxed<float> highCut{20000.0f};
    Relaxed<float> dirt{0.0f};
    // The model the banks play (render thread) and the one last requested (any).
    std::int32_t model = -1;
    Relaxed<std::int32_t> requestedModel{-1};
    bool delayTimePrimed = false;
    // The delay time's glide speed in ms per sample, and the most it changes per sample:
    // the read speed changes by at most one sample per sample (an octave up or down)
    // per 25 ms, so a new delay time starts its glide without a jump in pitch.
    float delayVelocity = 0.0f;
    float delayAcceleration = 0.0f;

    ParameterSmoother dryGain, wetGain, feedbackSmoother, delayTime, depth, rate, widthSmoother,
        spreadSmoother, lowCutCoefficient, highCutCoefficient, drive, compensation;

    LevelMeter inputLeftMeter, inputRightMeter, outputLeftMeter, outputRightMeter;
    std::vector<float> inputLeftBuffer, inputRightBuffer, outputLeftBuffer, outputRightBuffer;
    bool isStereo = true;

    std::vector<std::unique_ptr<Korvane::MultiModelProcessor>> modelProcessors;
    double sampleRate = 44100.0;
    Relaxed<bool> bypass{false};
    std::uint32_t maxFrames = 1024;
    std::uint32_t channelCount = 2;

    std::uint32_t delayLineLength = 0;
    std::vector<std::vector<float>> delayLines;
    std::vector<std::uint32_t> writeIndices;
    std::vector<float> wetSamples;
    std::vector<float> lowCutInputs;
    std::vector<float> lowCutOutputs;
    std::vector<float> highCutOutputs;
    // Per channel, the previous input and output of the DC blocker in the feedback path:
    // a one-pole high-pass at kDcBlockerHz on the model's output, so that whatever DC a
    // model makes of loud asymmetric overload cannot pile up around the loop.
    std::vector<float> dcBlockerInputs;
    std::vector<float> dcBlockerOutputs;
    float dcBlockerCoefficient = 1.0f;

    float lfoPhase = 0.0f;
    float squareValue = 1.0f;
    // A change of the LFO shape crossfades the delay reads of the old shape into those
    // of the new one over 5 ms (the square's own swing), rather than jumping the read
    // position. Render thread only.
    std::int32_t heardShape = 0;
    std::int32_t fadingShape = 0;
    int shapeFadeRemaining = 0;
    int shapeFadeLength = 1;
    float squareSlew = 1.0f;
    float randomPrevious = 0.0f;
    float randomNext = 0.0f;
    std::uint32_t randomState = 0x12345678u;

    // ---- Published meter block (render thread writes, editor reads) ----
    Relaxed<float> inLevelDb[2] = {0.0f, 0.0f};
    Relaxed<float> outLevelDb[2] = {0.0f, 0.0f};
    Relaxed<float> inHoldDb[2] = {0.0f, 0.0f};
    Relaxed<float> outHoldDb[2] = {0.0f, 0.0f};
    Relaxed<std::uint32_t> meterIsStereo{1};
    std::atomic<std::uint32_t> metersUpdated{0};

    Relaxed<float> parameterValues[kParameterCount] = {};
    Relaxed<float> hostTempo{0.0f};
    AUHostMusicalContextBlock musicalContextBlock;
    ParameterCallback parameterCallback = nullptr;
    void* parameterCallbackContext = nullptr;

  private:
    // Linear ramp of the model output gain across a model crossfade.
    struct GainRamp {
        float current = 1.0f;
        float target = 1.0f;
        float increment = 0.0f;
        int remaining = 0;
        void snap(float gain) {
            current = target = gain;
            remaining = 0;
        }
        void rampTo(float gain, int samples);
        // The gain for this sample, then one step on (g_i = g0 + (g1 - g0) i / N).
        float next() {
            const float gain = current;
            if (remaining > 0) {
                current = --remaining == 0 ? target : current + increment;
            }
            return gain;
        }
    };

    float lowCutCoefficientFor(float frequency) const;
    float highCutCoefficientFor(float frequency) const;
    float compensationFor(float dirtAmount, std::int32_t modelIndex) const;
    void writeDirtTargets(float dirtAmount);
    void selectModel();
    void applyModelRequest();
    void copyThrough(const float* const* inputs, std::uint32_t inputCount, float* const* outputs,
                     std::uint32_t outputCount, std::uint32_t frames);
    void processBlock(const float* const* inputs, std::uint32_t inputCount, float* const* outputs,
                      std::uint32_t outputCount, std::uint32_t frames);
    // pendingModelOut[c] = channel c's bank on pendingModelIn[c] for the batch's frames,
    // the channels two by two (render thread).
    void runModels(std::uint32_t channels, std::uint32_t frames);
    float lfoValue(std::int32_t shape);
    // Channel's read for a frame whose write slot is writeIndex.
    float readDelay(std::int32_t shape, std::uint32_t channel, std::uint32_t writeIndex,
                    std::uint32_t processed, float lfo, float delayTimeMs, float depthMs,
                    float spreadMs) const;
    float readDelayTap(std::uint32_t channel, std::uint32_t writeIndex, float delaySamples) const;
    float delayPosition(float timeMs) const;
    void advanceLfo();
    void drawRandom();

    // A batch of frames whose model inputs are read and whose models have yet to run
    // (render thread; see processBlock): each frame's inputs and settings.
    static constexpr std::uint32_t kModelBatch = Korvane::MultiModelProcessor::kMaxBlock;
    struct PendingFrame {
        float x[kMaxChannels];
        float W, gd, gw, F, L, H, C, G;
    };
    PendingFrame pending[kModelBatch] = {};
    float pendingModelIn[kMaxChannels][kModelBatch] = {};
    float pendingModelOut[kMaxChannels][kModelBatch] = {};

    GainRamp outputGain;
    ModelWeightSet modelWeights;
    bool modelWeightsReady = false;
};
