#pragma once
// The memory layout of the delay-line network: the immutable weights of one model
// (shared by every channel that runs it) and the hidden state of one channel. Kept free
// of library headers: the per-instruction-set kernels include only this. The weights
// are written once while loading (set-up thread) and only read after, by any thread;
// the hidden state belongs to the thread that steps its channel (the render thread).

namespace Korvane {

constexpr int kUnits = 64;            // hidden units per GRU layer
constexpr int kGateRows = 3 * kUnits; // rows of a GRU matrix: z, r, n blocks
constexpr int kExtended = kUnits + 1; // 64 inputs and the constant 1.0 that takes the bias
constexpr int kTile = 32;             // rows per tile of the fast layout
constexpr int kGroup = 4 * kTile;     // rows per column of a fast-layout group

// One GRU layer as the straightforward network stores it: two 192 x 65 matrices,
// column-major (column j = the 192 gate weights of input j, column 64 = the biases),
// row blocks z (0-63), r (64-127), n (128-191).
struct alignas(64) GruLayer {
    float ih[kExtended * kGateRows];
    float hh[kExtended * kGateRows];
};

// The same network laid out for the fast kernels: six products, each a group of four
// 32-row tiles stored column by column (column c = the rows of tiles 0, 1, 2, 3 for
// input c, 128 contiguous floats), so a step reads each group as one sequential stream.
// The input dense layer is folded into the first GRU: Wih1 (w x + b) + bih1 =
// slope x + offset, a rank-one term instead of a 192 x 64 product.
struct alignas(64) FastLayout {
    // Gate products: zr = W[zr] v for the 128 z and r rows, tiles z0 z1 r0 r1 all over v.
    using GateGroup = float[kUnits][kGroup];
    // Candidate products: W[n] v for the 64 n rows, the columns in two halves so that
    // four tiles (and more accumulators) run at once: n0 over v[0..31], n0 over
    // v[32..63], n1 over v[0..31], n1 over v[32..63]; the halves are added after.
    using CandidateGroup = float[kUnits / 2][kGroup];

    // First GRU: zr = zrSlope1 x + zrBias1 + Whh1[zr] h1; an = nSlope1 x + nInputBias1;
    // bn = nHiddenBias1 + Whh1[n] h1.
    alignas(64) GateGroup zr1;
    alignas(64) CandidateGroup n1;
    alignas(64) float zrSlope1[2 * kUnits]; // Wih1[zr] w
    alignas(64) float zrBias1[2 * kUnits];  // Wih1[zr] b + bih1[zr] + bhh1[zr]
    alignas(64) float nSlope1[kUnits];      // Wih1[n] w
    alignas(64) float nInputBias1[kUnits];  // Wih1[n] b + bih1[n]
    alignas(64) float nHiddenBias1[kUnits]; // bhh1[n], scaled by r with the product
    // Second GRU: zr = zrBias2 + Whh2[zr] h2 + Wih2[zr] h1; an = nInputBias2 + Wih2[n] h1;
    // bn = nHiddenBias2 + Whh2[n] h2. The h2 products come first: they do not wait for
    // the first layer's new h1.
    alignas(64) GateGroup zr2h;
    alignas(64) CandidateGroup n2h;
    alignas(64) GateGroup zr2i;
    alignas(64) CandidateGroup n2i;
    alignas(64) float zrBias2[2 * kUnits]; // bih2[zr] + bhh2[zr]
    alignas(64) float nInputBias2[kUnits];
    alignas(64) float nHiddenBias2[kUnits];
    alignas(64) float outW[kUnits];
    float outB = 0.0f;
};

// The weights of one model: the straightforward layout (what the loader fills and the
// reference step reads) and the fast layout derived from it. Immutable once built.
struct alignas(64) ModelWeights {
    // Input dense: d[i] = inW[i] x + inB[i].
    alignas(64) float inW[kUnits] = {};
    alignas(64) float inB[kUnits] = {};
    GruLayer gru1 = {};
    GruLayer gru2 = {};
    // Output dense: out = outW . h2 + outB.
    alignas(64) float outW[kUnits] = {};
    float outB = 0.0f;
    FastLayout fast = {};

    // Derives the fast layout from the straightforward one (after every fill).
    void buildFastLayout();
};

// Hidden state of one channel: h1 (first GRU) then h2 (second GRU), and the last output.
struct alignas(64) NetworkState {
    alignas(64) float h[2 * kUnits] = {};
    float output = 0.0f;
};

namespace detail {
// One forward step of each implementation; each returns the output and updates state.
float stepReference(const ModelWeights& w, NetworkState& s, float x);
float stepPortable(const ModelWeights& w, NetworkState& s, float x);
float stepAvx2(const ModelWeights& w, NetworkState& s, float x);
float stepAvx512(const ModelWeights& w, NetworkState& s, float x);
} // namespace detail

} // namespace Korvane
