#pragma once
// Helpers of the model tests and benchmarks: weight documents written from arrays in the export
// format (gate blocks r, z, n), an independent double-precision network that reads those arrays
// directly, and a process-wide count of heap allocations.

#include "Korvane/ModelNetwork.h"

#include <memory>
#include <string>
#include <vector>

namespace Korvane {
class ModelProcessor;
}

namespace Korvane::testing {

struct GruArrays {
    std::vector<float> ih, hh;   // [192][64], row-major, rows r, z, n
    std::vector<float> bih, bhh; // [192]
};

// The twelve arrays of one document, in document order and layout.
struct DocumentArrays {
    std::vector<float> inW, inB; // [64][1], [64]
    GruArrays gru1, gru2;
    std::vector<float> outW; // [1][64]
    float outB = 0.0f;
};

DocumentArrays zeroArrays();
// Uniform weights in [-scale, scale] from a seeded generator.
DocumentArrays randomArrays(unsigned seed, float scale);

// One-line JSON in the export format with numbers of the given significant digits (9
// keeps every float exact; trained documents carry up to 17); omitKey leaves that key out.
std::string writeDocument(const DocumentArrays& arrays, const std::string& omitKey = "",
                          int digits = 9);
// The text with the first number of key's array replaced by replacement ("" drops it
// together with its separator).
std::string replaceFirstNumber(const std::string& text, const std::string& key,
                               const std::string& replacement);

std::shared_ptr<const ModelWeights> parse(const std::string& text);
void load(ModelProcessor& processor, const std::string& text);

// The network in double precision, straight from the document's arrays.
class DoubleNetwork {
  public:
    explicit DoubleNetwork(const DocumentArrays& arrays) : a(arrays) {}
    double step(double x);

  private:
    void gru(const GruArrays& g, const std::vector<double>& u, std::vector<double>& h) const;
    DocumentArrays a;
    std::vector<double> h1 = std::vector<double>(kUnits, 0.0);
    std::vector<double> h2 = std::vector<double>(kUnits, 0.0);
};

// Heap allocations made by this thread since the start of the process (test binaries that
// link CountingAllocator.cpp only).
long allocations();

// Every kernel path this CPU supports.
std::vector<KernelPath> supportedPaths();

// Selects a kernel path for one scope and restores the previous one after it.
class ScopedKernelPath {
  public:
    explicit ScopedKernelPath(KernelPath path);
    ~ScopedKernelPath();

  private:
    KernelPath previous;
};

} // namespace Korvane::testing
