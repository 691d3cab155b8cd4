#pragma once
// The fast network step, written once over a generic float vector type V (GCC vector
// extensions) and compiled once per instruction set: each kernel file includes this with
// its own compile flags. Everything here has internal linkage, so no code compiled for
// one instruction set can stand in for another's at link time.

#include "Korvane/NetworkLayout.h"

namespace Korvane::detail {
namespace {

template <class V, class VI> struct GruKernel {
    static constexpr int W = int(sizeof(V) / sizeof(float));
    static constexpr int VT = kTile / W;           // vectors per tile column
    static constexpr int K = VT >= 8 ? 1 : 8 / VT; // tiles per pass: about eight accumulators

    static V load(const float* p) {
        V v;
        __builtin_memcpy(&v, p, sizeof v);
        return v;
    }
    static void store(float* p, V v) { __builtin_memcpy(p, &v, sizeof v); }
    static V splat(float s) { return V{} + s; }
    static V vmin(V a, V b) { return a < b ? a : b; }
    static V vmax(V a, V b) { return a > b ? a : b; }

    // exp(v) for v in [-88, 88]: 2^n e^r with n = round(v / ln 2), |r| <= ln 2 / 2, e^r by
    // its degree-7 Taylor polynomial; 2^-127 comes out as 0.
    static V expBounded(V v) {
        const V shift = splat(12582912.0f); // 1.5 * 2^23: adding it rounds to an integer
        const V n = (v * splat(1.44269504088896341f) + shift) - shift;
        V r = v - n * splat(0.693359375f);
        r = r + n * splat(2.12194440e-4f);
        V p = splat(1.0f / 5040.0f);
        p = p * r + splat(1.0f / 720.0f);
        p = p * r + splat(1.0f / 120.0f);
        p = p * r + splat(1.0f / 24.0f);
        p = p * r + splat(1.0f / 6.0f);
        p = p * r + splat(0.5f);
        p = p * r + splat(1.0f);
        p = p * r + splat(1.0f);
        const VI bits = (__builtin_convertvector(n, VI) + 127) << 23;
        return p * (V)bits;
    }

    // sigmoid(a) = 1 / (exp(-a) + 1): exactly 1 above a = 88, exactly 0 below -88.
    static V sigmoid(V a) {
        const V e = expBounded(vmin(vmax(-a, splat(-88.0f)), splat(88.0f)));
        const V g = splat(1.0f) / (e + splat(1.0f));
        const VI keep = a > splat(-88.0f);
        return (V)((VI)g & keep);
    }

    // tanh(v) = 1 - 2 / (exp(2v) + 1), v clamped to +-7.90531110763549805; v itself below
    // |v| = 0.0004, where the difference form loses its last bits.
    static V tanh(V v) {
        const V clampHi = splat(7.90531110763549805f);
        const V x = vmin(vmax(v, -clampHi), clampHi);
        const V t = splat(1.0f) - splat(2.0f) / (expBounded(x + x) + splat(1.0f));
        const V mag = vmax(x, -x);
        return mag < splat(0.0004f) ? x : t;
    }

    struct Job {
        const float* tile; // kTile rows, column-major
        const float* input;
        float* out; // += tile . input
    };

    // Runs K jobs over the same number of columns with all accumulators in registers.
    static inline __attribute__((always_inline)) void pass(const Job* jobs, int columns) {
        V acc[K][VT];
#pragma GCC unroll 8
        for (int k = 0; k < K; ++k)
#pragma GCC unroll 8
            for (int t = 0; t < VT; ++t)
                acc[k][t] = load(jobs[k].out + t * W);
        for (int c = 0; c < columns; ++c) {
#pragma GCC unroll 8
            for (int k = 0; k < K; ++k) {
                const V b = splat(jobs[k].input[c]);
                const float* column = jobs[k].tile + c * kTile;
#pragma GCC unroll 8
                for (int t = 0; t < VT; ++t)
                    acc[k][t] += load(column + t * W) * b;
            }
        }
#pragma GCC unroll 8
        for (int k = 0; k < K; ++k)
#pragma GCC unroll 8
            for (int t = 0; t < VT; ++t)
                store(jobs[k].out + t * W, acc[k][t]);
    }

    // Four jobs of one shape (32 rows by columns), K at a time.
    static void run(const Job (&jobs)[4], int columns) {
        for (int g = 0; g < 4; g += K)
            pass(jobs + g, columns);
    }

    // The gates and the state update of one layer, given zr = z/r pre-activations and the
    // candidate's input part an and recurrent part bn: c = tanh(an + r bn), h = c + z (h - c).
    static void update(const float* zr, const float* an, const float* bn, float* h) {
        for (int i = 0; i < kUnits; i += W) {
            const V z = sigmoid(load(zr + i));
            const V r = sigmoid(load(zr + kUnits + i));
            const V c = tanh(load(an + i) + r * load(bn + i));
            const V hOld = load(h + i);
            store(h + i, c + z * (hOld - c));
        }
    }

    static float step(const ModelWeights& weights, NetworkState& s, float x) {
        const FastLayout& f = weights.fast;
        float* h1 = s.h;
        float* h2 = s.h + kUnits;
        alignas(64) float zr[2 * kUnits];
        alignas(64) float an[kUnits];
        alignas(64) float bn[2 * kUnits]; // two halves of the first layer's columns
        const V xs = splat(x);

        // First GRU: zr = slope x + bias + Whh1[zr] h1; an = slope x + bias;
        // bn = bhh1[n] + Whh1[n] h1, the columns split in two halves for more accumulators.
        for (int i = 0; i < 2 * kUnits; i += W)
            store(zr + i, load(f.zrSlope1 + i) * xs + load(f.zrBias1 + i));
        for (int i = 0; i < kUnits; i += W) {
            store(an + i, load(f.nSlope1 + i) * xs + load(f.nInputBias1 + i));
            store(bn + i, load(f.nHiddenBias1 + i));
            store(bn + kUnits + i, V{});
        }
        const int half = kUnits / 2;
        const Job first[4] = {{f.zr1[0][0], h1, zr},
                              {f.zr1[1][0], h1, zr + kTile},
                              {f.zr1[2][0], h1, zr + 2 * kTile},
                              {f.zr1[3][0], h1, zr + 3 * kTile}};
        const Job firstN[4] = {{f.n1[0][0], h1, bn},
                               {f.n1[0][half], h1 + half, bn + kUnits},
                               {f.n1[1][0], h1, bn + kTile},
                               {f.n1[1][half], h1 + half, bn + kUnits + kTile}};
        run(first, kUnits);
        run(firstN, half);
        for (int i = 0; i < kUnits; i += W)
            store(bn + i, load(bn + i) + load(bn + kUnits + i));
        update(zr, an, bn, h1);

        // Second GRU: zr = bias + [Wih2 | Whh2][zr] [h1; h2]; an = bih2[n] + Wih2[n] h1;
        // bn = bhh2[n] + Whh2[n] h2.
        for (int i = 0; i < 2 * kUnits; i += W)
            store(zr + i, load(f.zrBias2 + i));
        for (int i = 0; i < kUnits; i += W) {
            store(an + i, load(f.nInputBias2 + i));
            store(bn + i, load(f.nHiddenBias2 + i));
        }
        const Job second[4] = {{f.zr2[0][0], s.h, zr},
                               {f.zr2[1][0], s.h, zr + kTile},
                               {f.zr2[2][0], s.h, zr + 2 * kTile},
                               {f.zr2[3][0], s.h, zr + 3 * kTile}};
        const Job secondN[4] = {{f.nIn2[0][0], h1, an},
                                {f.nIn2[1][0], h1, an + kTile},
                                {f.nHid2[0][0], h2, bn},
                                {f.nHid2[1][0], h2, bn + kTile}};
        run(second, 2 * kUnits);
        run(secondN, kUnits);
        update(zr, an, bn, h2);

        // out = w . h2 + b.
        V acc{};
        for (int i = 0; i < kUnits; i += W)
            acc += load(f.outW + i) * load(h2 + i);
        float out = f.outB;
        for (int i = 0; i < W; ++i)
            out += acc[i];
        s.output = out;
        return out;
    }
};

} // namespace
} // namespace Korvane::detail

// Defines detail::NAME, the fast step over vectors of BYTES bytes, in the including file.
#define KORVANE_DEFINE_STEP(NAME, BYTES)                                                           \
    namespace Korvane::detail {                                                                    \
    float NAME(const ModelWeights& w, NetworkState& s, float x) {                                  \
        using V = float __attribute__((vector_size(BYTES)));                                       \
        using VI = int __attribute__((vector_size(BYTES)));                                        \
        return GruKernel<V, VI>::step(w, s, x);                                                    \
    }                                                                                              \
    }
