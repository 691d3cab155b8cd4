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
constexpr int kBlockRows = 48;        // rows per block of the fast layout
constexpr int kBlocks = kGateRows / kBlockRows;

// One GRU layer as the straightforward network stores it: two 192 x 65 matrices,
// column-major (column j = the 192 gate weights of input j, column 64 = the biases),
// row blocks z (0-63), r (64-127), n (128-191).
struct alignas(64) GruLayer {
    float ih[kExtended * kGateRows];
    float hh[kExtended * kGateRows];
};

// The same network laid out for the fast kernels: three 192 x 64 products, each stored
// as four blocks of 48 rows, block by block and within a block column by column (the
// 48 rows of one input are 192 contiguous bytes), so that a pass over some rows for all
// 64 inputs reads a few sequential streams. The biases are added after the products,
// and the input dense layer is folded into the first GRU: Wih1 (w x + b) + bih1 =
// slope x + offset, a rank-one term instead of a 192 x 64 product.
//   first GRU:  zr = slope1 x + bias1 + Whh1[zr] h1,
//               n  = tanh(slope1 x + bias1 + r (Whh1[n] h1 + hiddenBias1));
//   second GRU: zr = Wih2[zr] h1 + Whh2[zr] h2 + bias2,
//               n  = tanh(Wih2[n] h1 + bias2 + r (Whh2[n] h2 + hiddenBias2)).
struct alignas(64) FastLayout {
    using Product = float[kBlocks][kUnits][kBlockRows];

    alignas(64) Product hh1;               // Whh1
    alignas(64) Product hh2;               // Whh2
    alignas(64) Product ih2;               // Wih2
    alignas(64) float slope1[kGateRows];   // Wih1 w
    alignas(64) float bias1[kGateRows];    // zr: Wih1 b + bih1 + bhh1; n: Wih1 b + bih1
    alignas(64) float hiddenBias1[kUnits]; // bhh1[n], scaled by r with the product
    alignas(64) float bias2[kGateRows];    // zr: bih2 + bhh2; n: bih2
    alignas(64) float hiddenBias2[kUnits]; // bhh2[n]
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
// One forward step of two channels over the same weights, each channel's arithmetic
// exactly that of the single step (so the outputs are the same, bit for bit); the
// outputs are left in a.output and b.output.
void stepPairPortable(const ModelWeights& w, NetworkState& a, float xa, NetworkState& b, float xb);
void stepPairAvx2(const ModelWeights& w, NetworkState& a, float xa, NetworkState& b, float xb);
void stepPairAvx512(const ModelWeights& w, NetworkState& a, float xa, NetworkState& b, float xb);
} // namespace detail

} // namespace Korvane
