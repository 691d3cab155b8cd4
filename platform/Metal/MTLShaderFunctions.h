#pragma once
// How shader functions are written for the software GPU, and where the libraries find
// them. The system's shaders are C++ functions of these signatures, registered under
// their names in a process-wide table (MTLShaderFunctionTable::add) by the package that
// defines them; a library made from a bundle's manifest hands out the functions that
// the manifest exports and the table holds.
//
// - A vertex function runs once per vertex: it reads the vertex-stage arguments (its
//   buffers by index) and returns the clip-space position (x, y, z, w) and up to
//   MTLMaxVaryings values that the rasteriser interpolates across the primitive.
// - A fragment function runs on a group of up to eight fragments of one row (see
//   MTLShaderMath.h): it receives their window positions (pixel centres, x + 0.5 and
//   y + 0.5, y down), the interpolated values, and the fragment-stage arguments (bytes,
//   buffers and textures by index), and returns their colours (lanes past `count` are
//   ignored).
// - A colour-effect function (the declarative layer's shaders) maps one pixel's
//   position and colour to a new colour, with float arguments.
// Thread: the table is filled once, before it is read (thread-safe); functions run on
// the device's worker threads at once and must not write shared state.

#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Metal/MTLShaderMath.h"

class MTLTexture;

inline constexpr int MTLMaxVaryings = 4;
inline constexpr int MTLMaxArgumentIndex = 31;

// The arguments bound to one stage: byte ranges (set as bytes or as a buffer with an
// offset) and textures, by index.
class MTLStageArguments {
  public:
    // The bytes at `index`; empty when nothing is bound there.
    std::span<const uint8_t> bytes(int index) const {
        return index >= 0 && index <= MTLMaxArgumentIndex ? data[size_t(index)]
                                                          : std::span<const uint8_t>{};
    }
    // A value of type T at the start of the bytes at `index`; `fallback` when fewer
    // bytes than a T are bound there (the platform leaves that undefined).
    template <class T> T value(int index, T fallback = {}) const {
        auto b = bytes(index);
        if (b.size() < sizeof(T))
            return fallback;
        T v;
        std::memcpy(&v, b.data(), sizeof(T));
        return v;
    }
    // Element `element` of an array of T at `index`; `fallback` when out of range.
    template <class T> T element(int index, size_t element, T fallback = {}) const {
        auto b = bytes(index);
        if ((element + 1) * sizeof(T) > b.size())
            return fallback;
        T v;
        std::memcpy(&v, b.data() + element * sizeof(T), sizeof(T));
        return v;
    }
    const MTLTexture* texture(int index) const {
        return index >= 0 && index <= MTLMaxArgumentIndex ? textures[size_t(index)] : nullptr;
    }

    void setBytes(int index, std::span<const uint8_t> b) { data.at(size_t(index)) = b; }
    void setTexture(int index, const MTLTexture* t) { textures.at(size_t(index)) = t; }

  private:
    std::array<std::span<const uint8_t>, MTLMaxArgumentIndex + 1> data{};
    std::array<const MTLTexture*, MTLMaxArgumentIndex + 1> textures{};
};

struct MTLVertexOutput {
    float position[4] = {0, 0, 0, 1};
    float varyings[MTLMaxVaryings] = {};
};

struct MTLFragmentGroup {
    int count = 0;          // live lanes, 1...8
    metal::float8 x{}, y{}; // window position of each lane's pixel centre
    metal::float8 varyings[MTLMaxVaryings]{};
};

using MTLVertexFunctionBody = MTLVertexOutput (*)(uint32_t vertexID,
                                                  const MTLStageArguments& arguments);
using MTLFragmentFunctionBody = metal::float4x8 (*)(const MTLFragmentGroup& fragments,
                                                    const MTLStageArguments& arguments);
using MTLColorEffectBody = std::array<float, 4> (*)(float x, float y, std::array<float, 4> color,
                                                    std::span<const float> arguments);

enum class MTLFunctionType { vertex, fragment, colorEffect };

struct MTLShaderFunctionEntry {
    std::string_view name;
    MTLFunctionType type;
    MTLVertexFunctionBody vertex = nullptr;
    MTLFragmentFunctionBody fragment = nullptr;
    MTLColorEffectBody colorEffect = nullptr;
};

class MTLShaderFunctionTable {
  public:
    // Adds functions (a name already present keeps its first entry).
    static void add(std::span<const MTLShaderFunctionEntry> entries);
    // The function of that name; null when none was added.
    static const MTLShaderFunctionEntry* find(std::string_view name);
};
