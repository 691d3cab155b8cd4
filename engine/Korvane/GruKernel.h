#pragma once
// The fast network step, written once over a generic float vector type V (GCC vector
// extensions) and compiled once per instruction set: each kernel file includes this with
// its own compile flags. Everything here has internal linkage, so no code compiled for
// one instruction set can stand in for another's at link time. A step runs on the
// render thread and is real-time safe (no allocation, lock or call out).

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
    static V splat(float s) { return s - V{}; } // s - 0 is s for every s, so no add
    static V vmin(V a, V b) { return a < b ? a : b; }
    static V vmax(V a, V b) { return a > b ? a : b; }

    // exp(v) - 1 for v in [-88, 88], accurate relative to the result also near 0:
    // v = n ln 2 + r with n = round(v / ln 2), |r| <= ln 2 / 2; q = e^r - 1 by its
    // degree-7 Taylor polynomial; exp(v) - 1 = 2^n q + (2^n - 1), where 2^n is exact and
    // 2^-127 comes out as 0 (so the result is exactly -1 there).
    static V expm1Bounded(V v) {
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
        const V q = p * r;
        const V scale = (V)((__builtin_convertvector(n, VI) + 127) << 23);
        return scale * q + (scale - splat(1.0f));
    }

    // sigmoid(a) = 1 / (exp(-a) + 1) = 1 / ((exp(-a) - 1) + 2): exactly 1 above a = 88,
    // exactly 0 below -88.
    static V sigmoid(V a) {
        const V e = expm1Bounded(vmin(vmax(-a, splat(-88.0f)), splat(88.0f)));
        const V g = splat(1.0f) / (e + splat(2.0f));
        const VI keep = a > splat(-88.0f);
        return (V)((VI)g & keep);
    }

    // tanh(v) = (exp(2v) - 1) / (exp(2v) + 1), v clamped to +-7.90531110763549805; the
    // expm1 form keeps small values accurate to their last bits.
    static V tanh(V v) {
        const V clampHi = splat(7.90531110763549805f);
        const V x = vmin(vmax(v, -clampHi), clampHi);
        const V e = expm1Bounded(x + x);
        return e / (e + splat(2.0f));
    }

    // One fast-layout group: four 32-row tiles over `columns` inputs, tile t reading
    // input[t] and adding its product to out[t] (32 floats).
    struct Group {
        const float* matrix; // [columns][kGroup]
        int columns;
        const float* input[4];
        float* out[4];
    };

    // Tiles first .. first + K - 1 of a group, with all accumulators in registers:
    // acc[k] += M[tile k] . input[k], one column at a time.
    static inline __attribute__((always_inline)) void pass(const Group& g, int first) {
        V acc[K][VT];
#pragma GCC unroll 8
        for (int k = 0; k < K; ++k)
#pragma GCC unroll 8
            for (int t = 0; t < VT; ++t)
                acc[k][t] = load(g.out[first + k] + t * W);
        const float* column = g.matrix + first * kTile;
#pragma GCC unroll 4
        for (int c = 0; c < g.columns; ++c, column += kGroup) {
#pragma GCC unroll 8
            for (int k = 0; k < K; ++k) {
                const V b = splat(g.input[first + k][c]);
#pragma GCC unroll 8
                for (int t = 0; t < VT; ++t)
                    acc[k][t] += load(column + k * kTile + t * W) * b;
            }
        }
#pragma GCC unroll 8
        for (int k = 0; k < K; ++k)
#pragma GCC unroll 8
            for (int t = 0; t < VT; ++t)
                store(g.out[first + k] + t * W, acc[k][t]);
    }

    static void run(const Group& g) {
        for (int first = 0; first < 4; first += K)
            pass(g, first);
    }

    // zr (128 floats) += W[zr] v.
    static void gates(const FastLayout::GateGroup& m, const float* v, float* zr) {
        run({m[0], kUnits, {v, v, v, v}, {zr, zr + kTile, zr + 2 * kTile, zr + 3 * kTile}});
    }

    // n (64 floats) += W[n] v, through the two column halves; spare is 64 floats.
    static void candidate(const FastLayout::CandidateGroup& m, const float* v, float* n,
                          float* spare) {
        const int half = kUnits / 2;
        for (int i = 0; i < kUnits; i += W)
            store(spare + i, V{});
        run({m[0], half, {v, v + half, v, v + half}, {n, spare, n + kTile, spare + kTile}});
        for (int i = 0; i < kUnits; i += W)
            store(n + i, load(n + i) + load(spare + i));
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
        alignas(64) float bn[kUnits];
        alignas(64) float spare[kUnits];
        const V xs = splat(x);

        // First GRU: zr = slope x + bias + Whh1[zr] h1; an = slope x + bias;
        // bn = bhh1[n] + Whh1[n] h1.
        for (int i = 0; i < 2 * kUnits; i += W)
            store(zr + i, load(f.zrSlope1 + i) * xs + load(f.zrBias1 + i));
        for (int i = 0; i < kUnits; i += W) {
            store(an + i, load(f.nSlope1 + i) * xs + load(f.nInputBias1 + i));
            store(bn + i, load(f.nHiddenBias1 + i));
        }
        gates(f.zr1, h1, zr);
        candidate(f.n1, h1, bn, spare);
        update(zr, an, bn, h1);

        // Second GRU: zr = bias + Whh2[zr] h2 + Wih2[zr] h1; an = bih2[n] + Wih2[n] h1;
        // bn = bhh2[n] + Whh2[n] h2. The h2 products need only the old state, so they
        // overlap the first layer's activations.
        for (int i = 0; i < 2 * kUnits; i += W)
            store(zr + i, load(f.zrBias2 + i));
        for (int i = 0; i < kUnits; i += W) {
            store(an + i, load(f.nInputBias2 + i));
            store(bn + i, load(f.nHiddenBias2 + i));
        }
        gates(f.zr2h, h2, zr);
        candidate(f.n2h, h2, bn, spare);
        gates(f.zr2i, h1, zr);
        candidate(f.n2i, h1, an, spare);
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
