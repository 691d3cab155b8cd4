#include "TestSupport.h"

#include "Korvane/ModelProcessor.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <stdexcept>

namespace Korvane::testing {

namespace {

GruArrays gruOf(float value) {
    return {std::vector<float>(kGateRows * kUnits, value),
            std::vector<float>(kGateRows * kUnits, value), std::vector<float>(kGateRows, value),
            std::vector<float>(kGateRows, value)};
}

void fill(std::vector<float>& v, std::mt19937& rng, float scale) {
    std::uniform_real_distribution<float> d(-scale, scale);
    for (float& x : v)
        x = d(rng);
}

void writeNumbers(std::string& out, const float* v, int n, int digits) {
    char buffer[40];
    out += '[';
    for (int i = 0; i < n; ++i) {
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, double(v[i]));
        if (i > 0)
            out += ", ";
        out += buffer;
    }
    out += ']';
}

void writeRows(std::string& out, const float* v, int rows, int columns, int digits) {
    out += '[';
    for (int r = 0; r < rows; ++r) {
        if (r > 0)
            out += ", ";
        writeNumbers(out, v + r * columns, columns, digits);
    }
    out += ']';
}

double sigmoid(double a) {
    return 1.0 / (1.0 + std::exp(-a));
}

} // namespace

DocumentArrays zeroArrays() {
    return {std::vector<float>(kUnits, 0.0f),
            std::vector<float>(kUnits, 0.0f),
            gruOf(0.0f),
            gruOf(0.0f),
            std::vector<float>(kUnits, 0.0f),
            0.0f};
}

DocumentArrays randomArrays(unsigned seed, float scale) {
    std::mt19937 rng(seed);
    DocumentArrays a = zeroArrays();
    for (auto* v : {&a.inW, &a.inB, &a.gru1.ih, &a.gru1.hh, &a.gru1.bih, &a.gru1.bhh, &a.gru2.ih,
                    &a.gru2.hh, &a.gru2.bih, &a.gru2.bhh, &a.outW})
        fill(*v, rng, scale);
    a.outB = std::uniform_real_distribution<float>(-scale, scale)(rng);
    return a;
}

std::string writeDocument(const DocumentArrays& a, const std::string& omitKey, int digits) {
    std::string out = "{";
    bool first = true;
    const auto key = [&](const std::string& name) {
        if (name == omitKey)
            return false;
        if (!first)
            out += ", ";
        first = false;
        out += "\"" + name + "\": ";
        return true;
    };
    if (key("_orig_mod.input_dense.weight"))
        writeRows(out, a.inW.data(), kUnits, 1, digits);
    if (key("_orig_mod.input_dense.bias"))
        writeNumbers(out, a.inB.data(), kUnits, digits);
    for (const auto& [prefix, g] : {std::pair{std::string("_orig_mod.gru."), &a.gru1},
                                    std::pair{std::string("_orig_mod.gru2."), &a.gru2}}) {
        if (key(prefix + "weight_ih_l0"))
            writeRows(out, g->ih.data(), kGateRows, kUnits, digits);
        if (key(prefix + "weight_hh_l0"))
            writeRows(out, g->hh.data(), kGateRows, kUnits, digits);
        if (key(prefix + "bias_ih_l0"))
            writeNumbers(out, g->bih.data(), kGateRows, digits);
        if (key(prefix + "bias_hh_l0"))
            writeNumbers(out, g->bhh.data(), kGateRows, digits);
    }
    if (key("_orig_mod.output_dense.weight"))
        writeRows(out, a.outW.data(), 1, kUnits, digits);
    if (key("_orig_mod.output_dense.bias"))
        writeNumbers(out, &a.outB, 1, digits);
    out += "}";
    return out;
}

std::string replaceFirstNumber(const std::string& text, const std::string& key,
                               const std::string& replacement) {
    const std::size_t at = text.find("\"" + key + "\": ");
    if (at == std::string::npos)
        throw std::logic_error("no key " + key);
    const std::size_t begin = text.find_first_not_of("[ ", text.find('[', at));
    std::size_t end = text.find_first_of(",]", begin);
    if (replacement.empty() && text[end] == ',')
        end += 2; // the separator ", " goes with the number
    return text.substr(0, begin) + replacement + text.substr(end);
}

std::shared_ptr<const ModelWeights> parse(const std::string& text) {
    return parseModelWeights(reinterpret_cast<const unsigned char*>(text.data()),
                             unsigned(text.size()));
}

void load(ModelProcessor& processor, const std::string& text) {
    processor.loadModel(reinterpret_cast<const unsigned char*>(text.data()), unsigned(text.size()));
}

void DoubleNetwork::gru(const GruArrays& g, const std::vector<double>& u,
                        std::vector<double>& h) const {
    // PyTorch order: rows 0-63 r, 64-127 z, 128-191 n.
    std::vector<double> a(kGateRows), b(kGateRows);
    for (int row = 0; row < kGateRows; ++row) {
        a[row] = g.bih[row];
        b[row] = g.bhh[row];
        for (int j = 0; j < kUnits; ++j) {
            a[row] += double(g.ih[row * kUnits + j]) * u[j];
            b[row] += double(g.hh[row * kUnits + j]) * h[j];
        }
    }
    for (int k = 0; k < kUnits; ++k) {
        const double r = sigmoid(a[k] + b[k]);
        const double z = sigmoid(a[kUnits + k] + b[kUnits + k]);
        const double n = std::tanh(a[2 * kUnits + k] + r * b[2 * kUnits + k]);
        h[k] = (1.0 - z) * n + z * h[k];
    }
}

double DoubleNetwork::step(double x) {
    std::vector<double> d(kUnits);
    for (int i = 0; i < kUnits; ++i)
        d[i] = double(a.inW[i]) * x + a.inB[i];
    gru(a.gru1, d, h1);
    gru(a.gru2, h1, h2);
    double out = a.outB;
    for (int j = 0; j < kUnits; ++j)
        out += double(a.outW[j]) * h2[j];
    return out;
}

std::vector<KernelPath> supportedPaths() {
    std::vector<KernelPath> paths;
    for (KernelPath p :
         {KernelPath::Reference, KernelPath::Portable, KernelPath::Avx2, KernelPath::Avx512})
        if (kernelPathSupported(p))
            paths.push_back(p);
    return paths;
}

ScopedKernelPath::ScopedKernelPath(KernelPath path) : previous(kernelPath()) {
    if (!setKernelPath(path))
        throw std::logic_error("kernel path not supported");
}

ScopedKernelPath::~ScopedKernelPath() {
    setKernelPath(previous);
}

} // namespace Korvane::testing
