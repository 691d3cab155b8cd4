#include "PlainEigenStep.h"

#include <Eigen/Core>

namespace Korvane::bench {

namespace {

constexpr int kUnits = 64, kRows = 192;
using Matrix = Eigen::Matrix<float, kRows, kUnits, Eigen::RowMajor>;
using Vector = Eigen::Matrix<float, kUnits, 1>;
using Gates = Eigen::Matrix<float, kRows, 1>;

struct Gru {
    Matrix ih, hh;
    Gates bih, bhh;

    Gru(const float* wi, const float* wh, const float* bi, const float* bh)
        : ih(Eigen::Map<const Matrix>(wi)), hh(Eigen::Map<const Matrix>(wh)),
          bih(Eigen::Map<const Gates>(bi)), bhh(Eigen::Map<const Gates>(bh)) {}

    // r, z = logistic(a + b); n = tanh(a_n + r b_n); h = (1 - z) n + z h.
    void step(const Vector& u, Vector& h) const {
        const Gates a = ih * u + bih;
        const Gates b = hh * h + bhh;
        const auto r = (a.head<kUnits>() + b.head<kUnits>()).array().logistic();
        const auto z = (a.segment<kUnits>(kUnits) + b.segment<kUnits>(kUnits)).array().logistic();
        const Vector n = (a.tail<kUnits>().array() + r * b.tail<kUnits>().array()).tanh().matrix();
        h = ((1.0f - z) * n.array() + z * h.array()).matrix();
    }
};

} // namespace

struct PlainEigenNetwork::Impl {
    Vector inW, inB;
    Gru gru1, gru2;
    Vector outW;
    float outB;
    Vector h1 = Vector::Zero(), h2 = Vector::Zero();

    explicit Impl(const PlainEigenArrays& a)
        : inW(Eigen::Map<const Vector>(a.inW)), inB(Eigen::Map<const Vector>(a.inB)),
          gru1(a.ih1, a.hh1, a.bih1, a.bhh1), gru2(a.ih2, a.hh2, a.bih2, a.bhh2),
          outW(Eigen::Map<const Vector>(a.outW)), outB(a.outB) {}
};

PlainEigenNetwork::PlainEigenNetwork(const PlainEigenArrays& arrays)
    : impl(std::make_unique<Impl>(arrays)) {}

PlainEigenNetwork::~PlainEigenNetwork() = default;

float PlainEigenNetwork::step(float x) {
    Impl& s = *impl;
    const Vector d = s.inW * x + s.inB;
    s.gru1.step(d, s.h1);
    s.gru2.step(s.h1, s.h2);
    return s.outW.dot(s.h2) + s.outB;
}

} // namespace Korvane::bench
