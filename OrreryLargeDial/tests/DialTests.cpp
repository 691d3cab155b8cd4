// The finished dials: their skins' frame names and bundles, two dials on one
// parameter moving together, the chaos dial's fixed face and title colour, grabbing a
// dial by its label, every gesture at every place of both dials, and titles fitted
// into the cap.

#include "ChaosDial.h"
#include "LargeDialBlue.h"
#include "LargeDialOrange.h"
#include "LargeDialRed.h"
#include "LargeDialYellow.h"
#include "TestSupport/ControlHarness.h"
#include "TestSupport/DialPlaces.h"
#include "TestSupport/ParameterRecorder.h"
#include "Views/OrreryResources.h"

#include "AppKit/NSImage.h"
#include "Foundation/Bundle.h"

#include <gtest/gtest.h>

#include <cmath>

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
    // A large and a small dial in the medium face, on a parameter.
    struct DialKind {
        const char* what;
        std::function<AnyView(const ParameterRecorder&)> make;
    };
    static std::vector<DialKind> bothDials() {
        return {
            {"large",
             [](const ParameterRecorder& r) {
                 return AnyView(
                     LargeDial<LargeDialBlue>(r.binding(), LargeDialBlue(), Color(0, 0, 1),
                                              options(OrreryFont::dosisMedium), nullptr, nullptr));
             }},
            {"chaos",
             [](const ParameterRecorder& r) {
                 return AnyView(ChaosDial(r.binding(), ModernDialColor::grey,
                                          options(OrreryFont::dosisMedium), nullptr, nullptr));
             }},
        };
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

// A person grabs a knob in its middle, where its title and value sit: a drag from there
// turns it as one edit, while a click there still starts typing a value (and a
// double-click there does not reset it).
TEST_F(DialViews, ADragStartingOnTheLabelTurnsTheDialAndATapStillEdits) {
    const std::vector<DialKind> cases = bothDials();
    using Event = ParameterRecorder::Event;
    for (const DialKind& c : cases) {
        for (const char* grip : {"title", "value"}) {
            SCOPED_TRACE(std::string(c.what) + " by its " + grip);
            ParameterRecorder rec(AudioParameter::create(
                0, "feedback", "Feedback", AudioUnitParameterUnit::percent, {0, 100}, 50));
            ControlHarness hosted(c.make(rec), {120, 120});
            const auto texts = hosted.texts();
            ASSERT_EQ(texts.size(), 3u); // title, value, suffix
            const CGRect on = grip == std::string("title") ? texts[0].rect : texts[1].rect;
            const CGPoint p{on.midX(), on.midY()};
            hosted.press(p);
            hosted.drag({p.x, p.y - 6}); // past the knob's dead zone: the edit begins
            hosted.drag({p.x, p.y - 26});
            hosted.release({p.x, p.y - 26});
            ASSERT_EQ(rec.writes.size(), 3u);
            EXPECT_EQ(rec.writes[0], (ParameterRecorder::Write{Event::touch, 50}));
            EXPECT_EQ(rec.writes[1].event, Event::value);
            EXPECT_NEAR(rec.writes[1].value, 60, 1e-3); // 20 points × 0.005 of the range
            EXPECT_EQ(rec.writes[2],
                      (ParameterRecorder::Write{Event::release, rec.writes[1].value}));

            rec.writes.clear();
            hosted.doubleClick(p);
            EXPECT_TRUE(rec.writes.empty()) << "a click on the label is not the knob's";
            EXPECT_TRUE(hosted.host->graph().hasFocus()) << "typing a value";
        }
    }
}

// Each gesture does what the part of the dial under the pointer says, on both kinds of
// dial: the title and the whole value row are the label's (a click, a double-click or
// an Option-click there types a value), the rest of the drawn knob is the knob's (a
// click does nothing, a double-click or an Option-click resets), and a drag turns the
// dial from anywhere.
TEST_F(DialViews, EveryGestureDoesWhatThePlaceUnderThePointerSays) {
    using Owner = DialPlaces::Owner;
    using Event = ParameterRecorder::Event;
    using Writes = std::vector<ParameterRecorder::Write>;
    struct Gesture {
        const char* what;
        std::function<void(ControlHarness&, CGPoint)> act;
        bool labelTypes; // on the label: the gesture opens the field
        Writes onLabel, onKnob;
    };
    const Writes turned{{Event::touch, 80}, {Event::value, 92}, {Event::release, 92}};
    const Gesture gestures[] = {
        {"click", [](ControlHarness& h, CGPoint p) { h.click(p); }, true, {}, {}},
        {"double-click",
         [](ControlHarness& h, CGPoint p) { h.doubleClick(p); },
         true,
         {},
         {{Event::value, 50}}},
        {"Option-click",
         [](ControlHarness& h, CGPoint p) { h.click(p, NSEvent::option); },
         true,
         {},
         {{Event::value, 50}}},
        {"drag 30 points up",
         [](ControlHarness& h, CGPoint p) {
             h.press(p);
             h.drag({p.x, p.y - 6}); // past the knob's dead zone: the edit begins
             h.drag({p.x, p.y - 30});
             h.release({p.x, p.y - 30});
         },
         false, turned, turned},
        // Too far for a click, too short for the knob's 6 points: nothing at all.
        {"nudge 5.5 points up",
         [](ControlHarness& h, CGPoint p) {
             h.press(p);
             h.drag({p.x, p.y - 5.5});
             h.release({p.x, p.y - 5.5});
         },
         false,
         {},
         {}},
    };
    for (const DialKind& dial : bothDials()) {
        // Where the places are, from the dial as drawn.
        std::vector<DialPlaces::Place> places;
        {
            ParameterRecorder rec(AudioParameter::create(
                2, "delayMs", "Delay MS", AudioUnitParameterUnit::milliseconds, {0, 100}, 80));
            ControlHarness hosted(dial.make(rec), {140, 140});
            auto found = DialPlaces::find(hosted.drawn(), {0, 0, 140, 140}, 14);
            ASSERT_TRUE(found) << dial.what;
            ASSERT_EQ(found->titleLines.size(), 2u) << dial.what;
            places = found->places();
        }
        for (const auto& place : places)
            for (const Gesture& g : gestures) {
                SCOPED_TRACE(std::string(dial.what) + ": " + g.what + " on " + place.what);
                ParameterRecorder rec(AudioParameter::create(
                    2, "delayMs", "Delay MS", AudioUnitParameterUnit::milliseconds, {0, 100}, 50));
                rec.param->setValue(80, ParameterEditor::parameterObserver,
                                    ParameterEditorState::change);
                ControlHarness hosted(dial.make(rec), {140, 140});
                g.act(hosted, place.point);
                const bool onLabel = place.owner == Owner::label;
                const Writes& expected = onLabel ? g.onLabel : g.onKnob;
                EXPECT_EQ(rec.writes.size(), expected.size())
                    << ::testing::PrintToString(rec.writes);
                for (size_t i = 0; i < std::min(expected.size(), rec.writes.size()); ++i) {
                    EXPECT_EQ(rec.writes[i].event, expected[i].event) << i;
                    EXPECT_NEAR(rec.writes[i].value, expected[i].value, 1e-3) << i;
                }
                EXPECT_EQ(hosted.host->graph().hasFocus(), onLabel && g.labelTypes)
                    << "typing a value";
            }
    }
}

// Titles wider than the cap shrink or break into two lines so that their capitals stay
// within the radius the artwork keeps clear of the pointer; short ones keep their size.
TEST_F(DialViews, TitlesAreFittedInsideTheCap) {
    struct Case {
        const char* what;
        const char* title;
        OrreryFont face;
        bool large;
        size_t lines;
        bool shrunk;
    };
    const Case cases[] = {
        {"short, large knob", "Mix", OrreryFont::dosisMedium, true, 1, false},
        {"one long word", "Feedback", OrreryFont::rocket, true, 1, true},
        {"two words", "Delay Note", OrreryFont::dosisMedium, true, 2, false},
        // One line would fit, but its word space reads as no space at all.
        {"two words that one line holds", "Delay MS", OrreryFont::dosisMedium, true, 2, false},
        {"two words, small knob", "High Cut", OrreryFont::dosisMedium, false, 2, false},
        {"short, small knob", "Width", OrreryFont::dosisMedium, false, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ParameterRecorder rec(
            AudioParameter::create(0, "p", c.title, AudioUnitParameterUnit::percent, {0, 100}, 5));
        LabelDisplayOptions o = options(c.face);
        o.labelFontSize = 9;
        const KnobArtwork& art = c.large ? largeDialKnob : chaosDialKnob;
        AnyView dial =
            c.large ? AnyView(LargeDial<LargeDialBlue>(rec.binding(), LargeDialBlue(),
                                                       Color(0, 0, 1), o, nullptr, nullptr))
                    : AnyView(ChaosDial(rec.binding(), ModernDialColor::grey, o, nullptr, nullptr));
        ControlHarness hosted(std::move(dial), {120, 120});
        CGRect frame;
        std::vector<CGDisplayItem> title;
        for (const auto& item : hosted.drawn()) {
            if (item.kind == CGDisplayItem::Kind::image)
                frame = item.rect;
            else if (item.kind == CGDisplayItem::Kind::text && item.fontSize != 14)
                title.push_back(item);
        }
        const CGPoint centre{frame.minX() + art.centre.x, frame.minY() + art.centre.y};
        ASSERT_EQ(title.size(), c.lines);
        for (const auto& line : title) {
            EXPECT_EQ(line.fontSize < 9, c.shrunk) << line.text << " " << line.fontSize;
            const CGFont font = *CGFont::named(line.fontName, line.fontSize);
            const CGFloat baseline = line.rect.minY() + font.ascent();
            for (CGFloat x : {line.rect.minX(), line.rect.maxX()})
                for (CGFloat y : {baseline - font.capHeight(), baseline})
                    EXPECT_LE(std::hypot(x - centre.x, y - centre.y), art.titleRadius + 0.01)
                        << line.text;
        }
        // The title's capitals are centred on the knob.
        const CGFont font = *CGFont::named(title.front().fontName, title.front().fontSize);
        const CGFloat top = title.front().rect.minY() + font.ascent() - font.capHeight();
        const CGFloat bottom = title.back().rect.minY() + font.ascent();
        EXPECT_NEAR((top + bottom) / 2, centre.y, 0.5);
        EXPECT_NEAR((title.front().rect.minX() + title.front().rect.maxX()) / 2, centre.x, 0.5);
    }
}

} // namespace
