#pragma once
// The two cubic (Catmull-Rom) resamplers of a model processor: host rate to the 44.1 kHz
// model rate before the network, and back after it. Both keep their state across blocks,
// so one-sample calls work as well as whole blocks.

#include <cstdint>
#include <vector>

namespace Korvane {

constexpr double kModelRate = 44100.0;

// Catmull-Rom between x0 and x1 at t in [0, 1), from the four samples x-1, x0, x1, x2:
// y = ((c3 t + c2) t + c1) t + x0.
float catmullRom(float xm1, float x0, float x1, float x2, float t);

// Host rate -> model rate.
class InputResampler {
  public:
    // Set-up thread or real-time (no allocation): back to the start, not primed.
    void clear();
    // Real-time safe while out has capacity for ceil(44100 n / hostRate) + 2 more samples.
    // Appends the model-rate samples that this block of n host-rate samples completes.
    void process(const float* in, int n, double hostRate, std::vector<float>& out);

  private:
    std::int64_t position = 0; // in input samples, relative to the current block
    double fraction = 0.0;
    float history[4] = {}; // newest first: index -1, -2, -3, -4
    bool primed = false;
};

// Model rate -> host rate, through a power-of-two ring of model-rate samples.
class OutputResampler {
  public:
    // Set-up thread: a zeroed ring of ringSize (a power of two) samples.
    void allocate(std::size_t ringSize);
    // Real-time safe: zero the ring, read position -4 (four samples of latency).
    void clear();
    // Real-time safe. Appends n model-rate samples, then writes exactly frames host-rate
    // samples to out.
    void process(const float* in, int n, float* out, int frames, double hostRate);

  private:
    float at(std::int64_t index) const;

    std::vector<float> ring;
    std::size_t mask = 0;
    std::uint64_t written = 0;
    std::int64_t readPosition = -4;
    double fraction = 0.0;
};

} // namespace Korvane
