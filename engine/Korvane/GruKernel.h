#pragma once
// The fast network step, written once over a generic float vector type V (GCC vector
// extensions) and compiled once per instruction set: each kernel file includes this with
// its own compile flags. Everything here has internal linkage, so no code compiled for
// one instruction set can stand in for another's at link time. A step runs on the
// render thread and is real-time safe (no allocation, lock or call out).
//
// A step runs one channel or two channels at once over the same weights. With two, each
// weight loaded feeds two independent multiply-add chains, so the weights stream from
// the cache once for both channels. Every row of a product is summed in one chain, input
// 0 to 63, whatever the number of channels and rows per pass, and the activations are
// the same code per channel: a channel's result does not depend on its partner.

#include "Korvane/NetworkLayout.h"

#include <utility>

namespace Korvane::detail {
namespace {

template <class V, class VI> struct GruKernel {
    static constexpr int W = int(sizeof(V) / sizeof(float));
    static_assert(kBlockRows % W == 0);

    // Row vectors per pass, each an accumulator per channel: as many as the registers
    // hold beside the weight being loaded and the channels' broadcast inputs (32
    // registers with AVX-512, 16 otherwise), and enough independent chains to keep both
    // multiply-add units busy.
    template <int N> static constexpr int rowVectors() {
        if constexpr (N == 1)
            return 12;
        else
            return W == 16 ? 12 : 6;
    }

    static V load(const float* p) {
        V v;
        __builtin_memcpy(&v, p, sizeof v);
        return v;
    }
    static void store(float* p, V v) { __builtin_memcpy(p, &v, sizeof v); }
    static V splat(float s) { return s - V{}; } // s - 0 is s for every s, so no add
    // a < b ? a : b and a > b ? a : b, which are exactly what the x86 minimum and
    // maximum instructions compute (b where either is NaN). The compiler does not see
    // that when b is a constant and would blend through a mask, so on x86 they are named.
    static V vmin(V a, V b) {
#if defined(__SSE__)
        if constexpr (sizeof(V) == 16)
            return __builtin_ia32_minps(a, b);
#endif
#if defined(__AVX__)
        if constexpr (sizeof(V) == 32)
            return __builtin_ia32_minps256(a, b);
#endif
        return a < b ? a : b;
    }
    static V vmax(V a, V b) {
#if defined(__SSE__)
        if constexpr (sizeof(V) == 16)
            return __builtin_ia32_maxps(a, b);
#endif
#if defined(__AVX__)
        if constexpr (sizeof(V) == 32)
            return __builtin_ia32_maxps256(a, b);
#endif
        return a > b ? a : b;
    }

    // Vectors per activation group: with four lanes a group of four vectors holds too
    // little independent work to cover the exp chains' latency.
    static constexpr int activationGroup() {
        return W == 4 ? 8 : 4;
    }

    // The activations work on G vectors at once, each stage over all G before the next,
    // so that G independent chains are in flight: one chain alone is a long series of
    // dependent multiply-adds that would leave the units idle.

    // exp(v) = 2^n (q + 1) for v in [-88, 89]: v = n ln 2 + r with n = round(v / ln 2),
    // |r| <= ln 2 / 2, and q = e^r - 1 by its degree-7 Taylor polynomial, accurate relative
    // to q also near 0. The scale 2^n is exact, 2^-127 comes out as 0 and 2^128 as
    // infinity.
    template <int G>
    static inline __attribute__((always_inline)) void expReduced(const V* v, V* scale, V* q) {
        const V shift = splat(12582912.0f); // 1.5 * 2^23: adding it rounds to an integer
        V n[G], r[G];
#pragma GCC unroll 8
        for (int j = 0; j < G; ++j)
            n[j] = (v[j] * splat(1.44269504088896341f) + shift) - shift;
#pragma GCC unroll 8
        for (int j = 0; j < G; ++j)
            r[j] = v[j] - n[j] * splat(0.693359375f);
#pragma GCC unroll 8
        for (int j = 0; j < G; ++j)
            r[j] = r[j] + n[j] * splat(2.12194440e-4f);
        constexpr float coefficients[] = {1.0f / 720.0f, 1.0f / 120.0f, 1.0f / 24.0f,
                                          1.0f / 6.0f,   0.5f,          1.0f};
#pragma GCC unroll 8
        for (int j = 0; j < G; ++j)
            q[j] = splat(1.0f / 5040.0f);
#pragma GCC unroll 6
        for (float k : coefficients)
#pragma GCC unroll 8
            for (int j = 0; j < G; ++j)
                q[j] = q[j] * r[j] + splat(k);
#pragma GCC unroll 8
        for (int j = 0; j < G; ++j) {
            q[j] = q[j] * r[j];
            scale[j] = (V)((__builtin_convertvector(n[j], VI) + 127) << 23);
        }
    }

    // sigmoid(a) = 1 / (exp(-a) + 1) = 1 / (2^n (q + 1) + 1), -a clamped to [-88, 89]:
    // exactly 1 above a = 88 (2^n = 0), exactly 0 below a = -88.4 (2^n infinite, and
    // q + 1 = e^r is positive, so the quotient is 1 / infinity). With G chains in flight
    // the divisions overlap each other and the polynomials.
    template <int G> static inline __attribute__((always_inline)) void sigmoid(V* a) {
        V x[G], scale[G], q[G];
#pragma GCC unroll 8
        for (int j = 0; j < G; ++j)
            x[j] = vmin(vmax(-a[j], splat(-88.0f)), splat(89.0f));
        expReduced<G>(x, scale, q);
#pragma GCC unroll 8
        for (int j = 0; j < G; ++j)
            a[j] = splat(1.0f) / (scale[j] * (q[j] + splat(1.0f)) + splat(1.0f));
    }

    // tanh(v) = (exp(2v) - 1) / (exp(2v) + 1), v clamped to +-7.90531110763549805; the
    // expm1 form keeps small values accurate to their last bits.
    template <int G> static inline __attribute__((always_inline)) void tanh(V* v) {
        const V clampHi = splat(7.90531110763549805f);
        V x[G], scale[G], q[G];
#pragma GCC unroll 8
        for (int j = 0; j < G; ++j) {
            x[j] = vmin(vmax(v[j], -clampHi), clampHi);
            x[j] = x[j] + x[j];
        }
        expReduced<G>(x, scale, q);
#pragma GCC unroll 8
        for (int j = 0; j < G; ++j) {
            // exp(2v) - 1 = 2^n q + (2^n - 1), exact -1 at 2^n = 0, and small near 0
            const V e = scale[j] * q[j] + (scale[j] - splat(1.0f));
            v[j] = e / (e + splat(2.0f));
        }
    }

    // Where a broadcast from memory is one load (AVX's vbroadcastss, NEON's ld1r) the
    // passes broadcast each input as they go; SSE2 alone needs a load and a shuffle per
    // broadcast, and every pass would repeat them, so there the inputs are broadcast
    // once per product into aligned vectors that the passes read (or multiply from).
#if defined(__SSE2__) && !defined(__AVX__)
    static constexpr bool kBroadcastOnce = true;
#else
    static constexpr bool kBroadcastOnce = false;
#endif
    using Splatted = V[kBroadcastOnce ? kUnits : 1];
    template <int N> struct Inputs {
        const float* const* in;
        const Splatted* splatted;
        V at(int n, int c) const {
            if constexpr (kBroadcastOnce)
                return splatted[n][c];
            else
                return splat(in[n][c]);
        }
    };

    // Rows R0 .. R0 + T W - 1 of one product for N channels: out[n][row] = sum over
    // inputs c of M[row][c] in[n][c], with every accumulator in a register.
    template <int N, int T, int R0>
    static inline __attribute__((always_inline)) void pass(const FastLayout::Product& m,
                                                           Inputs<N> in, float* const* out) {
        V acc[N][T];
#pragma GCC unroll 24
        for (int n = 0; n < N; ++n)
#pragma GCC unroll 24
            for (int t = 0; t < T; ++t)
                acc[n][t] = V{};
        const float* base = &m[0][0][0];
#pragma GCC unroll 2
        for (int c = 0; c < kUnits; ++c) {
            V b[N];
#pragma GCC unroll 2
            for (int n = 0; n < N; ++n)
                b[n] = in.at(n, c);
#pragma GCC unroll 24
            for (int t = 0; t < T; ++t) {
                constexpr int blockFloats = kUnits * kBlockRows;
                const int row = R0 + t * W; // a constant once unrolled
                const V w = load(base + (row / kBlockRows) * blockFloats + c * kBlockRows +
                                 row % kBlockRows);
#pragma GCC unroll 2
                for (int n = 0; n < N; ++n)
                    acc[n][t] += w * b[n];
            }
        }
#pragma GCC unroll 24
        for (int n = 0; n < N; ++n)
#pragma GCC unroll 24
            for (int t = 0; t < T; ++t)
                store(out[n] + R0 + t * W, acc[n][t]);
    }

    template <int N, int... P>
    static void passes(const FastLayout::Product& m, Inputs<N> in, float* const* out,
                       std::integer_sequence<int, P...>) {
        constexpr int T = rowVectors<N>();
        (pass<N, T, P * T * W>(m, in, out), ...);
    }

    // out[n] (192 floats) = M in[n] for each of the N channels.
    template <int N>
    static void product(const FastLayout::Product& m, const float* const* in, float* const* out) {
        constexpr int rows = rowVectors<N>() * W;
        static_assert(kGateRows % rows == 0);
        Splatted splatted[N];
        if constexpr (kBroadcastOnce)
            for (int n = 0; n < N; ++n)
                for (int c = 0; c < kUnits; c += 4) {
                    const V v = load(in[n] + c); // four inputs, each shuffled out
                    splatted[n][c] = __builtin_shufflevector(v, v, 0, 0, 0, 0);
                    splatted[n][c + 1] = __builtin_shufflevector(v, v, 1, 1, 1, 1);
                    splatted[n][c + 2] = __builtin_shufflevector(v, v, 2, 2, 2, 2);
                    splatted[n][c + 3] = __builtin_shufflevector(v, v, 3, 3, 3, 3);
                }
        passes<N>(m, Inputs<N>{in, splatted}, out,
                  std::make_integer_sequence<int, kGateRows / rows>{});
    }

    // The input part of a layer's gate rows, biases included: slope x + bias for the
    // first layer (its input dense layer folded in), product + bias for the second.
    template <int N> struct InputPart {
        const float* const* product; // null for the first layer
        const float* slope;
        const float* x;
        const float* bias;
        V at(int n, int k) const {
            if (product == nullptr)
                return load(slope + k) * splat(x[n]) + load(bias + k);
            return load(product[n] + k) + load(bias + k);
        }
    };

    // The gates and state update of one layer for N channels, from the input parts a
    // and the recurrent products b (192 floats each): z, r = sigmoid(a + b) for the z
    // and r rows (written over b's), c = tanh(a_n + r (b_n + hiddenBias)),
    // h = c + z (h - c). The gates of every unit and channel come first, then the
    // candidates, each G vectors at a time.
    template <int N>
    static void update(InputPart<N> a, float (*b)[kGateRows], const float* hiddenBias,
                       float* const* h) {
        constexpr int G = activationGroup();
        constexpr int gateVectors = 2 * kUnits / W;
        constexpr int candidateVectors = kUnits / W;
        static_assert(gateVectors % G == 0 && candidateVectors % G == 0);
        for (int n = 0; n < N; ++n) {
            for (int i = 0; i < gateVectors; i += G) {
                V g[G];
#pragma GCC unroll 8
                for (int j = 0; j < G; ++j)
                    g[j] = a.at(n, (i + j) * W) + load(b[n] + (i + j) * W);
                sigmoid<G>(g);
#pragma GCC unroll 8
                for (int j = 0; j < G; ++j)
                    store(b[n] + (i + j) * W, g[j]);
            }
        }
        for (int n = 0; n < N; ++n) {
            for (int i = 0; i < candidateVectors; i += G) {
                V c[G];
#pragma GCC unroll 8
                for (int j = 0; j < G; ++j) {
                    const int k = (i + j) * W;
                    const V r = load(b[n] + kUnits + k);
                    c[j] = a.at(n, 2 * kUnits + k) +
                           r * (load(b[n] + 2 * kUnits + k) + load(hiddenBias + k));
                }
                tanh<G>(c);
#pragma GCC unroll 8
                for (int j = 0; j < G; ++j) {
                    const int k = (i + j) * W;
                    const V z = load(b[n] + k);
                    const V hOld = load(h[n] + k);
                    store(h[n] + k, c[j] + z * (hOld - c[j]));
                }
            }
        }
    }

    template <int N>
    static void step(const ModelWeights& weights, NetworkState* const* s, const float* x) {
        const FastLayout& f = weights.fast;
        alignas(64) float a[N][kGateRows]; // second layer's input product
        alignas(64) float b[N][kGateRows]; // first layer's recurrent product
        alignas(64) float c[N][kGateRows]; // second layer's recurrent product
        const float* h1[N];
        const float* h2[N];
        float* h1Out[N];
        float* h2Out[N];
        float* pa[N];
        float* pb[N];
        float* pc[N];
        for (int n = 0; n < N; ++n) {
            h1[n] = h1Out[n] = s[n]->h;
            h2[n] = h2Out[n] = s[n]->h + kUnits;
            pa[n] = a[n];
            pb[n] = b[n];
            pc[n] = c[n];
        }

        // Both recurrent products need only the old states, so they run first, side by
        // side; then the first layer's update from its input part slope1 x + bias1.
        product<N>(f.hh1, h1, pb);
        product<N>(f.hh2, h2, pc);
        update<N>(InputPart<N>{nullptr, f.slope1, x, f.bias1}, b, f.hiddenBias1, h1Out);

        // Second layer: input part Wih2 h1 + bias2 over the new h1.
        product<N>(f.ih2, h1, pa);
        update<N>(InputPart<N>{pa, nullptr, nullptr, f.bias2}, c, f.hiddenBias2, h2Out);

        // out = w . h2 + b.
        for (int n = 0; n < N; ++n) {
            V acc{};
            for (int i = 0; i < kUnits; i += W)
                acc += load(f.outW + i) * load(h2Out[n] + i);
            float out = f.outB;
            for (int i = 0; i < W; ++i)
                out += acc[i];
            s[n]->output = out;
        }
    }
};

} // namespace
} // namespace Korvane::detail

// Defines detail::stepNAME (one channel) and detail::stepPairNAME (two channels over the
// same weights), over vectors of BYTES bytes, in the including file.
#define KORVANE_DEFINE_STEP(NAME, BYTES)                                                           \
    namespace Korvane::detail {                                                                    \
    using V##NAME = float __attribute__((vector_size(BYTES)));                                     \
    using VI##NAME = int __attribute__((vector_size(BYTES)));                                      \
    float step##NAME(const ModelWeights& w, NetworkState& s, float x) {                            \
        NetworkState* const states[1] = {&s};                                                      \
        GruKernel<V##NAME, VI##NAME>::step<1>(w, states, &x);                                      \
        return s.output;                                                                           \
    }                                                                                              \
    void stepPair##NAME(const ModelWeights& w, NetworkState& a, float xa, NetworkState& b,         \
                        float xb) {                                                                \
        NetworkState* const states[2] = {&a, &b};                                                  \
        const float x[2] = {xa, xb};                                                               \
        GruKernel<V##NAME, VI##NAME>::step<2>(w, states, x);                                       \
    }                                                                                              \
    }
