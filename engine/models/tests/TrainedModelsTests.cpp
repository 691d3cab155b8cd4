// The four trained delay-line models as the engine embeds them: each loads, keeps its
// small-signal gain at the inverse of the kernel's output gain, returns to silence,
// sounds unlike the others and unlike a wire, folds no loud harmonics of high tones
// back into the band and distorts a 1 kHz tone about as much as its reference line.
#include "BinaryData.h"
#include "Korvane/ModelProcessor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

namespace {

constexpr double kRate = 44100.0;

struct Model {
    const char* name;
    const unsigned char* data;
    unsigned int size;
    float kernelGain;       // the kernel's output gain G: the model's small-signal gain is 1/G
    double gainAtMinus20dB; // the reference line's gain at -20 dBFS, where it begins to compress
    double referenceThd;    // the reference line's THD of a 1 kHz sine at -18 dBFS, in per cent
    double thdCeiling;      // the most THD the network may give that sine, in per cent
    double aliasCeiling;    // dBFS that no folded harmonic of a loud high sine reaches
};

const std::array<Model, 4> kModels{{
    {"bbd1", BinaryData::model13_json, BinaryData::model13_jsonSize, 0.631f, 3.72, 1.32, 2.2,
     -46.0},
    {"bbd2", BinaryData::model12_json, BinaryData::model12_jsonSize, 0.582f, 4.10, 2.59, 3.0,
     -33.0},
    {"pt1", BinaryData::model19_json, BinaryData::model19_jsonSize, 1.0f, -0.07, 0.34, 0.5, -40.0},
    {"pt2", BinaryData::model18_json, BinaryData::model18_jsonSize, 1.06f, -0.68, 0.70, 0.76,
     -39.0},
}};

std::unique_ptr<Korvane::ModelProcessor> load(const Model& m) {
    auto p = std::make_unique<Korvane::ModelProcessor>(1);
    p->loadModel(m.data, m.size);
    p->setupProcessing(kRate, 512);
    return p;
}

std::vector<float> run(Korvane::ModelProcessor& p, const std::vector<float>& x) {
    std::vector<float> y(x.size());
    std::transform(x.begin(), x.end(), y.begin(), [&](float v) { return p.processSample(v); });
    return y;
}

std::vector<float> sine(double amplitude, double hz, int frames) {
    std::vector<float> x(frames);
    for (int i = 0; i < frames; ++i)
        x[i] = float(amplitude * std::sin(2.0 * std::numbers::pi * hz * i / kRate));
    return x;
}

// RMS over [from, end).
double rms(const std::vector<float>& x, std::size_t from) {
    double sum = 0.0;
    for (std::size_t i = from; i < x.size(); ++i)
        sum += double(x[i]) * x[i];
    return std::sqrt(sum / double(x.size() - from));
}

double dB(double v) {
    return 20.0 * std::log10(std::max(v, 1e-5));
}

TEST(TrainedModels, EachLoadsAndPassesSmallSinesAtTheirExpectedGain) {
    for (const Model& m : kModels) {
        SCOPED_TRACE(m.name);
        struct Level {
            double amplitude, expectedDb;
        };
        for (const Level level : {Level{0.01, -dB(m.kernelGain)}, // -40 dBFS: 1/G
                                  Level{0.1, m.gainAtMinus20dB}}) {
            SCOPED_TRACE(level.amplitude);
            auto p = load(m); // from rest
            ASSERT_TRUE(p->isLoaded());
            const auto x = sine(level.amplitude, 1000.0, int(kRate / 2));
            const auto y = run(*p, x);
            EXPECT_NEAR(dB(rms(y, x.size() / 2) / rms(x, x.size() / 2)), level.expectedDb, 1.0);
        }
    }
}

TEST(TrainedModels, SilenceAfterABurstStaysBelowMinus120dBFS) {
    // 0.2 s of loud noise, then silence; the last second must be silent (no limit
    // cycle, no offset), with the processor's gate closed as it is in use.
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> noise(-0.7f, 0.7f);
    std::vector<float> x(int(kRate * 3), 0.0f);
    std::generate_n(x.begin(), int(kRate * 0.2), [&] { return noise(rng); });
    for (const Model& m : kModels) {
        SCOPED_TRACE(m.name);
        auto p = load(m);
        const auto y = run(*p, x);
        float peak = 0.0f;
        for (std::size_t i = x.size() - std::size_t(kRate); i < x.size(); ++i)
            peak = std::max(peak, std::fabs(y[i]));
        EXPECT_LT(peak, 1e-6f); // -120 dBFS
    }
}

// Level of each tone of a multi-tone signal after a model, in dB: a coarse spectrum
// that shows the line's filters and its level-dependent colouring.
constexpr std::array<double, 8> kTones{100, 300, 1000, 3000, 6000, 9000, 12000, 16000};

std::vector<double> toneLevels(const std::vector<float>& y) {
    std::vector<double> levels;
    const std::size_t from = y.size() / 2;
    for (double hz : kTones) {
        double re = 0.0, im = 0.0;
        for (std::size_t i = from; i < y.size(); ++i) {
            const double w = 2.0 * std::numbers::pi * hz * double(i) / kRate;
            re += y[i] * std::cos(w);
            im += y[i] * std::sin(w);
        }
        levels.push_back(dB(2.0 * std::hypot(re, im) / double(y.size() - from)));
    }
    return levels;
}

double rmsDifference(const std::vector<double>& a, const std::vector<double>& b) {
    double sum = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += (a[i] - b[i]) * (a[i] - b[i]);
    return std::sqrt(sum / double(a.size()));
}

TEST(TrainedModels, DifferFromEachOtherAndFromAWireByMoreThan3dBAcrossTheSpectrum) {
    const int frames = int(kRate / 2);
    std::vector<float> x(frames, 0.0f);
    for (std::size_t k = 0; k < kTones.size(); ++k)
        for (int i = 0; i < frames; ++i)
            x[i] += float(0.08 * std::sin(2.0 * std::numbers::pi * kTones[k] * i / kRate + k));
    std::vector<std::vector<double>> spectra{toneLevels(x)}; // the wire
    for (const Model& m : kModels) {
        auto p = load(m);
        spectra.push_back(toneLevels(run(*p, x)));
    }
    for (std::size_t a = 0; a < spectra.size(); ++a)
        for (std::size_t b = a + 1; b < spectra.size(); ++b) {
            SCOPED_TRACE(::testing::Message() << (a == 0 ? "wire" : kModels[a - 1].name) << " vs "
                                              << kModels[b - 1].name);
            EXPECT_GT(rmsDifference(spectra[a], spectra[b]), 3.0);
        }
}

// Amplitude of the component at a whole number of hertz over the last second of y (a
// full-scale sine reads 1), through a 4-term Blackman-Harris window: over one second a
// tone of whole hertz sits on a bin and leaks nowhere beyond three bins either side.
double amplitudeAt(const std::vector<float>& y, int hz) {
    const std::size_t n = std::size_t(kRate), from = y.size() - n;
    double re = 0.0, im = 0.0, sum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double a = 2.0 * std::numbers::pi * double(i) / double(n);
        const double w =
            0.35875 - 0.48829 * std::cos(a) + 0.14128 * std::cos(2 * a) - 0.01168 * std::cos(3 * a);
        const double phase = 2.0 * std::numbers::pi * double(hz) * double(i) / kRate;
        re += w * y[from + i] * std::cos(phase);
        im += w * y[from + i] * std::sin(phase);
        sum += w;
    }
    return 2.0 * std::hypot(re, im) / sum;
}

double dBFS(double amplitude) {
    return 20.0 * std::log10(std::max(amplitude, 1e-12));
}

// Half a second to settle, then the analysed second.
std::vector<float> settledSine(double dBFSLevel, double hz) {
    return sine(std::pow(10.0, dBFSLevel / 20.0), hz, int(kRate * 1.5));
}

TEST(TrainedModels, LoudHighSinesFoldNoHarmonicsBackIntoTheBand) {
    // A network that distorts a high tone its line all but removes folds the
    // harmonics above 22.05 kHz back into the band: 3 x 15 kHz lands at 900 Hz.
    struct Case {
        const char* what;
        int hz;
        double dBFSLevel;
    };
    const Case cases[] = {
        {"10 kHz at -6 dBFS", 10000, -6.0},   {"15 kHz at -6 dBFS", 15000, -6.0},
        {"18 kHz at -6 dBFS", 18000, -6.0},   {"20 kHz at -6 dBFS", 20000, -6.0},
        {"15 kHz at -18 dBFS", 15000, -18.0},
    };
    for (const Model& m : kModels) {
        SCOPED_TRACE(m.name);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            auto p = load(m);
            const auto y = run(*p, settledSine(c.dBFSLevel, c.hz));
            for (int k = 2; k <= 7; ++k) {
                if (k * c.hz <= int(kRate) / 2)
                    continue; // a harmonic in the band is the line's own colouring
                int at = (k * c.hz) % int(kRate);
                at = std::min(at, int(kRate) - at);
                SCOPED_TRACE(::testing::Message() << "harmonic " << k << " at " << at << " Hz");
                EXPECT_LT(dBFS(amplitudeAt(y, at)), m.aliasCeiling);
            }
        }
    }
}

TEST(TrainedModels, DistortAOneKilohertzToneAboutAsMuchAsTheirReferenceLine) {
    for (const Model& m : kModels) {
        SCOPED_TRACE(m.name);
        auto p = load(m);
        const auto y = run(*p, settledSine(-18.0, 1000.0));
        double harmonics = 0.0;
        for (int hz = 2000; hz <= int(kRate) / 2; hz += 1000)
            harmonics += std::pow(amplitudeAt(y, hz), 2.0);
        const double thd = 100.0 * std::sqrt(harmonics) / amplitudeAt(y, 1000);
        EXPECT_LT(thd, m.thdCeiling);
        EXPECT_GT(thd, 0.5 * m.referenceThd); // the line's colouring is still there
    }
}

} // namespace
