// The dial label: what it shows, and editing a value by typing (Return, Escape, focus
// loss, clamping, text that is not a number).

#include "DialLabel.h"
#include "TestSupport/ControlHarness.h"
#include "TestSupport/ParameterRecorder.h"

#include <gtest/gtest.h>

#include <limits>

using namespace SwiftUI;

namespace {

using Unit = AudioUnitParameterUnit;
using Event = ParameterRecorder::Event;
using Writes = std::vector<ParameterRecorder::Write>;

LabelDisplayOptions options(bool showName = true, std::optional<std::string> title = {},
                            bool showSuffix = true) {
    return {Color(0, 1, 0), 10, 15, 13, showSuffix, showName, 60, OrreryFont::dosisLight, title};
}

// A label at the top of the window, and an empty area below it to click into.
AnyView labelled(const ParameterRecorder& rec, LabelDisplayOptions o,
                 std::shared_ptr<const LabelFormatter> formatter = nullptr,
                 std::function<void()> ended = nullptr) {
    return VStack(
        HorizontalAlignment::center(), 0.0,
        DialLabel(rec.binding(), Color(1, 0, 0), o, OrreryFont::dosisMedium, formatter, ended)
            .frame(100, 60),
        Color::black().frame(100, 60).onTapGesture([] {}));
}

std::vector<std::string> shown(ControlHarness& h) {
    std::vector<std::string> runs;
    for (const auto& r : h.texts())
        runs.push_back(r.text);
    return runs;
}

// Clicks the value text (drawn at the value size, 15).
void clickValue(ControlHarness& h) {
    for (const auto& r : h.texts())
        if (r.fontSize == 15) {
            h.click({r.rect.midX(), r.rect.midY()});
            return;
        }
    ADD_FAILURE() << "no value text";
}

struct Label : ::testing::Test {
    RunLoopTestScope scope;
    std::shared_ptr<AudioParameter> mix =
        AudioParameter::create(0, "mix", "Mix", Unit::percent, {0, 100}, 25);
    int endings = 0;
    std::function<void()> countEnding = [this] { ++endings; };

    static constexpr CGPoint elsewhere{50, 90};
};

TEST_F(Label, ShowsTitleValueAndSuffixInItsFacesAndColours) {
    struct Case {
        LabelDisplayOptions options;
        std::vector<std::string> texts;
    } cases[] = {
        {options(), {"MIX", "25.0", "%"}},
        {options(true, "Time"), {"TIME", "25.0", "%"}},
        {options(false), {"25.0", "%"}},
        {options(false, {}, false), {"25.0"}},
    };
    for (const auto& c : cases) {
        ParameterRecorder rec(mix);
        ControlHarness hosted(labelled(rec, c.options), {100, 120});
        EXPECT_EQ(shown(hosted), c.texts);
    }
    ParameterRecorder rec(mix);
    ControlHarness hosted(labelled(rec, options()), {100, 120});
    auto runs = hosted.texts();
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].fontName, "Dosis-Medium"); // the label's face, not the options'
    EXPECT_EQ(runs[0].fontSize, 10);
    EXPECT_EQ(runs[0].color, CGColor::rgb(1, 0, 0));
    EXPECT_EQ(runs[1].fontSize, 15);
    EXPECT_EQ(runs[1].color, CGColor::rgb(0, 1, 0));
    EXPECT_EQ(runs[2].fontSize, 15);
    EXPECT_NEAR(runs[2].rect.minX() - runs[1].rect.maxX(), 4, 0.01);
    // A parameter without a unit suffix shows none.
    ParameterRecorder plain(AudioParameter::create(1, "x", "X", Unit::generic, {0, 1}, 0));
    ControlHarness bare(labelled(plain, options()), {100, 120});
    EXPECT_EQ(shown(bare), (std::vector<std::string>{"X", "0.0"}));
}

TEST_F(Label, ReturnAppliesTheTypedValueClampedAsOneChange) {
    struct Case {
        std::shared_ptr<AudioParameter> param;
        std::string typed;
        Writes writes;
        std::string after;
    } cases[] = {
        {mix, "42.5", {{Event::value, 42.5f}}, "42.5"},
        {mix, "9999", {{Event::value, 100}}, "100.0"},
        {mix, "-3", {{Event::value, 0}}, "0.0"},
        {mix, "abc", {}, "25.0"},
        {mix, "12 %", {}, "25.0"},
        {mix, "inf", {}, "25.0"},
        {mix, "nan", {}, "25.0"},
        // Typed in the shown units (cents / 100), stored in cents.
        {AudioParameter::create(3, "depth", "Depth", Unit::absoluteCents, {0, 10000}, 2500),
         "50",
         {{Event::value, 5000}},
         "50.0"},
    };
    for (const auto& c : cases) {
        ParameterRecorder rec(AudioParameter::create(c.param->address, c.param->identifier,
                                                     c.param->name, c.param->units,
                                                     c.param->valueRange, c.param->defaultValue));
        endings = 0;
        ControlHarness hosted(labelled(rec, options(false, {}, false), nullptr, countEnding),
                              {100, 120});
        clickValue(hosted);
        hosted.type(c.typed);
        EXPECT_EQ(shown(hosted), (std::vector<std::string>{c.typed})) << c.typed;
        hosted.key("\r");
        EXPECT_EQ(rec.writes, c.writes) << c.typed;
        EXPECT_EQ(endings, 1) << c.typed;
        EXPECT_EQ(shown(hosted), (std::vector<std::string>{c.after})) << c.typed;
    }
}

TEST_F(Label, EscapeLeavesWithoutApplyingAndShowsTheValueAgain) {
    ParameterRecorder rec(mix);
    ControlHarness hosted(labelled(rec, options(false), nullptr, countEnding), {100, 120});
    clickValue(hosted);
    EXPECT_EQ(shown(hosted), (std::vector<std::string>{"25.0"})); // the field holds the value
    hosted.type("42");
    hosted.key("\x1b");
    EXPECT_TRUE(rec.writes.empty());
    EXPECT_EQ(endings, 1);
    EXPECT_EQ(shown(hosted), (std::vector<std::string>{"25.0", "%"}));
    clickValue(hosted);
    EXPECT_EQ(shown(hosted), (std::vector<std::string>{"25.0"}));
}

TEST_F(Label, LosingTheFocusLeavesQuietlyAndKeepsTheTypedText) {
    ParameterRecorder rec(mix);
    ControlHarness hosted(labelled(rec, options(false), nullptr, countEnding), {100, 120});
    clickValue(hosted);
    hosted.type("42");
    hosted.click(elsewhere);
    EXPECT_TRUE(rec.writes.empty());
    EXPECT_EQ(endings, 0);
    EXPECT_EQ(shown(hosted), (std::vector<std::string>{"25.0", "%"}));
    clickValue(hosted);
    EXPECT_EQ(shown(hosted), (std::vector<std::string>{"42"}));
    // A value change in between replaces the kept text.
    hosted.click(elsewhere);
    rec.param->setValue(30, ParameterEditor::parameterObserver, ParameterEditorState::change);
    hosted.turn();
    clickValue(hosted);
    EXPECT_EQ(shown(hosted), (std::vector<std::string>{"30.0"}));
}

TEST_F(Label, TheFieldStandsAtTheLabelWidthInTheEditingSizeAndValueColour) {
    ParameterRecorder rec(mix);
    ControlHarness hosted(labelled(rec, options(), nullptr, countEnding), {100, 120});
    const CGFloat valueMidY = hosted.text("25.0")->rect.midY();
    const CGFloat titleMidY = hosted.text("MIX")->rect.midY();
    clickValue(hosted);
    EXPECT_NEAR(hosted.text("MIX")->rect.midY(), titleMidY, 0.01);
    // Rounded border: a filled and stroked box labelWidth wide, centred in the label,
    // in a row as high as the value's, so the title does not move and the box stands
    // where the value stood.
    std::optional<CGRect> box;
    for (const auto& f : hosted.items(CGDisplayItem::Kind::fill))
        if (f.rect.width() < 100)
            box = f.rect;
    ASSERT_TRUE(box);
    EXPECT_NEAR(box->width(), 60, 0.01);
    EXPECT_NEAR(box->midX(), 50, 0.01);
    EXPECT_NEAR(box->midY(), valueMidY, 0.5);
    EXPECT_FALSE(hosted.items(CGDisplayItem::Kind::stroke).empty());
    auto typed = hosted.text("25.0");
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->fontName, "Dosis-Medium");
    EXPECT_EQ(typed->fontSize, 13);
    EXPECT_EQ(typed->color, CGColor::rgb(0, 1, 0));
    EXPECT_NEAR(typed->rect.midX(), 50, 0.5); // centred text
    // Emptied, the field shows no placeholder.
    hosted.key(NSEventSpecialKey::delete_);
    EXPECT_EQ(shown(hosted), (std::vector<std::string>{"MIX", ""}));
    // An Escape that repeats leaves the field too.
    hosted.window->sendEvent(NSEvent::key(NSEvent::Type::keyDown, "\x1b", 0, 0, true));
    hosted.turn();
    EXPECT_EQ(endings, 1);
    EXPECT_EQ(shown(hosted), (std::vector<std::string>{"MIX", "25.0", "%"}));
}

TEST_F(Label, TheWholeFortyPointValueRowTakesTheClick) {
    // Alone in a 60-high frame the row spans 10 to 50, its text centred at 30.
    for (CGFloat y : {11.0, 49.0}) {
        ParameterRecorder rec(mix);
        ControlHarness hosted(labelled(rec, options(false)), {100, 120});
        hosted.click({50, y});
        EXPECT_EQ(shown(hosted), (std::vector<std::string>{"25.0"})) << y;
    }
}

// A formatter that reads every text as infinity.
struct Boundless final : LabelFormatter {
    std::string format(float v) const override { return std::to_string(int(v)); }
    std::optional<float> value(const std::string&) const override {
        return std::numeric_limits<float>::infinity();
    }
};

TEST_F(Label, AFormattersValueThatIsNotFiniteIsRefused) {
    ParameterRecorder rec(mix);
    ControlHarness hosted(labelled(rec, options(false), std::make_shared<Boundless>(), countEnding),
                          {100, 120});
    EXPECT_EQ(shown(hosted).front(), "25");
    clickValue(hosted);
    hosted.type("1");
    hosted.key("\r");
    EXPECT_TRUE(rec.writes.empty());
    EXPECT_EQ(endings, 1);
}

TEST_F(Label, ANameFormatterShowsAndReadsValueStrings) {
    ParameterRecorder rec(AudioParameter::create(11, "delayType", "Sync", Unit::indexed, {0, 1}, 0,
                                                 ValueIncrement::linear(),
                                                 std::vector<std::string>{"Note", "Ms"}));
    ControlHarness hosted(
        labelled(rec, options(), std::make_shared<LabelNameFormatter>(*rec.param)), {100, 120});
    EXPECT_EQ(shown(hosted), (std::vector<std::string>{"SYNC", "Note"}));
    clickValue(hosted);
    hosted.type("MS");
    hosted.key("\r");
    EXPECT_EQ(rec.writes, (Writes{{Event::value, 1}}));
    EXPECT_EQ(shown(hosted), (std::vector<std::string>{"SYNC", "Ms"}));
}

} // namespace
