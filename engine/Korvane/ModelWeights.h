#pragma once
// The immutable weights of one delay-line network, parsed once from a weight
// document and shared (read-only) by every channel and bank that runs that model.

#include <memory>

namespace Korvane {

struct ModelWeights; // layout in NetworkLayout.h, for the engine's own use

// Parses and checks one weight document. On failure prints one of the three
// "ModelProcessor: ..." messages to standard error and returns null. Never throws.
// Thread: any thread but the render thread (allocates).
std::shared_ptr<const ModelWeights> parseModelWeights(const unsigned char* data, unsigned int size);

} // namespace Korvane
