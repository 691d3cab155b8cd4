// The plug-in buttons driven by mouse events through a window: what they write to
// their parameter, which face and label they draw, and what a press cut short does.

#include "TestSupport/ControlHarness.h"
#include "TestSupport/ParameterRecorder.h"
#include "Views/Buttons.h"
#include "Views/OrreryResources.h"

#include <gtest/gtest.h>

using namespace SwiftUI;

namespace {

using Unit = AudioUnitParameterUnit;
using Write = ParameterRecorder::Write;
using Event = ParameterRecorder::Event;
using Writes = std::vector<Write>;

std::shared_ptr<AudioParameter> indexed(float value, std::vector<std::string> strings) {
    auto p =
        AudioParameter::create(7, "model", "Model", Unit::indexed, {0, float(strings.size() - 1)},
                               value, ValueIncrement::linear(), strings);
    return p;
}

std::shared_ptr<AudioParameter> onOff(float value, const char* name = "Sync") {
    return AudioParameter::create(11, "onOff", name, Unit::boolean, {0, 1}, value);
}

// A view placed at the top-left corner of a larger window, so that points of the
// window are the button's own.
AnyView topLeft(AnyView view) {
    return view.frame(200, 120, Alignment::topLeading());
}

struct Buttons : ::testing::Test {
    RunLoopTestScope scope;
};

TEST_F(Buttons, AParameterPressIsOneEditThatCountsOnlyWhenReleasedInside) {
    struct Kind {
        const char* name;
        std::function<std::shared_ptr<AudioParameter>()> param;
        std::function<AnyView(ParameterBinding)> view;
        CGSize size;
        float newValue; // written on a release inside
    };
    std::vector<std::string> models{"bbd1", "bbd2", "pt1", "pt2"};
    const Kind kinds[] = {
        {"chaos toggle",
         [&] { return indexed(0, models); },
         [](ParameterBinding b) {
             return AnyView(ChaosToggleButton(b, 2, ChaosButtonColor::blue));
         },
         {48, 56},
         2},
        {"mode toggle",
         [&] { return indexed(3, models); },
         [](ParameterBinding b) {
             return AnyView(ModeToggleButton(b, 1, Color::white(), ToggleButtonStyle::modern, 12));
         },
         {88, 27},
         1},
        {"toggle",
         [] { return onOff(0); },
         [](ParameterBinding b) { return AnyView(ToggleButton(b, Color::white(), {}, 12)); },
         {88, 27},
         1},
        {"toggle at 0.5",
         [] { return onOff(0.5f); },
         [](ParameterBinding b) { return AnyView(ToggleButton(b, Color::white(), {}, 12)); },
         {88, 27},
         0},
        {"narrow toggle",
         [] { return onOff(1); },
         [](ParameterBinding b) { return AnyView(ChaosToggleButtonNarrow(b, "X")); },
         {24, 62},
         0},
        {"arrow",
         [] { return onOff(0); },
         [](ParameterBinding b) { return AnyView(LeftRightArrowButton(b, 1)); },
         {28, 34},
         1},
    };
    for (const auto& kind : kinds) {
        const CGSize s = kind.size;
        struct Release {
            CGPoint at;
            bool inside;
        } releases[] = {
            {{s.width / 2, s.height / 2}, true}, {{s.width - 0.5, s.height - 0.5}, true},
            {{s.width, s.height / 2}, false}, // the right edge is outside
            {{s.width / 2, s.height}, false}, // and so is the bottom edge
            {{s.width + 30, 5}, false},
        };
        for (const auto& r : releases) {
            ParameterRecorder rec(kind.param());
            const float start = rec.param->value.peek();
            ControlHarness hosted(topLeft(kind.view(rec.binding())), {200, 120});
            hosted.press({s.width / 2, s.height / 2});
            hosted.drag({s.width / 2 + 3, s.height / 2});
            hosted.drag(r.at);
            EXPECT_EQ(rec.writes, (Writes{{Event::touch, start}})) << kind.name;
            hosted.release(r.at);
            Writes expected = r.inside ? Writes{{Event::touch, start},
                                                {Event::value, kind.newValue},
                                                {Event::release, kind.newValue}}
                                       : Writes{{Event::touch, start}, {Event::release, start}};
            EXPECT_EQ(rec.writes, expected) << kind.name << " at " << r.at.x << "," << r.at.y;
            EXPECT_EQ(rec.param->value.peek(), r.inside ? kind.newValue : start) << kind.name;
        }
    }
}

TEST_F(Buttons, FacesFollowSelectionAndPress) {
    struct Case {
        const char* name;
        std::shared_ptr<AudioParameter> param;
        std::function<AnyView(ParameterBinding)> view;
        std::string up, down;
    };
    std::vector<std::string> models{"bbd1", "bbd2", "pt1", "pt2"};
    const Case cases[] = {
        {"chaos toggle off", indexed(1, models),
         [](ParameterBinding b) { return AnyView(ChaosToggleButton(b, 2, ChaosButtonColor::red)); },
         "chaos-button-grey-off", "chaos-button-grey-off-down"},
        {"chaos toggle on (2.7 truncates)", indexed(2.7f, models),
         [](ParameterBinding b) {
             return AnyView(ChaosToggleButton(b, 2, ChaosButtonColor::white));
         },
         "chaos-button-grey-on-white", "chaos-button-grey-on-white-down"},
        {"retro selected", indexed(1, models),
         [](ParameterBinding b) {
             return AnyView(ModeToggleButton(b, 1, Color::white(), ToggleButtonStyle::retro, 12));
         },
         "modern-button-on", "retro-button-down"},
        {"retro unselected", indexed(0, models),
         [](ParameterBinding b) {
             return AnyView(ModeToggleButton(b, 1, Color::white(), ToggleButtonStyle::retro, 12));
         },
         "retro-button", "retro-button"},
        {"toggle at 0.5 is off", onOff(0.5f),
         [](ParameterBinding b) { return AnyView(ToggleButton(b, Color::white(), {}, 12)); },
         "modern-button", "modern-button-down"},
        {"narrow on", onOff(1),
         [](ParameterBinding b) { return AnyView(ChaosToggleButtonNarrow(b, std::nullopt)); },
         "chaos-button-narrow-grey-on-yellow", "chaos-button-narrow-grey-on-yellow-down"},
        {"arrow at its left value", onOff(1),
         [](ParameterBinding b) { return AnyView(LeftRightArrowButton(b, 1)); },
         "chaos-button-small-yellow-left", "chaos-button-small-yellow-left-down"},
        {"arrow elsewhere", onOff(0),
         [](ParameterBinding b) { return AnyView(LeftRightArrowButton(b, 1)); },
         "chaos-button-small-yellow-right", "chaos-button-small-yellow-right-down"},
        {"arrow at a left value of 0", onOff(0),
         [](ParameterBinding b) { return AnyView(LeftRightArrowButton(b, 0)); },
         "chaos-button-small-yellow-left", "chaos-button-small-yellow-left-down"},
        {"arrow at 1 with a left value of 0", onOff(1),
         [](ParameterBinding b) { return AnyView(LeftRightArrowButton(b, 0)); },
         "chaos-button-small-yellow-right", "chaos-button-small-yellow-right-down"},
        {"chaos toggle on in yellow", indexed(2, models),
         [](ParameterBinding b) {
             return AnyView(ChaosToggleButton(b, 2, ChaosButtonColor::yellow));
         },
         "chaos-button-grey-on-yellow", "chaos-button-grey-on-yellow-down"},
        {"chaos toggle on in blue", indexed(2, models),
         [](ParameterBinding b) {
             return AnyView(ChaosToggleButton(b, 2, ChaosButtonColor::blue));
         },
         "chaos-button-grey-on-blue", "chaos-button-grey-on-blue-down"},
        {"chaos toggle on in red", indexed(2, models),
         [](ParameterBinding b) { return AnyView(ChaosToggleButton(b, 2, ChaosButtonColor::red)); },
         "chaos-button-grey-on-red", "chaos-button-grey-on-red-down"},
        {"narrow off", onOff(0),
         [](ParameterBinding b) { return AnyView(ChaosToggleButtonNarrow(b, std::nullopt)); },
         "chaos-button-narrow-grey-off", "chaos-button-narrow-grey-off-down"},
        {"narrow at 0.5 is off", onOff(0.5f),
         [](ParameterBinding b) { return AnyView(ChaosToggleButtonNarrow(b, std::nullopt)); },
         "chaos-button-narrow-grey-off", "chaos-button-narrow-grey-off-down"},
        {"toggle on", onOff(1),
         [](ParameterBinding b) { return AnyView(ToggleButton(b, Color::white(), {}, 12)); },
         "modern-button-on", "modern-button-on-down"},
        {"modern selected", indexed(1, models),
         [](ParameterBinding b) {
             return AnyView(ModeToggleButton(b, 1, Color::white(), ToggleButtonStyle::modern, 12));
         },
         "modern-button-on", "modern-button-on-down"},
        {"modern unselected", indexed(0, models),
         [](ParameterBinding b) {
             return AnyView(ModeToggleButton(b, 1, Color::white(), ToggleButtonStyle::modern, 12));
         },
         "modern-button", "modern-button-down"},
        // The hold button's art follows the value, not the press: only 1 is held.
        {"hold at 0.5", onOff(0.5f),
         [](ParameterBinding b) {
             return AnyView(ParameterHoldButton(b, OrreryResources::image("settings-button"),
                                                OrreryResources::image("settings-button-down")));
         },
         "settings-button", "settings-button-down"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ParameterRecorder rec(c.param);
        ControlHarness hosted(topLeft(c.view(rec.binding())), {200, 120});
        ASSERT_FALSE(hosted.images().empty()) << c.name;
        EXPECT_EQ(hosted.images().front(), c.up) << c.name;
        hosted.press({5, 5});
        EXPECT_EQ(hosted.images().front(), c.down) << c.name;
        hosted.release({150, 100}); // outside: nothing changes
        EXPECT_EQ(hosted.images().front(), c.up) << c.name;
    }
}

TEST_F(Buttons, LabelsShowValueStringsOrNamesInTheirColours) {
    auto p = indexed(0, {"bbd1", "bbd2", "pt1", "pt2"});
    auto text = [](ControlHarness& h) {
        auto runs = h.texts();
        return runs.empty() ? CGDisplayItem{} : runs.front();
    };
    {
        ControlHarness hosted(
            topLeft(ChaosToggleButton(Binding<std::shared_ptr<AudioParameter>>::constant(p), 3,
                                      ChaosButtonColor::yellow)),
            {200, 120});
        auto run = text(hosted);
        EXPECT_EQ(run.text, "PT2");
        EXPECT_EQ(run.fontName, "Dosis-Medium");
        EXPECT_EQ(run.fontSize, 13);
        EXPECT_EQ(run.color, orreryColor("chaosToggleText").resolve());
        hosted.press({5, 5});
        EXPECT_EQ(text(hosted).color, orreryColor("chaosToggleTextPressed").resolve());
        hosted.release({150, 100});
    }
    {
        // An index past the value strings shows no text rather than reading past them.
        ControlHarness hosted(
            topLeft(ModeToggleButton(Binding<std::shared_ptr<AudioParameter>>::constant(p), 9,
                                     Color::white(), ToggleButtonStyle::retro, 11)),
            {200, 120});
        for (const auto& run : hosted.texts())
            EXPECT_EQ(run.text, "");
    }
    {
        auto sync = onOff(1, "Sync");
        ControlHarness hosted(
            topLeft(ToggleButton(Binding<std::shared_ptr<AudioParameter>>::constant(sync),
                                 Color(1, 0, 0), std::nullopt, 11)),
            {200, 120});
        auto run = text(hosted);
        EXPECT_EQ(run.text, "SYNC");
        EXPECT_EQ(run.fontName, "Rocket");
        EXPECT_EQ(run.fontSize, 11);
        EXPECT_EQ(run.color, CGColor::rgb(1, 0, 0)); // selected: the caller's colour
        hosted.click({5, 5});
        EXPECT_EQ(text(hosted).color, orreryColor("buttonText").resolve());
    }
    {
        // Unselected mode toggles: the modern face's text colour, the retro face's.
        for (auto [style, colour] : {std::pair{ToggleButtonStyle::modern, "buttonText"},
                                     std::pair{ToggleButtonStyle::retro, "background"}}) {
            ControlHarness hosted(
                topLeft(ModeToggleButton(Binding<std::shared_ptr<AudioParameter>>::constant(p), 1,
                                         Color::white(), style, 11)),
                {200, 120});
            auto run = text(hosted);
            EXPECT_EQ(run.text, "BBD2");
            EXPECT_EQ(run.fontName, "Rocket");
            EXPECT_EQ(run.color, orreryColor(colour).resolve());
        }
    }
    {
        // With an image instead of text: the image, dimmed while pressed.
        ControlHarness hosted(
            topLeft(ChaosToggleButton(Binding<std::shared_ptr<AudioParameter>>::constant(p), 0,
                                      ChaosButtonColor::blue, orreryImage("korvane-logo"))),
            {200, 120});
        auto logoAlpha = [&] {
            for (const auto& item : hosted.drawn())
                if (item.imageName == "korvane-logo")
                    return item.alpha;
            return -1.0;
        };
        EXPECT_TRUE(hosted.texts().empty());
        EXPECT_EQ(logoAlpha(), 1.0);
        CGPoint centre;
        for (const auto& item : hosted.drawn())
            if (item.imageName == "chaos-button-grey-on-blue")
                centre = {item.rect.midX(), item.rect.midY()};
        hosted.press(centre);
        EXPECT_DOUBLE_EQ(logoAlpha(), 0.7);
        hosted.release(centre);
        EXPECT_EQ(logoAlpha(), 1.0);
    }
    {
        auto sync = onOff(0);
        ControlHarness hosted(
            topLeft(ToggleButton(Binding<std::shared_ptr<AudioParameter>>::constant(sync),
                                 Color(1, 0, 0), "Tempo", 11)),
            {200, 120});
        EXPECT_EQ(text(hosted).text, "Tempo");
    }
}

TEST_F(Buttons, EachFaceFillsTheButtonAndItsLabelSitsAtItsOffset) {
    struct Case {
        const char* what;
        std::shared_ptr<AudioParameter> param;
        std::function<AnyView(ParameterBinding)> view;
        const char* face;
        CGSize size;
        const char* label; // text, or the image shown instead; "" for none
        const char* font;  // "" for an image label
        CGFloat fontSize;
        std::optional<CGColor> colour;
        CGFloat offsetY; // label centre below the face centre
    };
    std::vector<std::string> models{"bbd1", "bbd2", "pt1", "pt2"};
    auto asset = [](const char* name) { return orreryColor(name).resolve(); };
    const Case cases[] = {
        {"chaos button: its title unchanged",
         onOff(0),
         [](ParameterBinding) { return AnyView(ChaosButton("Go on", ChaosButtonColor::blue, {})); },
         "chaos-button-yellow",
         {48, 56},
         "Go on",
         "Dosis-Medium",
         13,
         asset("ChaosYellowText"),
         -4},
        {"chaos toggle",
         indexed(0, models),
         [](ParameterBinding b) {
             return AnyView(ChaosToggleButton(b, 1, ChaosButtonColor::yellow));
         },
         "chaos-button-grey-off",
         {48, 56},
         "BBD2",
         "Dosis-Medium",
         13,
         asset("chaosToggleText"),
         -6},
        {"chaos toggle with an image",
         indexed(0, models),
         [](ParameterBinding b) {
             return AnyView(
                 ChaosToggleButton(b, 1, ChaosButtonColor::yellow, orreryImage("korvane-logo")));
         },
         "chaos-button-grey-off",
         {48, 56},
         "korvane-logo",
         "",
         0,
         std::nullopt,
         -2},
        {"narrow toggle: its title unchanged",
         onOff(0),
         [](ParameterBinding b) { return AnyView(ChaosToggleButtonNarrow(b, "Hi x2")); },
         "chaos-button-narrow-grey-off",
         {24, 62},
         "Hi x2",
         "Dosis-Medium",
         13,
         asset("chaosToggleText"),
         -2},
        {"narrow toggle without a title",
         onOff(0),
         [](ParameterBinding b) { return AnyView(ChaosToggleButtonNarrow(b, std::nullopt)); },
         "chaos-button-narrow-grey-off",
         {24, 62},
         "",
         "",
         0,
         std::nullopt,
         0},
        {"arrow",
         onOff(0),
         [](ParameterBinding b) { return AnyView(LeftRightArrowButton(b, 1)); },
         "chaos-button-small-yellow-right",
         {28, 34},
         "",
         "",
         0,
         std::nullopt,
         0},
        {"mode toggle",
         indexed(3, models),
         [](ParameterBinding b) {
             return AnyView(ModeToggleButton(b, 3, Color(0, 0, 1), ToggleButtonStyle::modern, 10));
         },
         "modern-button-on",
         {88, 27},
         "PT2",
         "Rocket",
         10,
         CGColor::rgb(0, 0, 1),
         2},
        {"toggle",
         onOff(0, "Sync"),
         [](ParameterBinding b) { return AnyView(ToggleButton(b, Color::white(), {}, 12)); },
         "modern-button",
         {88, 27},
         "SYNC",
         "Rocket",
         12,
         asset("buttonText"),
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ParameterRecorder rec(c.param);
        ControlHarness hosted(topLeft(c.view(rec.binding())), {200, 120});
        auto face = hosted.image(c.face);
        ASSERT_TRUE(face);
        // At the top of the view; a label wider than the face widens the stack.
        EXPECT_EQ(face->rect.size, c.size);
        EXPECT_EQ(face->rect.minY(), 0);
        const bool imageLabel = *c.label && !*c.font;
        if (!*c.label) {
            EXPECT_TRUE(hosted.texts().empty());
            EXPECT_EQ(hosted.images().size(), 1u);
            continue;
        }
        auto label = imageLabel ? hosted.image(c.label) : hosted.text(c.label);
        ASSERT_TRUE(label);
        EXPECT_NEAR(label->rect.midY() - face->rect.midY(), c.offsetY, 0.01);
        EXPECT_NEAR(label->rect.midX(), face->rect.midX(), 0.01);
        if (imageLabel)
            continue;
        EXPECT_EQ(label->fontName, c.font);
        EXPECT_EQ(label->fontSize, c.fontSize);
        EXPECT_EQ(label->color, c.colour);
    }
}

TEST_F(Buttons, TheHoldButtonIsMomentaryWhereverItIsReleased) {
    struct Case {
        const char* what;
        float start;
        CGPoint release;
        const char* startArt;
    } cases[] = {
        {"released on it", 0, {10, 10}, "settings-button"},
        {"released far outside", 0, {190, 110}, "settings-button"},
        // The press opens the gesture at 0, whatever the value was.
        {"pressed while held", 1, {10, 10}, "settings-button-down"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CGPoint release = c.release;
        ParameterRecorder rec(onOff(c.start));
        ControlHarness hosted(
            topLeft(ParameterHoldButton(rec.binding(), OrreryResources::image("settings-button"),
                                        OrreryResources::image("settings-button-down"))),
            {200, 120});
        EXPECT_EQ(hosted.images(), (std::vector<std::string>{c.startArt}));
        hosted.press({10, 10});
        hosted.drag({12, 12});
        EXPECT_EQ(rec.writes, (Writes{{Event::touch, 0}, {Event::value, 1}}));
        EXPECT_EQ(hosted.images(), (std::vector<std::string>{"settings-button-down"}));
        hosted.release(release);
        EXPECT_EQ(
            rec.writes,
            (Writes{{Event::touch, 0}, {Event::value, 1}, {Event::value, 0}, {Event::release, 0}}));
        EXPECT_EQ(hosted.images(), (std::vector<std::string>{"settings-button"}));
    }
}

TEST_F(Buttons, ClosureButtonsCallBackOnAReleaseInside) {
    struct Case {
        CGPoint release;
        uint64_t flags;
        std::vector<std::string> calls;
    } cases[] = {
        {{20, 20}, 0, {"image false", "chaos"}},
        {{20, 20}, NSEvent::option, {"image true", "chaos"}},
        {{47, 20}, NSEvent::option | NSEvent::shift, {"image true", "chaos"}},
        {{48, 20}, 0, {}},
        {{20, 55.5}, 0, {"image false", "chaos"}}, // 56 high
        {{20, 56}, 0, {}},
        {{100, 100}, 0, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> calls;
        ControlHarness image(
            topLeft(ImageButton(
                orreryImage("chaos-button-yellow"), orreryImage("chaos-button-yellow-down"),
                [&](bool option) { calls.push_back(option ? "image true" : "image false"); })),
            {200, 120});
        image.press({20, 20});
        EXPECT_EQ(image.images(), (std::vector<std::string>{"chaos-button-yellow-down"}));
        image.release(c.release, c.flags);
        ControlHarness chaos(
            topLeft(ChaosButton("Go", ChaosButtonColor::red, [&] { calls.push_back("chaos"); })),
            {200, 120});
        chaos.press({20, 20});
        EXPECT_EQ(chaos.images().front(), "chaos-button-yellow-down"); // yellow whatever the colour
        chaos.release(c.release, c.flags);
        EXPECT_EQ(chaos.images().front(), "chaos-button-yellow");
        EXPECT_EQ(calls, c.calls) << c.release.x << " " << c.flags;
    }
}

// A button that a flag outside the tree removes, as a host's change may replace a
// control under the user's hand.
struct Removable : View<Removable> {
    std::shared_ptr<Observed<bool>> shown;
    std::function<AnyView()> button;
    AnyView body() const { return shown->get() ? button() : AnyView(Text("gone")); }
};

TEST_F(Buttons, APressCutShortClosesTheHostsGesture) {
    auto shown = std::make_shared<Observed<bool>>(true);
    struct Case {
        const char* name;
        std::shared_ptr<AudioParameter> param;
        std::function<AnyView(ParameterBinding)> view;
        Writes expected;
    } cases[] = {
        {"toggle",
         onOff(0),
         [](ParameterBinding b) { return AnyView(ToggleButton(b, Color::white(), {}, 12)); },
         {{Event::touch, 0}, {Event::release, 0}}},
        {"hold",
         onOff(0),
         [](ParameterBinding b) {
             return AnyView(ParameterHoldButton(b, OrreryResources::image("settings-button"),
                                                OrreryResources::image("settings-button-down")));
         },
         {{Event::touch, 0}, {Event::value, 1}, {Event::value, 0}, {Event::release, 0}}},
    };
    for (const auto& c : cases) {
        shown->set(true);
        ParameterRecorder rec(c.param);
        auto binding = rec.binding();
        auto make = c.view;
        ControlHarness hosted(
            topLeft(Removable{{}, shown, [make, binding] { return make(binding); }}), {200, 120});
        hosted.press({10, 10});
        shown->set(false);
        hosted.turn();
        EXPECT_EQ(rec.writes, c.expected) << c.name;
        hosted.release({10, 10});
        EXPECT_EQ(rec.writes, c.expected) << c.name;
    }
}

} // namespace
