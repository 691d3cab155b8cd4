#include "ShaderFixtures.h"

namespace MetalTestShaders {
namespace {

MTLVertexOutput positionsVertex(uint32_t id, const MTLStageArguments& args) {
    MTLVertexOutput out;
    out.position[0] = args.element<float>(0, id * 2);
    out.position[1] = args.element<float>(0, id * 2 + 1);
    out.varyings[0] = args.element<float>(1, id, out.position[0]);
    out.varyings[1] = out.position[1];
    return out;
}

metal::float4x8 countingFragment(const MTLFragmentGroup& g, const MTLStageArguments&) {
    Coverage& c = coverage();
    for (int lane = 0; lane < g.count; ++lane) {
        int x = int(g.x[lane]), y = int(g.y[lane]);
        if (x >= 0 && y >= 0 && x < c.width && y < c.height)
            c.counts[size_t(y * c.width + x)].fetch_add(1);
    }
    return {metal::splat(1), metal::splat(1), metal::splat(1), metal::splat(1)};
}

metal::float4x8 patternFragment(const MTLFragmentGroup& g, const MTLStageArguments& args) {
    float scale = args.value<float>(0, 1.0f);
    return {metal::sin(g.x * 0.37f * scale) * 3.0f, metal::fract(g.y * 0.013f), g.varyings[0],
            metal::splat(1) - g.varyings[1]};
}

const MTLShaderFunctionEntry entries[] = {
    {"positionsVertex", MTLFunctionType::vertex, positionsVertex},
    {"countingFragment", MTLFunctionType::fragment, nullptr, countingFragment},
    {"patternFragment", MTLFunctionType::fragment, nullptr, patternFragment},
};

} // namespace

void registerAll() {
    MTLShaderFunctionTable::add(entries);
}

void Coverage::reset(int w, int h) {
    width = w;
    height = h;
    counts = std::make_unique<std::atomic<int>[]>(size_t(w * h));
}

Coverage& coverage() {
    static Coverage c;
    return c;
}

} // namespace MetalTestShaders
