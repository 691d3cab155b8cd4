#pragma once
// Internal to Metal: rasterisation of one draw into a colour attachment (see
// MTLCommandBuffer.h for the rules), and clearing. Thread: the caller's, with the pool.

#include <cstddef>

#include "Metal/MTLResource.h"
#include "Metal/MTLShaderFunctions.h"
#include "Metal/MTLTypes.h"

class MTLWorkerPool;

namespace MTLRaster {

struct DrawCall {
    MTLViewport viewport;
    MTLPrimitiveType type = MTLPrimitiveType::triangleStrip;
    size_t vertexStart = 0, vertexCount = 0;
    MTLVertexFunctionBody vertex = nullptr;
    const MTLStageArguments* vertexArguments = nullptr;
    MTLFragmentFunctionBody fragment = nullptr;
    const MTLStageArguments* fragmentArguments = nullptr;
};

void draw(MTLTexture& target, MTLWorkerPool& pool, const DrawCall& call);
void clear(MTLTexture& target, MTLClearColor color);
// Writes `count` lanes of colour to row `y` from column `x` in the target's format.
void writeColors(MTLTexture& target, int x, int y, int count, const metal::float4x8& colors);

} // namespace MTLRaster
