#include "ShaderTestSupport.h"

#include <filesystem>

#include "AboutShaderView.h"
#include "Metal/MTLHalf.h"
#include "MetalKit/MTKTextureLoader.h"
#include "MetalShaderRenderer.h"
#include "QuarroShadersHelper.h"
#include "SupporterShaderView.h"
#include "TestSupport/TemporaryDirectory.h"

namespace {

using ShaderViewTest = ShaderTest;

// Renders a frame of the renderer into the view's drawable and returns its bytes.
std::vector<uint8_t> frameBytes(MTKView& view, ShaderRendererBase& renderer) {
    view.draw();
    auto contents = view.layer()->contents();
    return {contents->storage().begin(), contents->storage().end()};
}

TEST_F(ShaderViewTest, EveryShaderDrawsTheSameImageOnOneAndEightThreads) {
    auto view = make<MTKView>(CGRect{0, 0, 123, 77}, device);
    view->setColorPixelFormat(MTLPixelFormat::rgba16Float);
    view->setPaused(true);
    window->contentView()->addSubview(view);
    std::vector<std::shared_ptr<ShaderRendererBase>> renderers{
        make<MetalShaderRenderer>(*view, "Main", "audioWaveformVertexShader",
                                  "audioWaveformFragmentShader"),
        make<AboutRenderer>(*view), make<SupporterShaderRenderer>(*view, "Supporter")};
    loop.clock().advance(2.5);
    for (const auto& r : renderers) {
        view->setDelegate(r);
        device->setWorkerThreadCount(1);
        auto one = frameBytes(*view, *r);
        device->setWorkerThreadCount(8);
        EXPECT_EQ(frameBytes(*view, *r), one);
    }
    device->setWorkerThreadCount(4);
}

TEST_F(ShaderViewTest, TheWaveformsBottomRowIsTheWindowsColour) {
    // The band sits on the window's background: its last row must not show a seam.
    auto view = make<MTKView>(CGRect{0, 0, 200, 150}, device);
    view->setColorPixelFormat(MTLPixelFormat::rgba16Float);
    view->setPaused(true);
    window->contentView()->addSubview(view);
    auto renderer = make<MetalShaderRenderer>(*view, "Main", "audioWaveformVertexShader",
                                              "audioWaveformFragmentShader");
    view->setDelegate(renderer);
    loop.clock().advance(7.25);
    view->draw();
    auto frame = view->layer()->contents();
    ASSERT_TRUE(frame);
    const size_t w = frame->width(), h = frame->height();
    std::vector<uint16_t> row(w * 4);
    frame->getBytes(row.data(), w * 8, MTLRegion{{0, h - 1, 0}, {w, 1, 1}});
    std::vector<float> rgba(row.size());
    MTLHalf::toFloats(row.data(), rgba.data(), row.size());
    // "background" (0.0902, 0.0824, 0.0745) in linear light.
    const float background[3] = {0.00857f, 0.00740f, 0.00650f};
    for (size_t x = 0; x < w; ++x)
        for (int c = 0; c < 3; ++c)
            ASSERT_NEAR(rgba[x * 4 + size_t(c)], background[c], 0.0004f) << "x " << x;
}

TEST_F(ShaderViewTest, TheSampleViewMakesItsRendererWhenItMoves) {
    auto sample = make<AboutSampleView>(CGRect{0, 0, 64, 64}, nullptr);
    EXPECT_FALSE(sample->renderer);
    window->contentView()->addSubview(sample);
    ASSERT_TRUE(sample->renderer);
    EXPECT_EQ(sample->colorspace(), CGColorSpace::extendedLinearDisplayP3);
    EXPECT_EQ(sample->delegate(), sample->renderer);
}

TEST_F(ShaderViewTest, TheColourEffectsComeFromTheLibrary) {
    using QuarroShadersHelper::float4;
    auto swap = QuarroShadersHelper::colorMatrixShader({0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 0},
                                                       {0, 0, 0, 1});
    EXPECT_EQ(swap.apply(0, 0, {0.2f, 0.7f, 0.1f, 1}), (float4{0.7f, 0.2f, 0.1f, 1}));
    const float4 wide{1.2f, 0.5f, -0.1f, 1};
    EXPECT_EQ(QuarroShadersHelper::clampSRGBShader().apply(0, 0, wide), (float4{1, 0.5f, 0, 1}));
    EXPECT_EQ(QuarroShadersHelper::outsideSRGBShader().apply(0, 0, wide), (float4{1, 0, 1, 1}));
    EXPECT_EQ(QuarroShadersHelper::outsideSRGBShader().apply(0, 0, {0.5f, 0.5f, 0.5f, 1}),
              (float4{0.5f, 0.5f, 0.5f, 1}));
    // Pure sRGB red lies inside Display P3; a slightly negative green that sRGB cannot
    // show can still be inside P3.
    EXPECT_EQ(QuarroShadersHelper::outsideP3Shader().apply(0, 0, {1, 0, 0, 1}),
              (float4{1, 0, 0, 1}));
    EXPECT_EQ(QuarroShadersHelper::outsideP3Shader().apply(0, 0, {1, -0.02f, 0, 1}),
              (float4{1, -0.02f, 0, 1}));
    EXPECT_EQ(QuarroShadersHelper::outsideP3Shader().apply(0, 0, {1, -0.5f, 0, 1}),
              (float4{1, 0, 1, 1}));
}

TEST_F(ShaderViewTest, AMissingTextureIsALoaderError) {
    MTKTextureLoader loader(device);
    EXPECT_THROW(loader.newTexture("no-such-texture", 1, *QuarroShaders::bundle()), MTLError);
    EXPECT_EQ(loader.newTexture("wickett-noise", 1, *QuarroShaders::bundle())->width(), 256u);
    EXPECT_EQ(loader.newTexture("wickett-noise", 2, *QuarroShaders::bundle())->width(), 512u);
}

} // namespace
