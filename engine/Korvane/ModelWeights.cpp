// Parsing and checking of one weight document. The document holds the gate blocks in
// the order r, z, n; the network keeps z, r, n, so the first two 64-row blocks swap.
#include "Korvane/ModelNetwork.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cmath>
#include <iostream>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace Korvane {

namespace {

using Json = nlohmann::json;

void report(const std::string& message) {
    std::cerr << message << std::endl;
}

[[noreturn]] void fail(const std::string& key, const std::string& what) {
    throw std::runtime_error("key '" + key + "' " + what);
}

// One number as a 32-bit float: a JSON number (not a boolean, whose conversion the
// library would allow) that stays finite as a float.
float number(const Json& value, const std::string& key) {
    if (value.is_boolean())
        fail(key, "holds a boolean where a number is expected");
    const float v = value.get<float>(); // the library's type error for any other kind
    if (!std::isfinite(v))
        fail(key, "holds a number that is not finite as a 32-bit float");
    return v;
}

// The array under key, which must hold exactly size entries.
const Json& array(const Json& doc, const std::string& key, std::size_t size) {
    const Json& value = doc.at(key);
    if (!value.is_array() || value.size() != size)
        fail(key, "must be an array of " + std::to_string(size) + " entries");
    return value;
}

// Reads key as a [rows][columns] array of numbers into out[r * columns + c].
void readMatrix(const Json& doc, const std::string& key, int rows, int columns, float* out) {
    const Json& outer = array(doc, key, rows);
    for (int r = 0; r < rows; ++r) {
        const Json& inner = outer[r];
        if (!inner.is_array() || inner.size() != std::size_t(columns))
            fail(key, "must hold arrays of " + std::to_string(columns) + " numbers");
        for (int c = 0; c < columns; ++c)
            out[r * columns + c] = number(inner[c], key);
    }
}

void readVector(const Json& doc, const std::string& key, int size, float* out) {
    const Json& values = array(doc, key, size);
    for (int i = 0; i < size; ++i)
        out[i] = number(values[i], key);
}

// Document row (r, z, n order) to network row (z, r, n order): the first two blocks swap.
int gateRow(int documentRow) {
    if (documentRow < kUnits)
        return documentRow + kUnits;
    if (documentRow < 2 * kUnits)
        return documentRow - kUnits;
    return documentRow;
}

// Matrix [192][64] under key into columns 0-63 of a 192 x 65 column-major matrix, and
// the 192 biases under biasKey into its column 64.
void readGruMatrix(const Json& doc, const std::string& key, const std::string& biasKey,
                   float* matrix) {
    std::vector<float> rows(kGateRows * kUnits);
    readMatrix(doc, key, kGateRows, kUnits, rows.data());
    for (int r = 0; r < kGateRows; ++r)
        for (int j = 0; j < kUnits; ++j)
            matrix[j * kGateRows + gateRow(r)] = rows[r * kUnits + j];
    float bias[kGateRows];
    readVector(doc, biasKey, kGateRows, bias);
    for (int r = 0; r < kGateRows; ++r)
        matrix[kUnits * kGateRows + gateRow(r)] = bias[r];
}

void readGru(const Json& doc, const std::string& prefix, int index, GruLayer& layer) {
    const std::string n = std::to_string(index);
    readGruMatrix(doc, prefix + "weight_ih_l" + n, prefix + "bias_ih_l" + n, layer.ih);
    readGruMatrix(doc, prefix + "weight_hh_l" + n, prefix + "bias_hh_l" + n, layer.hh);
}

// Refuses weights whose sums could leave the range of a float, where the network's
// output would turn infinite or NaN. With |x| <= kInputBound (the model processor
// keeps its input below 1) and |h| <= 1 (every hidden unit mixes tanh outputs and
// earlier states), each pre-activation is bounded by its row's absolute sum:
//   |d_j| <= |inW_j| X + |inB_j|,  |W v + b|_r <= sum_j |W_rj| |v_j| + |b_r|,
// and the output by sum_j |outW_j| + |outB|. Every bound must stay well inside the
// range; the margin covers rounding and the folded sums of the fast layout.
void requireBoundedSums(const ModelWeights& w) {
    constexpr double kInputBound = 16.0;
    const double limit = double(std::numeric_limits<float>::max()) / 1024.0;
    const std::string tooLarge = "holds weights whose sums exceed a float's range";
    std::array<double, kUnits> dense;
    for (int j = 0; j < kUnits; ++j) {
        dense[j] = std::fabs(w.inW[j]) * kInputBound + std::fabs(w.inB[j]);
        if (!(dense[j] <= limit))
            fail("_orig_mod.input_dense.weight", tooLarge);
    }
    std::array<double, kUnits> hidden;
    hidden.fill(1.0);
    // A 192 x 65 column-major matrix, column 64 the biases, over inputs of these bounds.
    auto requireRows = [&](const float* matrix, const std::array<double, kUnits>& inputs,
                           const std::string& key) {
        for (int r = 0; r < kGateRows; ++r) {
            double sum = std::fabs(matrix[kUnits * kGateRows + r]);
            for (int j = 0; j < kUnits; ++j)
                sum += std::fabs(matrix[j * kGateRows + r]) * inputs[j];
            if (!(sum <= limit))
                fail(key, tooLarge);
        }
    };
    requireRows(w.gru1.ih, dense, "_orig_mod.gru.weight_ih_l0");
    requireRows(w.gru1.hh, hidden, "_orig_mod.gru.weight_hh_l0");
    requireRows(w.gru2.ih, hidden, "_orig_mod.gru2.weight_ih_l0");
    requireRows(w.gru2.hh, hidden, "_orig_mod.gru2.weight_hh_l0");
    double out = std::fabs(w.outB);
    for (int j = 0; j < kUnits; ++j)
        out += std::fabs(w.outW[j]);
    if (!(out <= limit))
        fail("_orig_mod.output_dense.weight", tooLarge);
}

std::shared_ptr<ModelWeights> readDocument(const unsigned char* data, unsigned int size) {
    const Json doc = Json::parse(data, data + size, nullptr, /*allow_exceptions=*/true,
                                 /*ignore_comments=*/false);
    auto w = std::make_shared<ModelWeights>();
    const std::string in = "_orig_mod.input_dense.";
    readMatrix(doc, in + "weight", kUnits, 1, w->inW);
    readVector(doc, in + "bias", kUnits, w->inB);
    readGru(doc, "_orig_mod.gru.", 0, w->gru1);
    readGru(doc, "_orig_mod.gru2.", 0, w->gru2);
    const std::string out = "_orig_mod.output_dense.";
    readMatrix(doc, out + "weight", 1, kUnits, w->outW);
    readVector(doc, out + "bias", 1, &w->outB);
    requireBoundedSums(*w);
    w->buildFastLayout();
    return w;
}

} // namespace

std::shared_ptr<const ModelWeights> parseModelWeights(const unsigned char* data,
                                                      unsigned int size) {
    if (data == nullptr || size == 0) {
        report("ModelProcessor: Data is null or size is 0");
        return nullptr;
    }
    try {
        return readDocument(data, size);
    } catch (const std::exception& e) {
        report(std::string("ModelProcessor: Failed to load model: ") + e.what());
    } catch (...) {
        report("ModelProcessor: Failed to load model (unknown error)");
    }
    return nullptr;
}

} // namespace Korvane
