// DSPKernel: per-sample processing (render thread, real-time safe).
#include "DSPKernel.h"

#include "KernelMath.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace kernelmath;

namespace {

void copySamples(float* destination, const float* source, std::uint32_t frames) {
    if (destination != source && frames != 0)
        std::memmove(destination, source, std::size_t(frames) * sizeof(float));
}

// What goes into a delay line: NaN becomes 0, the rest is held within +-limit.
float lineSample(float v, float limit) {
    return std::isnan(v) ? 0.0f : clamp(v, -limit, limit);
}

} // namespace

void DSPKernel::process(const float* const* inputs, std::uint32_t inputCount, float* const* outputs,
                        std::uint32_t outputCount, std::uint32_t frames) {
    if (inputCount == 0 || outputCount == 0 || !inputs || !outputs)
        return;
    inputCount = std::min(inputCount, kMaxChannels);
    outputCount = std::min(outputCount, kMaxChannels);
    applyModelRequest();

    const std::uint32_t capacity = std::uint32_t(inputLeftBuffer.size());
    if (frames <= capacity) {
        processBlock(inputs, inputCount, outputs, outputCount, frames);
        return;
    }
    // Longer than the meter buffers (a caller past maxFrames): in pieces.
    const float* in[kMaxChannels];
    float* out[kMaxChannels];
    for (std::uint32_t done = 0; done < frames;) {
        const std::uint32_t n = std::min(capacity, frames - done);
        for (std::uint32_t k = 0; k < inputCount; ++k)
            in[k] = inputs[k] + done;
        for (std::uint32_t k = 0; k < outputCount; ++k)
            out[k] = outputs[k] + done;
        processBlock(in, inputCount, out, outputCount, n);
        done += n;
    }
}

void DSPKernel::copyThrough(const float* const* inputs, std::uint32_t inputCount,
                            float* const* outputs, std::uint32_t outputCount,
                            std::uint32_t frames) {
    const float* left = inputs[0];
    const float* right = inputs[inputCount < 2 ? 0 : 1];
    copySamples(inputLeftBuffer.data(), left, frames);
    copySamples(inputRightBuffer.data(), right, frames);
    // Outputs may be the input buffers themselves (memmove, self-copies skipped).
    for (std::uint32_t c = 0; c < outputCount; ++c)
        copySamples(outputs[c], inputs[std::min(inputCount - 1, c)], frames);
    inputLeftMeter.update(inputLeftBuffer.data(), int(frames));
    inputRightMeter.update(inputRightBuffer.data(), int(frames));
    outputLeftMeter.update(inputLeftBuffer.data(), int(frames));
    outputRightMeter.update(inputRightBuffer.data(), int(frames));
}

void DSPKernel::processBlock(const float* const* inputs, std::uint32_t inputCount,
                             float* const* outputs, std::uint32_t outputCount,
                             std::uint32_t frames) {
    const std::uint32_t n = std::min<std::uint32_t>(
        {std::uint32_t(modelProcessors.size()), std::uint32_t(delayLines.size()), outputCount});
    isStereo = outputCount >= 2;
    if (bypass || n == 0) {
        copyThrough(inputs, inputCount, outputs, outputCount, frames);
        return;
    }

    const float goal = effectiveDelayMs();
    if (!delayTimePrimed) {
        delayTime.current = goal;
        delayVelocity = 0.0f;
        delayTimePrimed = true;
    }
    delayTime.target = goal;

    const std::uint32_t rightInput = inputCount < 2 ? 0 : 1;
    const std::uint32_t rightOutput = n < 2 ? 0 : 1;
    const float limit = kLineLimit;

    // The frames run in batches: first each frame's settings and model inputs are read,
    // then the models run through the whole batch (each model's weights stay in the
    // cache from one frame to the next), then the lines are written and the outputs
    // made. A frame joins the batch only if its reads lie wholly before the slots the
    // batch's frames will write, so every read sees what it would frame by frame and
    // the output is the same bit for bit.
    std::uint32_t first = 0; // the batch's first frame
    std::uint32_t count = 0; // frames in the batch
    const auto finishBatch = [&] {
        runModels(n, count);
        for (std::uint32_t j = 0; j < count; ++j) {
            const PendingFrame& f = pending[j];
            const std::uint32_t i = first + j;
            for (std::uint32_t c = 0; c < n; ++c) {
                float y = finiteOrZero(f.C * (pendingModelOut[c][j] * f.G)); // y = C (y G)
                { // DC blocker: y = R (y + y1 - x1)
                    const float blocked =
                        dcBlockerCoefficient * (y + dcBlockerOutputs[c] - dcBlockerInputs[c]);
                    dcBlockerInputs[c] = y;
                    dcBlockerOutputs[c] = blocked;
                    y = blocked;
                }
                float* line = delayLines[c].data();
                std::uint32_t& w = writeIndices[c];
                line[w] = lineSample(f.x[c] + y * f.F, limit); // line <- x + y F
                if (f.L < 1.0f) {                              // low cut: y = L (y + y1 - x1)
                    const float t = y + lowCutOutputs[c] - lowCutInputs[c];
                    lowCutInputs[c] = y;
                    y = f.L * t;
                    lowCutOutputs[c] = y;
                }
                if (f.H > 0.0f) { // high cut: y = (1-H) y + H y1
                    y = (1.0f - f.H) * y + f.H * highCutOutputs[c];
                    highCutOutputs[c] = y;
                }
                wetSamples[c] = y;
                w = w + 1 == delayLineLength ? 0 : w + 1;
            }
            if (n >= 2) { // width: mid = (a+b)/2, side = W (a-b)/2; a = mid+side, b = mid-side
                const float a = wetSamples[0];
                const float b = wetSamples[1];
                const float mid = (a + b) * 0.5f;
                const float side = f.W * (a - b) * 0.5f;
                wetSamples[0] = mid + side;
                wetSamples[1] = mid - side;
            }
            for (std::uint32_t c = 0; c < n; ++c)
                outputs[c][i] = f.x[c] * f.gd + f.gw * wetSamples[c]; // out = x g_d + g_w wet
            outputLeftBuffer[i] = outputs[0][i];
            outputRightBuffer[i] = outputs[rightOutput][i];
        }
        first += count;
        count = 0;
    };

    for (std::uint32_t i = 0; i < frames; ++i) {
        const std::int32_t shape = lfoType;
        if (shape != heardShape) {
            fadingShape = heardShape;
            heardShape = shape;
            shapeFadeRemaining = shapeFadeLength;
        }
        const float lfo = lfoValue(heardShape);
        const float fadingLfo = shapeFadeRemaining > 0 ? lfoValue(fadingShape) : 0.0f;
        const float fadingWeight = float(shapeFadeRemaining) / float(shapeFadeLength);
        const float D = delayTime.stepAccelerationLimited(delayVelocity, delayAcceleration);
        const float M = depth.step();
        const float S = spreadSmoother.step();
        // Every tap of this frame is at least `nearest` samples behind its write slot (up
        // to float rounding), so it reads no slot closer than nearest - 1. Frame by frame,
        // a read that close would see the writes of the batch's earlier frames: those
        // are finished first. The margin of a few samples covers the rounding.
        const float nearest = delayPosition(std::max(D + std::min(M, 0.0f) - std::fabs(S), 0.0f));
        if (count == kModelBatch || (count > 0 && nearest < float(count + 4)))
            finishBatch();
        PendingFrame& f = pending[count];
        f.W = widthSmoother.step();
        f.gd = dryGain.step();
        f.gw = wetGain.step();
        f.F = feedbackSmoother.step();
        f.L = lowCutCoefficient.step();
        f.H = highCutCoefficient.step();
        const float V = drive.step();
        f.C = compensation.step();
        f.G = outputGain.next();

        // Every input of this frame is read before any output is written, so the
        // outputs may share memory with the inputs. Non-finite input counts as 0.
        for (std::uint32_t c = 0; c < n; ++c)
            f.x[c] = finiteOrZero(inputs[std::min(inputCount - 1, c)][i]);
        inputLeftBuffer[i] = finiteOrZero(inputs[0][i]);
        inputRightBuffer[i] = finiteOrZero(inputs[rightInput][i]);

        for (std::uint32_t c = 0; c < n; ++c) {
            // The slot this frame writes, once the batch's frames before it have written.
            std::uint32_t w = writeIndices[c] + count;
            while (w >= delayLineLength && delayLineLength > 0)
                w -= delayLineLength;
            float r = readDelay(heardShape, c, w, n, lfo, D, M, S);
            if (shapeFadeRemaining > 0) { // r = r_new + (r_old - r_new) k, k from 1 to 0
                const float old = readDelay(fadingShape, c, w, n, fadingLfo, D, M, S);
                r += (old - r) * fadingWeight;
            }
            pendingModelIn[c][count] = r * V; // r V
        }
        if (shapeFadeRemaining > 0)
            --shapeFadeRemaining;
        advanceLfo();
        ++count;
    }
    finishBatch();

    for (std::uint32_t c = n; c < outputCount; ++c)
        copySamples(outputs[c], outputs[0], frames);
    inputLeftMeter.update(inputLeftBuffer.data(), int(frames));
    inputRightMeter.update(inputRightBuffer.data(), int(frames));
    outputLeftMeter.update(outputLeftBuffer.data(), int(frames));
    outputRightMeter.update(outputRightBuffer.data(), int(frames));
}

void DSPKernel::runModels(std::uint32_t channels, std::uint32_t frames) {
    std::uint32_t c = 0;
    for (; c + 1 < channels; c += 2)
        Korvane::MultiModelProcessor::processBlockPair(
            *modelProcessors[c], pendingModelIn[c], *modelProcessors[c + 1], pendingModelIn[c + 1],
            pendingModelOut[c], pendingModelOut[c + 1], int(frames));
    if (c < channels)
        modelProcessors[c]->processBlock(pendingModelIn[c], pendingModelOut[c], int(frames));
}

float DSPKernel::lfoValue(std::int32_t shape) {
    const float phi = lfoPhase;
    switch (shape) {
    case 0:
        return 1.0f - 4.0f * std::fabs(phi - 0.5f); // triangle, +1 at phi = 0.5
    case 1:
        return std::sin(2.0f * pi * phi);
    case 2: { // square, slewed: full swing in 5 ms
        const float goal = phi < 0.5f ? 1.0f : -1.0f;
        squareValue += clamp(goal - squareValue, -squareSlew, squareSlew);
        return squareValue;
    }
    case 3: { // smooth random: smoothstep s = phi^2 (3 - 2 phi) between two draws
        const float s = phi * phi * (3.0f - 2.0f * phi);
        return randomPrevious + (randomNext - randomPrevious) * s;
    }
    default:
        return 0.0f;
    }
}

// p = t fs / 1000 samples, at least 1, at most length - 2.
float DSPKernel::delayPosition(float timeMs) const {
    const float p = timeMs * float(sampleRate) * 0.001f;
    if (p < 1.0f)
        return 1.0f;
    const float longest = delayLineLength < 3 ? 0.0f : float(delayLineLength - 2);
    return std::min(p, longest);
}

float DSPKernel::readDelay(std::int32_t shape, std::uint32_t c, std::uint32_t w,
                           std::uint32_t processed, float lfo, float D, float M, float S) const {
    const float u = 0.5f + 0.5f * lfo; // 0...1
    const bool spreadLeft = processed >= 2 && c == 0;
    const bool spreadRight = processed >= 2 && c == 1;
    if (shape != 2) {
        float t = std::max(D + M * u, 0.0f);
        if (spreadLeft)
            t = std::max(t + S, 0.0f);
        else if (spreadRight)
            t = std::max(t - S, 0.0f);
        return readDelayTap(c, w, delayPosition(t));
    }
    // Square: crossfade two taps, unmodulated (a) and fully modulated (b).
    float a = std::max(D, 0.0f);
    float b = D + M;
    if (spreadLeft) {
        a = std::max(a + S, 0.0f);
        b = std::max(D + M, 0.0f) + S;
    } else if (spreadRight) {
        a = std::max(a - S, 0.0f);
        b = std::max(D + M, 0.0f) - S;
    }
    b = std::max(b, 0.0f);
    const float A = readDelayTap(c, w, delayPosition(a));
    const float B = readDelayTap(c, w, delayPosition(b));
    return A + (B - A) * u;
}

// Linear interpolation d samples behind the write slot w.
float DSPKernel::readDelayTap(std::uint32_t c, std::uint32_t w, float d) const {
    const float length = float(delayLineLength);
    float q = float(w) - d;
    while (q < 0.0f)
        q += length;
    std::uint32_t k = q > 0.0f && q < length ? std::uint32_t(q) : 0;
    if (k >= delayLineLength)
        k -= delayLineLength;
    const float* line = delayLines[c].data();
    const float a = line[k];
    const float b = line[k + 1 == delayLineLength ? 0 : k + 1];
    return a + (b - a) * (q - std::floor(q));
}

void DSPKernel::advanceLfo() {
    if (sampleRate <= 0.0)
        return;
    const float hz = rate.step();
    if (modRate <= 0.01f)
        return; // the oscillator stands still at the lowest rate
    // phi += f / fs, wrapped into 0...1 with a new random target at each wrap.
    lfoPhase += hz / float(sampleRate);
    if (lfoPhase >= 1.0f) {
        lfoPhase -= std::floor(lfoPhase);
        drawRandom();
    }
}

void DSPKernel::drawRandom() {
    randomPrevious = randomNext;
    randomNext = nextRandom(randomState);
}
