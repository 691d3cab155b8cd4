#pragma once
// A device with the test shaders: a library from a manifest in a folder of the test's
// own, a pipeline of two of its functions, and one-call rendering of a vertex list into
// a new texture.

#include <fstream>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "Foundation/Bundle.h"
#include "Metal/Metal.h"
#include "ShaderFixtures.h"
#include "TestSupport/TemporaryDirectory.h"

class MetalFixture : public ::testing::Test {
  public:
    void SetUp() override {
        MetalTestShaders::registerAll();
        device = MTLCreateSystemDefaultDevice();
        ASSERT_TRUE(device);
        std::ofstream(folder / "default.metallib")
            << R"({"functions": ["positionsVertex", "countingFragment", "patternFragment",
                                "notRegisteredAnywhere"]})";
        bundle = Bundle::atPath(folder.path().string());
        library = device->makeDefaultLibrary(*bundle);
    }
    void TearDown() override {
        device->setWorkerThreadCount(4);
        device->faults = {};
        device->setRecordsCommandBuffers(false);
        device->clearRecordedCommandBuffers();
    }

    std::shared_ptr<MTLRenderPipelineState> pipeline(const char* fragment, MTLPixelFormat format) {
        MTLRenderPipelineDescriptor d;
        d.label = "Test Pipeline";
        d.vertexFunction = library->makeFunction("positionsVertex");
        d.fragmentFunction = library->makeFunction(fragment);
        d.colorAttachments[0].pixelFormat = format;
        return device->makeRenderPipelineState(d);
    }

    struct Draw {
        std::vector<float> positions; // x, y per vertex
        MTLPrimitiveType type = MTLPrimitiveType::triangleStrip;
        std::vector<float> values; // one per vertex, or none
    };
    // Renders into a new w × h texture (cleared to transparent) and returns it.
    std::shared_ptr<MTLTexture> render(int w, int h, const std::vector<Draw>& draws,
                                       const char* fragment = "countingFragment",
                                       MTLPixelFormat format = MTLPixelFormat::rgba16Float,
                                       float scale = 1) {
        auto texture = device->makeTexture(
            {format, size_t(w), size_t(h), unsigned(MTLTextureUsage::renderTarget)});
        MTLRenderPassDescriptor pass;
        pass.colorAttachments[0].texture = texture;
        pass.colorAttachments[0].loadAction = MTLLoadAction::clear;
        pass.colorAttachments[0].clearColor = {0, 0, 0, 0};
        auto buffer = device->makeCommandQueue()->makeCommandBuffer();
        auto encoder = buffer->makeRenderCommandEncoder(pass);
        encoder->setRenderPipelineState(pipeline(fragment, format));
        encoder->setViewport({0, 0, double(w), double(h), 0, 1});
        encoder->setFragmentBytes(&scale, sizeof scale, 0);
        for (const Draw& d : draws) {
            encoder->setVertexBytes(d.positions.data(), d.positions.size() * sizeof(float), 0);
            if (!d.values.empty())
                encoder->setVertexBytes(d.values.data(), d.values.size() * sizeof(float), 1);
            encoder->drawPrimitives(d.type, 0, d.positions.size() / 2);
        }
        encoder->endEncoding();
        buffer->commit();
        return texture;
    }

    std::shared_ptr<MTLDevice> device;
    TemporaryDirectory folder{"metal-test"};
    std::shared_ptr<Bundle> bundle;
    std::shared_ptr<MTLLibrary> library;
};
