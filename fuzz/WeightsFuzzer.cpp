// Weight documents as raw bytes: the loader must refuse what is not a document
// without a fault, and what it accepts must run to finite output.
#include "NetworkCheck.h"

#include "Korvane/ModelWeights.h"

#include <cstddef>
#include <cstdint>
#include <iostream>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::cerr.rdbuf(nullptr); // the loader reports each refusal there
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 0xFFFFFFFFu)
        return 0;
    if (auto weights = Korvane::parseModelWeights(data, static_cast<unsigned int>(size)))
        fuzzing::requireFiniteOutput(weights);
    return 0;
}
