// The finished dials: their skins' frame names and bundles, two dials on one
// parameter moving together, and the chaos dial's fixed face and title colour.

#include "ChaosDial.h"
#include "LargeDialBlue.h"
#include "LargeDialOrange.h"
#include "LargeDialRed.h"
#include "LargeDialYellow.h"
#include "TestSupport/ControlHarness.h"
#include "TestSupport/ParameterRecorder.h"
#include "Views/OrreryResources.h"

#include "AppKit/NSImage.h"
#include "Foundation/Bundle.h"

#include <gtest/gtest.h>

using namespace SwiftUI;

namespace {

TEST(Dials, EverySkinNamesItsFiftyOneFramesInItsOwnBundle) {
    struct Case {
        int index;
        const char* text;
    } indices[] = {{1, "01"}, {9, "09"}, {10, "10"}, {51, "51"}};
    for (const auto& c : indices)
        EXPECT_EQ(LargeDialColor::indexString(c.index), c.text);

    struct Skin {
        std::function<Image(int)> frame;
        std::shared_ptr<Bundle> bundle;
        std::string prefix, bundleName;
    } skins[] = {
        {[](int i) { return LargeDialRed().image(i); }, largeDialRedBundle(),
         "knobs/chaos-dial-large-red_", "Orrery_OrreryLargeDialRed.bundle"},
        {[](int i) { return LargeDialYellow().image(i); }, largeDialYellowBundle(),
         "knobs/chaos-dial-large-yellow_", "Orrery_OrreryLargeDialYellow.bundle"},
        {[](int i) { return LargeDialOrange().image(i); }, largeDialOrangeBundle(),
         "knobs/chaos-dial-large-orange_", "Orrery_OrreryLargeDialOrange.bundle"},
        {[](int i) { return LargeDialBlue().image(i); }, largeDialBlueBundle(),
         "knobs/chaos-dial-large-blue_", "Orrery_OrreryLargeDialBlue.bundle"},
        {[](int i) { return chaosDialFrame(ModernDialColor::grey, i); }, chaosDialBundle(),
         "knobs/chaos-dial-grey_", "Orrery_OrreryChaosDial.bundle"},
    };
    for (const auto& skin : skins) {
        ASSERT_NE(skin.bundle, nullptr);
        EXPECT_NE(skin.bundle->bundlePath().find(skin.bundleName), std::string::npos);
        for (int i : {1, 9, 10, 51}) {
            const std::string name = skin.prefix + LargeDialColor::indexString(i);
            EXPECT_EQ(skin.frame(i).name(), name);
            EXPECT_NE(NSImage::named(name, skin.bundle), nullptr) << name;
        }
    }
}

struct DialViews : ::testing::Test {
    RunLoopTestScope scope;
    static LabelDisplayOptions options(OrreryFont font) {
        return {Color(1, 1, 1), 10, 14, 13, true, true, 60, font, std::nullopt};
    }
    // The dial frames drawn, in order.
    static std::vector<std::string> frames(ControlHarness& h) {
        std::vector<std::string> names;
        for (const auto& n : h.images())
            if (n.rfind("knobs/", 0) == 0)
                names.push_back(n);
        return names;
    }
};

TEST_F(DialViews, TwoDialsOnOneParameterMoveTogetherThroughTheirOwnStrips) {
    ParameterRecorder rec(AudioParameter::create(9, "lowCut", "Low Cut",
                                                 AudioUnitParameterUnit::hertz, {20, 20000}, 20,
                                                 ValueIncrement::logarithmic()));
    ControlHarness hosted(
        HStack(VerticalAlignment::center(), 20.0,
               LargeDial<LargeDialRed>(rec.binding(), LargeDialRed(), Color(1, 0, 0),
                                       options(OrreryFont::rocket), nullptr, nullptr),
               ChaosDial(rec.binding(), ModernDialColor::grey, options(OrreryFont::rocket), nullptr,
                         nullptr)),
        {220, 140});
    EXPECT_EQ(frames(hosted), (std::vector<std::string>{"knobs/chaos-dial-large-red_01",
                                                        "knobs/chaos-dial-grey_01"}));
    rec.param->setValue(632.456f, ParameterEditor::parameterObserver, ParameterEditorState::change);
    hosted.turn();
    EXPECT_EQ(frames(hosted), (std::vector<std::string>{"knobs/chaos-dial-large-red_26",
                                                        "knobs/chaos-dial-grey_26"}));
    // A drag on the large dial's top edge (above its label) moves both.
    auto items = hosted.drawn();
    CGRect large;
    for (const auto& i : items)
        if (i.imageName == "knobs/chaos-dial-large-red_26")
            large = i.rect;
    EXPECT_EQ(large.size, (CGSize{72, 82}));
    const CGPoint grip{large.midX(), large.minY() + 6};
    hosted.press(grip);
    hosted.drag({grip.x, grip.y + 6});
    hosted.drag({grip.x, grip.y + 6 + 40}); // 40 points down: t 0.5 → 0.3
    hosted.release({grip.x, grip.y + 46});
    EXPECT_EQ(frames(hosted), (std::vector<std::string>{"knobs/chaos-dial-large-red_16",
                                                        "knobs/chaos-dial-grey_16"}));
}

TEST_F(DialViews, TheChaosDialKeepsItsMediumFaceAndGreyTitle) {
    ParameterRecorder rec(
        AudioParameter::create(0, "mix", "Mix", AudioUnitParameterUnit::percent, {0, 100}, 50));
    ControlHarness hosted(ChaosDial(rec.binding(), ModernDialColor::grey,
                                    options(OrreryFont::rocket), nullptr, nullptr),
                          {120, 120});
    auto texts = hosted.texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "MIX");
    EXPECT_EQ(texts[0].color, orreryPluginGrey().resolve());
    for (const auto& t : texts)
        EXPECT_EQ(t.fontName, "Dosis-Medium") << t.text;
    CGRect frame;
    for (const auto& i : hosted.drawn())
        if (i.imageName == "knobs/chaos-dial-grey_26")
            frame = i.rect;
    EXPECT_EQ(frame.size, (CGSize{56, 64}));

    // The large dial takes the options' face.
    ControlHarness large(LargeDial<LargeDialBlue>(rec.binding(), LargeDialBlue(), Color(0, 0, 1),
                                                  options(OrreryFont::rocket), nullptr, nullptr),
                         {120, 120});
    for (const auto& t : large.texts())
        EXPECT_EQ(t.fontName, "Rocket") << t.text;
    EXPECT_EQ(large.texts()[0].color, CGColor::rgb(0, 0, 1));
}

} // namespace
