#pragma once
// One-pole glide of a parameter toward its target. The target is written by any
// thread (setParameter); everything else belongs to the render thread, or to the
// set-up thread while nothing renders.

#include "Relaxed.h"

#include <cmath>

struct ParameterSmoother {
    float timeMs = 200.0f;
    float coefficient = 0.0f;
    float current = 0.0f;
    Relaxed<float> target{0.0f};
    double sampleRate = 44100.0;

    // Set-up: c = 1 - exp(-1000 / (timeMs * fs)), in single precision.
    void setup(double rate) {
        sampleRate = rate;
        coefficient = 1.0f - std::exp(-1000.0f / (timeMs * float(rate)));
    }
    void snap() { current = target; }

    // Render thread, real-time safe: current += c * (target - current); it lands
    // on the target within 1e-5, and also once a step no longer moves it (in f32
    // a large value otherwise stops short of the target for good).
    float step() {
        const float goal = target;
        const float next = current + coefficient * (goal - current);
        current = (next == current || std::fabs(next - goal) < 1e-5f) ? goal : next;
        return current;
    }

    // Render thread: the same glide with its speed (velocity, the last step) changing
    // by at most maxChange per step. The one-pole step c (target - current) is what
    // the speed approaches; once the speed has caught up the glide is exactly the
    // one-pole's, so the time constant is kept, but a glide starts, turns and stops
    // without a jump in speed (for the delay time, a jump in pitch).
    float stepAccelerationLimited(float& velocity, float maxChange) {
        const float goal = target;
        const float wanted = coefficient * (goal - current);
        const float change = wanted - velocity;
        velocity += change > maxChange ? maxChange : (change < -maxChange ? -maxChange : change);
        const float next = current + velocity;
        const bool caughtUp = velocity == wanted;
        if ((caughtUp && next == current) ||
            (std::fabs(next - goal) < 1e-5f && std::fabs(velocity) <= maxChange)) {
            current = goal;
            velocity = 0.0f;
        } else {
            current = next;
        }
        return current;
    }
};
