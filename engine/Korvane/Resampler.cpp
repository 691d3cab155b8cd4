#include "Korvane/Resampler.h"

#include <algorithm>
#include <cmath>

namespace Korvane {

// Catmull-Rom between x0 and x1: y = ((c3 t + c2) t + c1) t + x0, with
// c1 = (x1 - x-1) / 2, c2 = x-1 - 5/2 x0 + 2 x1 - x2 / 2, c3 = 3/2 (x0 - x1) + (x2 - x-1) / 2.
float catmullRom(float xm1, float x0, float x1, float x2, float t) {
    const float c1 = 0.5f * (x1 - xm1);
    const float c2 = xm1 - 2.5f * x0 + 2.0f * x1 - 0.5f * x2;
    const float c3 = 1.5f * x0 - 1.5f * x1 - 0.5f * xm1 + 0.5f * x2;
    return ((c3 * t + c2) * t + c1) * t + x0;
}

void InputResampler::clear() {
    position = 0;
    fraction = 0.0;
    std::fill(std::begin(history), std::end(history), 0.0f);
    primed = false;
}

void InputResampler::process(const float* in, int n, double hostRate, std::vector<float>& out) {
    if (in == nullptr || n < 1 || hostRate <= 0.0)
        return;
    if (!primed) {
        std::fill(std::begin(history), std::end(history), in[0]);
        primed = true;
    }
    const std::size_t room = std::size_t(std::ceil(kModelRate * n / hostRate)) + 2;
    if (out.capacity() < out.size() + room)
        out.reserve(out.size() + room);        // only when a block exceeds the set-up maximum
    const double step = hostRate / kModelRate; // host samples per model-rate sample
    // Sample i of the block, or of the history for i < 0 (-1 the newest).
    const auto sample = [&](std::int64_t i) { return i >= 0 ? in[i] : history[-i - 1]; };
    while (position <= n - 3) {
        out.push_back(catmullRom(sample(position - 1), sample(position), sample(position + 1),
                                 sample(position + 2), float(fraction)));
        // position + fraction advances by step: p += floor(step + f), f = frac(step + f).
        const double a = step + fraction;
        const double whole = std::floor(a);
        position += std::int64_t(whole);
        fraction = a - whole;
    }
    // History = newest four of (old history, block).
    float next[4];
    for (int k = 0; k < 4; ++k)
        next[k] = k < n ? in[n - 1 - k] : history[k - n];
    std::copy(std::begin(next), std::end(next), std::begin(history));
    position -= n;
}

void OutputResampler::allocate(std::size_t ringSize) {
    ring.assign(ringSize, 0.0f);
    mask = ringSize - 1;
    written = 0;
    readPosition = -4;
    fraction = 0.0;
}

void OutputResampler::clear() {
    std::fill(ring.begin(), ring.end(), 0.0f);
    written = 0;
    readPosition = -4;
    fraction = 0.0;
}

float OutputResampler::at(std::int64_t index) const {
    if (index < 0 || written == 0)
        return 0.0f;
    // Reads past the newest sample repeat it.
    const std::uint64_t newest = written - 1;
    return ring[mask & std::min<std::uint64_t>(std::uint64_t(index), newest)];
}

void OutputResampler::process(const float* in, int n, float* out, int frames, double hostRate) {
    if (out == nullptr || frames < 1 || hostRate <= 0.0)
        return;
    if (ring.empty()) {
        std::fill(out, out + frames, 0.0f);
        return;
    }
    for (int i = 0; i < n; ++i)
        ring[(written + i) & mask] = in[i];
    written += std::uint64_t(std::max(n, 0));
    // Overrun: the reader fell more than a ring behind; jump to just behind the writer.
    if (std::int64_t(written) - readPosition > std::int64_t(ring.size()) - 4) {
        readPosition = std::int64_t(written) - 4;
        fraction = 0.0;
    }
    const double step = kModelRate / hostRate; // model-rate samples per host sample
    for (int i = 0; i < frames; ++i) {
        const std::int64_t r = readPosition;
        out[i] = catmullRom(at(r - 1), at(r), at(r + 1), at(r + 2), float(fraction));
        // r + fraction advances by step: r += floor(step + f), f = frac(step + f).
        const double a = step + fraction;
        const double whole = std::floor(a);
        readPosition += std::int64_t(whole);
        fraction = a - whole;
    }
}

} // namespace Korvane
