#include "ShaderTestSupport.h"

#include "AboutShaderView.h"
#include "AppKit/ResourceBundle.h"
#include "MetalShaderRenderer.h"
#include "SupporterShaderView.h"

namespace {

using Kind = MTLRecordedCommand::Kind;

class RendererTest : public ShaderTest {
  protected:
    void SetUp() override {
        ShaderTest::SetUp();
        view = make<MTKView>(CGRect{0, 0, 200, 100}, device);
        view->setColorPixelFormat(MTLPixelFormat::rgba16Float);
        view->setPaused(true);
        window->contentView()->addSubview(view);
        view->layer()->setContentsScale(2);
    }
    // The three renderers, with the fragment bytes index of their time.
    struct Made {
        std::shared_ptr<ShaderRendererBase> renderer;
        int timeIndex;
    };
    std::vector<std::pair<const char*, std::function<Made()>>> renderers() {
        return {
            {"main",
             [&] {
                 return Made{make<MetalShaderRenderer>(*view, "Main", "audioWaveformVertexShader",
                                                       "audioWaveformFragmentShader"),
                             2};
             }},
            {"about",
             [&] {
                 return Made{make<AboutRenderer>(*view), 1};
             }},
            {"supporter",
             [&] {
                 return Made{make<SupporterShaderRenderer>(*view, "Supporter"), 1};
             }},
        };
    }
    float drawnTime(ShaderRendererBase& renderer, int index) {
        renderer.drawInMTKView(*view);
        const auto frame = lastFrame();
        const auto* c = find(frame, Kind::setFragmentBytes, index);
        return c ? value<float>(*c) : -1;
    }
    std::shared_ptr<MTKView> view;
};

TEST_F(RendererTest, AnimationTimeLeavesOutPausesOnEveryRenderer) {
    struct Step {
        double advance;
        enum { none, pause, resume } action;
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
        float expected;
    };
    const Case cases[] = {
        {"no pause", {{7.5, Step::none}}, 7.5f},
        {"a pause resumed: 10 s away count nothing",
         {{3, Step::pause}, {10, Step::resume}, {2, Step::none}},
         5},
        {"two resigns then one become: only the later pause counts",
         {{3, Step::pause}, {4, Step::pause}, {5, Step::resume}, {1, Step::none}},
         8},
        {"resume without a pause changes nothing", {{2, Step::resume}, {2, Step::none}}, 4},
        {"two pauses, each resumed: both are left out",
         {{2, Step::pause},
          {3, Step::resume},
          {1, Step::pause},
          {4, Step::resume},
          {1, Step::none}},
         4},
        {"a draw during a pause shows the pause's start", {{3, Step::pause}, {100, Step::none}}, 3},
    };
    for (auto& [name, makeRenderer] : renderers())
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(name) + ": " + c.what);
            loop.clock().set(1000);
            Made made = makeRenderer();
            for (const Step& s : c.steps) {
                loop.clock().advance(s.advance);
                if (s.action == Step::pause)
                    made.renderer->willPause();
                else if (s.action == Step::resume)
                    made.renderer->willResume();
            }
            EXPECT_FLOAT_EQ(drawnTime(*made.renderer, made.timeIndex), c.expected);
            // A renderer made now starts at 0.
            EXPECT_FLOAT_EQ(drawnTime(*makeRenderer().renderer, made.timeIndex), 0);
        }
}

TEST_F(RendererTest, TheTimeWrapsAtTheAnimationPeriodSoADayKeepsItsPrecision) {
    auto renderer = make<MetalShaderRenderer>(*view, "Main", "audioWaveformVertexShader",
                                              "audioWaveformFragmentShader");
    loop.clock().advance(86400 + 0.25);
    EXPECT_FLOAT_EQ(drawnTime(*renderer, 2), 0.25f);
}

TEST_F(RendererTest, AFrameEncodesTheQuadAndTheFragmentArguments) {
    auto renderer = make<MetalShaderRenderer>(*view, "Main", "audioWaveformVertexShader",
                                              "audioWaveformFragmentShader");
    EXPECT_EQ(renderer->seed(), 0x00001234u); // the low 32 bits of the source's eight bytes
    view->setDelegate(renderer);
    loop.clock().advance(1.5);
    renderer->drawInMTKView(*view);
    auto buffers = device->recordedCommandBuffers();
    ASSERT_EQ(buffers.size(), 1u);
    EXPECT_EQ(buffers[0].label, "Main Command Buffer");
    EXPECT_EQ(buffers[0].presentedDrawables, 1);
    const auto& commands = buffers[0].encoders.at(0).commands;
    std::vector<Kind> kinds;
    for (const auto& c : commands)
        kinds.push_back(c.kind);
    EXPECT_EQ(kinds, (std::vector<Kind>{Kind::setRenderPipelineState, Kind::setViewport,
                                        Kind::setVertexBuffer, Kind::setFragmentBytes,
                                        Kind::setFragmentBytes, Kind::setFragmentBytes,
                                        Kind::drawPrimitives, Kind::endEncoding}));
    EXPECT_EQ(commands[0].label, "Shader Pipeline");
    EXPECT_EQ(commands[0].vertexFunction, "audioWaveformVertexShader");
    EXPECT_EQ(commands[0].fragmentFunction, "audioWaveformFragmentShader");
    EXPECT_EQ(unsigned(commands[0].pixelFormat), 115u);
    EXPECT_EQ(commands[1].viewport, (MTLViewport{0, 0, 400, 200, 0, 1}));
    EXPECT_EQ(commands[2].index, 0);
    const float quad[] = {-1, -1, -1, 1, 1, -1, 1, 1};
    ASSERT_EQ(commands[2].bytes.size(), 32u);
    EXPECT_EQ(std::memcmp(commands[2].bytes.data(), quad, 32), 0);
    EXPECT_EQ((value<std::array<float, 2>>(commands[3])), (std::array<float, 2>{400, 200}));
    EXPECT_EQ(commands[3].bytes.size(), 8u);
    EXPECT_EQ(commands[4].index, 1);
    EXPECT_EQ(value<uint32_t>(commands[4]), 0x1234u);
    EXPECT_EQ(commands[5].index, 2);
    EXPECT_EQ(commands[5].bytes.size(), 4u);
    EXPECT_FLOAT_EQ(value<float>(commands[5]), 1.5f);
    EXPECT_EQ(commands[6].primitive, MTLPrimitiveType::triangleStrip);
    EXPECT_EQ(commands[6].vertexStart, 0u);
    EXPECT_EQ(commands[6].vertexCount, 4u);

    // A 0 × 0 drawable: no frame at all.
    device->clearRecordedCommandBuffers();
    view->setFrameSize({0, 0});
    renderer->drawInMTKView(*view);
    EXPECT_TRUE(device->recordedCommandBuffers().empty());
    EXPECT_EQ(renderer->viewSize(), (std::array<float, 2>{0, 0}));
}

TEST_F(RendererTest, TheAboutAndSupporterFramesCarryTheirOwnArguments) {
    auto about = make<AboutRenderer>(*view);
    EXPECT_EQ(about->logoTexture()->label, "wickett-logo");
    EXPECT_EQ(about->logoTexture()->width(), 512u); // the 2x rendition in a 2x window
    about->drawInMTKView(*view);
    auto commands = lastFrame();
    EXPECT_EQ(device->recordedCommandBuffers().back().label, "About View Command Buffer");
    EXPECT_EQ(device->recordedCommandBuffers().back().encoders[0].label,
              "About View Render Encoder");
    EXPECT_EQ(commands[0].label, "About View Pipeline");
    EXPECT_EQ(find(commands, Kind::setFragmentTexture, 0)->label, "wickett-logo");
    EXPECT_EQ(find(commands, Kind::setFragmentTexture, 1)->label, "wickett-noise");

    // The about pipeline takes the view's pixel format.
    view->setColorPixelFormat(MTLPixelFormat::bgra8Unorm);
    make<AboutRenderer>(*view)->drawInMTKView(*view);
    EXPECT_EQ(lastFrame()[0].pixelFormat, MTLPixelFormat::bgra8Unorm);
    EXPECT_EQ(lastFrame()[0].vertexFunction, "aboutVertexShader");
    EXPECT_EQ(lastFrame()[0].fragmentFunction, "aboutFragmentShader");
    view->setColorPixelFormat(MTLPixelFormat::rgba16Float);

    auto supporter = make<SupporterShaderRenderer>(*view, "Supporter");
    supporter->switchOnState[2] = 1;
    supporter->switchDownState[3] = 1;
    loop.clock().advance(3);
    supporter->recordSwitchEvent(4);
    // A second event after a pause: its time leaves the pause out, and the first moves on.
    supporter->willPause();
    loop.clock().advance(10);
    supporter->willResume();
    loop.clock().advance(2);
    supporter->recordSwitchEvent(1);
    supporter->drawInMTKView(*view);
    commands = lastFrame();
    EXPECT_EQ(device->recordedCommandBuffers().back().label, "Supporter Command Buffer");
    for (int index : {3, 4, 5, 6}) {
        SCOPED_TRACE(index);
        const auto* c = find(commands, Kind::setFragmentBuffer, index);
        ASSERT_TRUE(c);
        EXPECT_EQ(c->bytes.size(), 24u);
    }
    EXPECT_EQ((value<std::array<float, 6>>(*find(commands, Kind::setFragmentBuffer, 3))),
              (std::array<float, 6>{0, 0, 1, 0, 0, 0}));
    EXPECT_EQ((value<std::array<float, 6>>(*find(commands, Kind::setFragmentBuffer, 4))),
              (std::array<float, 6>{0, 0, 0, 1, 0, 0}));
    EXPECT_EQ((value<std::array<float, 6>>(*find(commands, Kind::setFragmentBuffer, 5))),
              (std::array<float, 6>{1, 4, -1, -1, -1, -1}));
    EXPECT_EQ((value<std::array<float, 6>>(*find(commands, Kind::setFragmentBuffer, 6))),
              (std::array<float, 6>{5, 3, 0, 0, 0, 0}));
    EXPECT_EQ(find(commands, Kind::setFragmentBytes, 2)->bytes.size(), 4u);
    EXPECT_EQ(value<float>(*find(commands, Kind::setFragmentBytes, 2)), supporter->scale());
    EXPECT_EQ(commands[0].label, "Shader Pipeline");
    EXPECT_EQ(commands[0].vertexFunction, "supporterVertexShader");
    EXPECT_EQ(commands[0].fragmentFunction, "supporterFragmentShader");
    EXPECT_EQ(unsigned(commands[0].pixelFormat), 115u);

    // Buffers that cannot be made skip the frame instead of drawing without them.
    device->clearRecordedCommandBuffers();
    device->faults.buffers = true;
    supporter->drawInMTKView(*view);
    EXPECT_TRUE(device->recordedCommandBuffers().empty());
}

TEST_F(RendererTest, CreationFailsWithoutADeviceOrWithAnUnknownFunction) {
    view->setDevice(nullptr);
    for (auto& [name, makeRenderer] : renderers()) {
        SCOPED_TRACE(name);
        try {
            makeRenderer();
            FAIL() << "made without a device";
        } catch (const ShaderRendererError& e) {
            EXPECT_EQ(e, ShaderRendererError(ShaderRendererError::Code::noValidDevice));
            EXPECT_EQ(e.errorDescription(), "No valid metal device");
        }
    }
    view->setDevice(device);
    device->faults.commandQueues = true;
    EXPECT_THROW(renderers()[0].second(), ShaderRendererError);
    device->faults = {};
    EXPECT_THROW(
        make<MetalShaderRenderer>(*view, "Main", "audioWaveformVertexShader", "noSuchShader"),
        MTLError);
    EXPECT_THROW(makeShaderPipeline(*device, "noSuchShader", "aboutFragmentShader"), MTLError);
}

TEST(QuarroShadersBundle, AMissingBundleEndsTheProgram) {
    EXPECT_DEATH(findResourceBundle("QuarroShaders_Missing", (const void*)&QuarroShaders::bundle),
                 "unable to find bundle named QuarroShaders_Missing");
}

} // namespace
