// The straightforward network step (Eigen), the derivation of the fast layout, and the
// choice of kernel at run time.
#include "Korvane/ModelNetwork.h"

#include <Eigen/Core>

#include <atomic>
#include <cstdlib>
#include <strings.h>

namespace Korvane {

namespace {

using GruMatrix = Eigen::Map<const Eigen::Matrix<float, kGateRows, kExtended>, Eigen::Aligned64>;
using Vec64 = Eigen::Array<float, kUnits, 1>;
using Vec192 = Eigen::Matrix<float, kGateRows, 1>;

// One GRU step on [u; 1] with carried state h (both 64 values); h is updated in place.
void gruStep(const GruLayer& layer, const float* u, float* h) {
    Eigen::Matrix<float, kExtended, 1> input, hidden;
    input.head<kUnits>() = Eigen::Map<const Eigen::Matrix<float, kUnits, 1>>(u);
    input(kUnits) = 1.0f;
    hidden.head<kUnits>() = Eigen::Map<const Eigen::Matrix<float, kUnits, 1>>(h);
    hidden(kUnits) = 1.0f;
    // A = Wih [u; 1], B = Whh [h; 1]: column 64 carries each product's bias.
    const Vec192 a = GruMatrix(layer.ih) * input;
    const Vec192 b = GruMatrix(layer.hh) * hidden;
    // g = 1 / (exp(-(A + B)) + 1) for the z and r rows.
    const Eigen::Array<float, 2 * kUnits, 1> g =
        ((-(a.head<2 * kUnits>() + b.head<2 * kUnits>())).array().exp() + 1.0f).inverse();
    // c = tanh(A_n + r B_n): the recurrent candidate bias is scaled by r.
    const Vec64 c = (a.tail<kUnits>().array() + g.tail<kUnits>() * b.tail<kUnits>().array()).tanh();
    // h = c + z (h - c).
    Eigen::Map<Vec64> state(h);
    state = c + g.head<kUnits>() * (state - c);
}

KernelPath initialPath() {
    KernelPath path;
    const char* name = std::getenv("KORVANE_KERNEL_PATH");
    if (name != nullptr && kernelPathFromName(name, path) && kernelPathSupported(path))
        return path;
    return bestKernelPath();
}

std::atomic<int>& pathSlot() {
    static std::atomic<int> slot{static_cast<int>(initialPath())};
    return slot;
}

} // namespace

namespace detail {

float stepReference(const ModelWeights& w, NetworkState& s, float x) {
    // d = W [x; 1]: weights times x plus biases.
    alignas(64) float d[kUnits];
    Eigen::Map<Vec64> dense(d);
    dense = Eigen::Map<const Vec64>(w.inW) * x + Eigen::Map<const Vec64>(w.inB);
    gruStep(w.gru1, d, s.h);
    gruStep(w.gru2, s.h, s.h + kUnits);
    // out = w . h2 + b.
    s.output = Eigen::Map<const Vec64>(w.outW).matrix().dot(
                   Eigen::Map<const Vec64>(s.h + kUnits).matrix()) +
               w.outB;
    return s.output;
}

} // namespace detail

void ModelWeights::buildFastLayout() {
    FastLayout& f = fast;
    const auto at = [](const float* m, int column, int row) { return m[column * kGateRows + row]; };
    for (int c = 0; c < kUnits; ++c) {
        for (int row = 0; row < kGateRows; ++row) {
            const int block = row / kBlockRows, slot = row % kBlockRows;
            f.hh1[block][c][slot] = at(gru1.hh, c, row);
            f.hh2[block][c][slot] = at(gru2.hh, c, row);
            f.ih2[block][c][slot] = at(gru2.ih, c, row);
        }
    }
    // Fold the input dense layer: Wih1 (w x + b) + bih1 = (Wih1 w) x + (Wih1 b + bih1),
    // summed in double so the fold adds no more than one rounding.
    for (int row = 0; row < kGateRows; ++row) {
        double slope = 0.0, offset = at(gru1.ih, kUnits, row);
        for (int j = 0; j < kUnits; ++j) {
            slope += double(at(gru1.ih, j, row)) * inW[j];
            offset += double(at(gru1.ih, j, row)) * inB[j];
        }
        f.slope1[row] = float(slope);
        if (row < 2 * kUnits) {
            f.bias1[row] = float(offset + at(gru1.hh, kUnits, row));
            f.bias2[row] = float(double(at(gru2.ih, kUnits, row)) + at(gru2.hh, kUnits, row));
        } else {
            const int k = row - 2 * kUnits;
            f.bias1[row] = float(offset);
            f.bias2[row] = at(gru2.ih, kUnits, row);
            f.hiddenBias1[k] = at(gru1.hh, kUnits, row);
            f.hiddenBias2[k] = at(gru2.hh, kUnits, row);
        }
    }
    for (int j = 0; j < kUnits; ++j)
        f.outW[j] = outW[j];
    f.outB = outB;
}

bool kernelPathSupported(KernelPath path) {
    __builtin_cpu_init();
    switch (path) {
    case KernelPath::Reference:
    case KernelPath::Portable:
        return true;
    case KernelPath::Avx2:
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    case KernelPath::Avx512:
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("fma");
    }
    return false;
}

KernelPath bestKernelPath() {
    for (KernelPath path : {KernelPath::Avx512, KernelPath::Avx2})
        if (kernelPathSupported(path))
            return path;
    return KernelPath::Portable;
}

bool setKernelPath(KernelPath path) {
    if (!kernelPathSupported(path))
        return false;
    pathSlot().store(static_cast<int>(path), std::memory_order_relaxed);
    return true;
}

KernelPath kernelPath() {
    return static_cast<KernelPath>(pathSlot().load(std::memory_order_relaxed));
}

const char* kernelPathName(KernelPath path) {
    switch (path) {
    case KernelPath::Reference:
        return "Reference";
    case KernelPath::Portable:
        return "Portable";
    case KernelPath::Avx2:
        return "Avx2";
    case KernelPath::Avx512:
        return "Avx512";
    }
    return "?";
}

bool kernelPathFromName(const char* name, KernelPath& path) {
    for (KernelPath p :
         {KernelPath::Reference, KernelPath::Portable, KernelPath::Avx2, KernelPath::Avx512}) {
        if (strcasecmp(name, kernelPathName(p)) == 0) {
            path = p;
            return true;
        }
    }
    return false;
}

void ModelNetwork::setWeights(std::shared_ptr<const ModelWeights> weights) {
    shared = std::move(weights);
    resetState();
}

void ModelNetwork::resetState() {
    state = NetworkState{};
}

float ModelNetwork::step(float x) {
    if (!shared)
        return 0.0f;
    switch (kernelPath()) {
    case KernelPath::Reference:
        return detail::stepReference(*shared, state, x);
    case KernelPath::Portable:
        return detail::stepPortable(*shared, state, x);
    case KernelPath::Avx2:
        return detail::stepAvx2(*shared, state, x);
    case KernelPath::Avx512:
        return detail::stepAvx512(*shared, state, x);
    }
    return 0.0f;
}

void ModelNetwork::stepPair(ModelNetwork& a, float xa, ModelNetwork& b, float xb) {
    if (!a.shared || a.shared != b.shared || &a == &b) {
        a.step(xa);
        b.step(xb);
        return;
    }
    const ModelWeights& w = *a.shared;
    switch (kernelPath()) {
    case KernelPath::Reference:
        detail::stepReference(w, a.state, xa);
        detail::stepReference(w, b.state, xb);
        return;
    case KernelPath::Portable:
        return detail::stepPairPortable(w, a.state, xa, b.state, xb);
    case KernelPath::Avx2:
        return detail::stepPairAvx2(w, a.state, xa, b.state, xb);
    case KernelPath::Avx512:
        return detail::stepPairAvx512(w, a.state, xa, b.state, xb);
    }
}

} // namespace Korvane
