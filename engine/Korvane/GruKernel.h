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

    // q[j] = x[j] p(x[j]) for the polynomial p with the given coefficients, highest first.
    template <int G, int Terms>
    static inline __attribute__((always_inline)) void polynomialTimesX(const float (&p)[Terms],
                                                                       const V* x, V* q) {
#pragma GCC unroll 8
        for (int j = 0; j < G; ++j)
            q[j] = splat(p[0]);
#pragma GCC unroll 8
        for (int k = 1; k < Terms; ++k)
#pragma GCC unroll 8
            for (int j = 0; j < G; ++j)
                q[j] = q[j] * x[j] + splat(p[k]);
#pragma GCC unroll 8
        for (int j = 0; j < G; ++j)
            q[j] = q[j] * x[j];
    }

    // n = round(t) (adding 1.5 * 2^23 rounds to an integer) and 2^n built in the exponent
    // bits: exact, 2^-127 comes out as 0 and 2^128 as infinity.
    static V roundToInteger(V t) {
        const V shift = splat(12582912.0f);
        return (t + shift) - shift;
    }
    static V twoToThe(V n) {
        return (V)((__builtin_convertvector(n, VI) + 127) << 23);
    }

    // exp(v) - 1 for v in [-88, 88], accurate relative to the result also near 0:
    // v = n ln 2 + r with |r| <= ln 2 / 2 (ln 2 in two parts, so r is exact to a float),
    // q = e^r - 1 by the degree-7 Taylor polynomial (within 1.7e-8 relative to it), and
    // exp(v) - 1 = 2^n q + (2^n - 1), exactly -1 where 2^n comes out as 0.
    template <int G> static inline __attribute__((always_inline)) void expm1Bounded(V* v) {
        constexpr float taylor[] = {1.0f / 5040.0f, 1.0f / 720.0f, 1.0f / 120.0f, 1.0f / 24.0f,
                                    1.0f / 6.0f,    0.5f,          1.0f};
        V n[G], r[G], q[G];
#pragma GCC unroll 8
        for (int j = 0; j < G; ++j) {
            n[j] = roundToInteger(v[j] * splat(1.44269504088896341f));
            r[j] = (v[j] - n[j] * splat(0.693359375f)) + n[j] * splat(2.12194440e-4f);
        }
        polynomialTimesX<G>(taylor, r, q);
#pragma GCC unroll 8
        for (int j = 0; j < G; ++j) {
            const V scale = twoToThe(n[j]);
            v[j] = scale * q[j] + (scale - splat(1.0f));
        }
    }

    // The gates are sigmoid(a) = 1 / d with d = exp(-a) + 1; this gives d, and a gate's
    // product g x is taken as x / d (one rounding fewer, and the multiply saved).
    // exp(-a) = 2^t, t = -a log2 e, -a clamped to [-88, 89]: t = n + f with n = round(t),
    // |f| <= 1/2 (exact), and 2^f = 1 + f p(f) with p the degree-5 polynomial of least
    // greatest relative error (within 6.5e-9 with its coefficients rounded to floats). Rounding t
    // changes 2^t by a relative |a| 6e-8 at most, which moves the gate by sigmoid (1 - sigmoid) |a|
    // 6e-8 < 1.4e-8, a quarter of an ulp of 1/2. d is exactly 1 above a = 88 (2^n = 0) and infinite
    // below a = -88.4 (2^n infinite, 2^f positive), so gates of exactly 1 and 0.
    template <int G> static inline __attribute__((always_inline)) void sigmoidDenominator(V* a) {
        constexpr float fitted[] = {0.000154035136802122f, 0.0013390735257416964f,
                                    0.009618237614631653f, 0.05550357326865196f,
                                    0.24022649228572845f,  0.6931471824645996f};
        V n[G], f[G], q[G];
#pragma GCC unroll 8
        for (int j = 0; j < G; ++j) {
            const V t =
                vmin(vmax(-a[j], splat(-88.0f)), splat(89.0f)) * splat(1.44269504088896341f);
            n[j] = roundToInteger(t);
            f[j] = t - n[j];
        }
        polynomialTimesX<G>(fitted, f, q);
#pragma GCC unroll 8
        for (int j = 0; j < G; ++j)
            a[j] = twoToThe(n[j]) * (q[j] + splat(1.0f)) + splat(1.0f);
    }

    // tanh(v) = (exp(2v) - 1) / (exp(2v) + 1), v clamped to +-7.90531110763549805; the
    // expm1 form keeps small values accurate to their last bits.
    template <int G> static inline __attribute__((always_inline)) void tanh(V* v) {
        const V clampHi = splat(7.90531110763549805f);
        V e[G];
#pragma GCC unroll 8
        for (int j = 0; j < G; ++j) {
            const V x = vmin(vmax(v[j], -clampHi), clampHi);
            e[j] = x + x;
        }
        expm1Bounded<G>(e);
#pragma GCC unroll 8
        for (int j = 0; j < G; ++j)
            v[j] = e[j] / (e[j] + splat(2.0f));
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
        float* o[N]; // copied, so that the stores need not reload them
        for (int n = 0; n < N; ++n)
            o[n] = out[n];
#pragma GCC unroll 24
        for (int n = 0; n < N; ++n)
#pragma GCC unroll 24
            for (int t = 0; t < T; ++t)
                store(o[n] + R0 + t * W, acc[n][t]);
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
    // first layer (its input dense layer folded in), product + bias for the second. Held
    // by value, so that no store of the update can change what it points to.
    template <int N> struct SlopeInput {
        V x[N]; // each channel's input, broadcast
        const float* slope;
        const float* bias;
        V at(int n, int k) const { return load(slope + k) * x[n] + load(bias + k); }
    };
    template <int N> struct ProductInput {
        const float* product[N];
        const float* bias;
        V at(int n, int k) const { return load(product[n] + k) + load(bias + k); }
    };

    // The gates and state update of one layer for N channels, from the input parts a
    // and the recurrent products b (192 floats each): z, r = sigmoid(a + b) for the z
    // and r rows, kept as their denominators dz, dr (written over b's),
    // c = tanh(a_n + r (b_n + hiddenBias)) = tanh(a_n + (b_n + hiddenBias) / dr),
    // h = c + z (h - c) = c + (h - c) / dz. The gates of every unit and channel come first, then
    // the candidates, each G vectors at a time.
    template <int N, class InputPart>
    static void update(InputPart a, float (*b)[kGateRows], const float* hiddenBias,
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
                sigmoidDenominator<G>(g);
#pragma GCC unroll 8
                for (int j = 0; j < G; ++j)
                    store(b[n] + (i + j) * W, g[j]);
            }
        }
        for (int n = 0; n < N; ++n) {
            float* const hn = h[n];
            for (int i = 0; i < candidateVectors; i += G) {
                V c[G];
#pragma GCC unroll 8
                for (int j = 0; j < G; ++j) {
                    const int k = (i + j) * W;
                    const V dr = load(b[n] + kUnits + k);
                    c[j] = a.at(n, 2 * kUnits + k) +
                           (load(b[n] + 2 * kUnits + k) + load(hiddenBias + k)) / dr;
                }
                tanh<G>(c);
#pragma GCC unroll 8
                for (int j = 0; j < G; ++j) {
                    const int k = (i + j) * W;
                    const V dz = load(b[n] + k);
                    const V hOld = load(hn + k);
                    store(hn + k, c[j] + (hOld - c[j]) / dz);
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
        SlopeInput<N> input1{{}, f.slope1, f.bias1};
        for (int n = 0; n < N; ++n)
            input1.x[n] = splat(x[n]);
        update<N>(input1, b, f.hiddenBias1, h1Out);

        // Second layer: input part Wih2 h1 + bias2 over the new h1.
        product<N>(f.ih2, h1, pa);
        ProductInput<N> input2{{}, f.bias2};
        for (int n = 0; n < N; ++n)
            input2.product[n] = a[n];
        update<N>(input2, c, f.hiddenBias2, h2Out);

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
