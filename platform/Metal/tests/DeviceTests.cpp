#include "MetalFixture.h"

#include <filesystem>

namespace {

using DeviceTest = MetalFixture;
using Kind = MTLRecordedCommand::Kind;

TEST_F(DeviceTest, TheLibraryGivesTheFunctionsItsManifestExportsAndTheProcessHas) {
    EXPECT_EQ(library->functionNames().size(), 4u);
    auto vertex = library->makeFunction("positionsVertex");
    ASSERT_TRUE(vertex);
    EXPECT_EQ(vertex->functionType(), MTLFunctionType::vertex);
    EXPECT_FALSE(library->makeFunction("notRegisteredAnywhere")); // exported, not compiled in
    EXPECT_FALSE(library->makeFunction("missing"));

    MTLRenderPipelineDescriptor d;
    d.vertexFunction = vertex;
    d.fragmentFunction = library->makeFunction("missing");
    d.colorAttachments[0].pixelFormat = MTLPixelFormat::rgba16Float;
    try {
        device->makeRenderPipelineState(d);
        FAIL() << "a pipeline without its fragment function was made";
    } catch (const MTLError& e) {
        EXPECT_EQ(e.domain, MTLError::Domain::pipeline);
        EXPECT_NE(std::string(e.what()).find("fragment"), std::string::npos);
    }
    d.fragmentFunction = library->makeFunction("patternFragment");
    d.colorAttachments[0].pixelFormat = MTLPixelFormat::invalid;
    EXPECT_THROW(device->makeRenderPipelineState(d), MTLError);
    d.fragmentFunction = vertex; // the wrong kind
    d.colorAttachments[0].pixelFormat = MTLPixelFormat::rgba16Float;
    EXPECT_THROW(device->makeRenderPipelineState(d), MTLError);
}

TEST_F(DeviceTest, ABundleWithoutAReadableManifestIsALibraryError) {
    TemporaryDirectory empty("metal-empty");
    for (const char* contents : {"", "[1, 2]", "{\"functions\": 3}"}) {
        SCOPED_TRACE(contents);
        if (*contents)
            std::ofstream(empty / "default.metallib") << contents;
        try {
            device->makeDefaultLibrary(*Bundle::atPath(empty.path().string()));
            FAIL() << "a library was made";
        } catch (const MTLError& e) {
            EXPECT_EQ(e.domain, MTLError::Domain::library);
        }
    }
}

TEST_F(DeviceTest, ACommittedBufferIsRecordedWithWhatWasSetAndDrawn) {
    device->setRecordsCommandBuffers(true);
    struct Presentation : MTLDrawable {
        int presented = 0;
        void present() override { ++presented; }
    };
    auto drawable = make<Presentation>();
    auto texture = device->makeTexture(
        {MTLPixelFormat::rgba16Float, 5, 3, unsigned(MTLTextureUsage::renderTarget)});
    MTLRenderPassDescriptor pass;
    pass.colorAttachments[0].texture = texture;
    auto buffer = device->makeCommandQueue()->makeCommandBuffer();
    buffer->label = "Frame";
    auto encoder = buffer->makeRenderCommandEncoder(pass);
    encoder->label = "Pass";
    encoder->setRenderPipelineState(pipeline("patternFragment", MTLPixelFormat::rgba16Float));
    encoder->setViewport({0, 0, 5, 3, 0, 1});
    float quad[] = {-1, -1, -1, 1, 1, -1, 1, 1};
    auto vertices = device->makeBuffer(quad, sizeof quad);
    encoder->setVertexBuffer(vertices, 0, 0);
    uint32_t seed = 77;
    encoder->setFragmentBytes(&seed, 4, 1);
    auto sampled =
        device->makeTexture(MTLTextureDescriptor::texture2D(MTLPixelFormat::rgba8Unorm, 2, 2));
    sampled->label = "logo";
    encoder->setFragmentTexture(sampled, 0);
    encoder->drawPrimitives(MTLPrimitiveType::triangleStrip, 0, 4);
    encoder->endEncoding();
    encoder->setViewport({}); // after the end: ignored
    buffer->present(drawable);
    EXPECT_EQ(drawable->presented, 0); // nothing runs before the commit
    buffer->commit();
    buffer->commit();
    EXPECT_EQ(drawable->presented, 1);
    EXPECT_EQ(buffer->status(), MTLCommandBuffer::Status::completed);

    auto recorded = device->recordedCommandBuffers();
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].label, "Frame");
    EXPECT_EQ(recorded[0].presentedDrawables, 1);
    ASSERT_EQ(recorded[0].encoders.size(), 1u);
    const auto& e = recorded[0].encoders[0];
    EXPECT_EQ(e.label, "Pass");
    EXPECT_EQ(e.attachmentSize, (MTLSize{5, 3, 1}));
    std::vector<Kind> kinds;
    for (const auto& c : e.commands)
        kinds.push_back(c.kind);
    EXPECT_EQ(kinds, (std::vector<Kind>{Kind::setRenderPipelineState, Kind::setViewport,
                                        Kind::setVertexBuffer, Kind::setFragmentBytes,
                                        Kind::setFragmentTexture, Kind::drawPrimitives,
                                        Kind::endEncoding}));
    EXPECT_EQ(e.commands[0].label, "Test Pipeline");
    EXPECT_EQ(e.commands[0].fragmentFunction, "patternFragment");
    EXPECT_EQ(unsigned(e.commands[0].pixelFormat), 115u);
    EXPECT_EQ(e.commands[2].bytes.size(), 32u);
    EXPECT_EQ(e.commands[3].index, 1);
    EXPECT_EQ(e.commands[3].bytes, (std::vector<uint8_t>{77, 0, 0, 0}));
    EXPECT_EQ(e.commands[4].label, "logo");
    EXPECT_EQ(e.commands[5].vertexCount, 4u);
    // And it drew: the pattern's alpha is 1 − clip y, 0.5 on the middle row.
    EXPECT_NEAR(texture->read(2, 1)[3], 1.0f, 1e-3);
}

TEST_F(DeviceTest, FaultsAndEmptyRequestsGiveNothing) {
    EXPECT_FALSE(device->makeBuffer(nullptr, 0));
    EXPECT_FALSE(device->makeTexture({MTLPixelFormat::rgba16Float, 0, 4}));
    device->faults.buffers = true;
    EXPECT_FALSE(device->makeBuffer(nullptr, 16));
    device->faults.commandQueues = true;
    EXPECT_FALSE(device->makeCommandQueue());
    device->faults = {};
    auto queue = device->makeCommandQueue();
    device->faults.commandBuffers = true;
    EXPECT_FALSE(queue->makeCommandBuffer());
    device->faults = {};
    EXPECT_FALSE(queue->makeCommandBuffer()->makeRenderCommandEncoder({})); // no texture

    MTLDevice::setSystemDefaultDeviceAvailable(false);
    EXPECT_FALSE(MTLCreateSystemDefaultDevice());
    MTLDevice::setSystemDefaultDeviceAvailable(true);
    EXPECT_EQ(MTLCreateSystemDefaultDevice(), device);
}

TEST_F(DeviceTest, TexturesSampleLinearlyAndDecodeSRGB) {
    auto texture =
        device->makeTexture(MTLTextureDescriptor::texture2D(MTLPixelFormat::rgba8Unorm_srgb, 2, 1));
    const uint8_t texels[] = {0, 0, 0, 255, 255, 255, 255, 255};
    texture->replace(MTLRegion::make2D(0, 0, 2, 1), texels, 8);
    MTLSamplerDescriptor linear, nearestRepeat{MTLSamplerDescriptor::Filter::nearest,
                                               MTLSamplerDescriptor::AddressMode::repeat};
    auto c = texture->sample(linear, metal::float8{0.25f, 0.5f, 0.75f, 0, 1, 0.5f, 0.5f, 0.5f},
                             metal::splat(0.5f));
    EXPECT_FLOAT_EQ(c.r[0], 0);    // the first texel's centre
    EXPECT_FLOAT_EQ(c.r[1], 0.5f); // halfway, in linear light
    EXPECT_FLOAT_EQ(c.r[2], 1);
    EXPECT_FLOAT_EQ(c.a[1], 1);
    auto n = texture->sample(nearestRepeat, metal::float8{1.25f, -0.25f}, metal::splat(0.5f));
    EXPECT_FLOAT_EQ(n.g[0], 0); // 1.25 wraps to the first texel
    EXPECT_FLOAT_EQ(n.g[1], 1); // -0.25 wraps to the second
}

} // namespace
