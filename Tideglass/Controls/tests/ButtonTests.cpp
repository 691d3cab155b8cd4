// The styled push button and the check boxes: the state keys their cells report, the
// art drawn in each state, their geometry and sizes, clicks and the focus ring.

#include "Controls/StyledCheckBox.h"

#include "AppKit/NSImage.h"
#include "Foundation/RunLoop.h"
#include "Styles/TideglassResources.h"
#include "TestSupport/ControlHarness.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Kind = CGDisplayItem::Kind;
using State = StyledControlState;
using S = NSCell::StateValue;

template <class Cell> std::shared_ptr<Cell> cellOf(const NSControl& control) {
    return std::dynamic_pointer_cast<Cell>(control.cell());
}

TEST(StyledButtonCell, StateKeysFollowTheMasksAndFlags) {
    struct Case {
        const char* what;
        std::function<std::shared_ptr<StyledButtonCell>()> make;
        S state;
        bool enabled, highlighted, selected;
        State expected;
    };
    auto button = [] { return make<StyledButtonCell>(); };
    auto toggle = [] {
        auto c = make<StyledButtonCell>();
        c->setButtonType(NSButtonType::toggle);
        return c;
    };
    auto box = [] {
        return std::static_pointer_cast<StyledButtonCell>(make<StyledCheckBoxCell>());
    };
    const Case cases[] = {
        {"plain", button, S::off, true, false, false, State::default_},
        {"on without a state mask", button, S::on, true, false, false, State::default_},
        {"on with a state mask", toggle, S::on, true, false, false, State::default_ | State::on},
        {"selected, highlighted, disabled", button, S::off, false, true, true,
         State::default_ | State::disabled | State::selected},
        {"highlighted", button, S::off, true, true, false, State::default_ | State::highlighted},
        {"check box mixed", box, S::mixed, true, false, false, State::default_ | State::mixed},
        {"check box on, pressed", box, S::on, true, true, false,
         State::default_ | State::on | State::highlighted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto cell = c.make();
        cell->state = c.state;
        cell->isEnabled = c.enabled;
        cell->isHighlighted = c.highlighted;
        cell->setSelected(c.selected);
        EXPECT_EQ(cell->controlState(), c.expected);
    }
    // No highlight of the platform's own: only the art shows a press.
    EXPECT_EQ(make<StyledButtonCell>()->highlightsBy, NSCellStyleMask::none);
    EXPECT_EQ(make<StyledButton>()->buttonCell()->highlightsBy, NSCellStyleMask::none);
}

// A control of its own kind at (10, 10) in a 160 × 60 key window.
struct Scene {
    RunLoopTestScope scope;
    std::shared_ptr<StyledButton> control;
    ControlHarness h;
    explicit Scene(std::shared_ptr<StyledButton> c)
        : control(std::move(c)), h(ControlHarness::holding(control, {160, 60})) {}
    CGPoint middle() const { return h.centre(*control); }
};

std::shared_ptr<StyledButton> pushButton(CGRect frame = {10, 10, 90, 24}) {
    auto b = make<StyledButton>(frame);
    b->setTitle("Apply");
    return b;
}

std::shared_ptr<StyledButton> checkBox(S state = S::off) {
    auto b = make<StyledCheckBox>(CGRect{10, 10, 120, 20});
    b->setTitle("Sync");
    b->setState(state);
    return b;
}

TEST(StyledButton, EachStateDrawsItsArtAtItsStrength) {
    struct Case {
        const char* what;
        std::function<std::shared_ptr<StyledButton>()> make;
        std::function<void(Scene&)> pose;
        const char* art;
        CGFloat alpha;
    };
    auto disabled = [](auto makeOne) {
        return [makeOne] {
            auto b = makeOne();
            b->setEnabled(false);
            return b;
        };
    };
    auto press = [](Scene& s) { s.h.press(s.middle()); };
    auto none = [](Scene&) {};
    auto favourite = [](S state) {
        return [state] {
            auto b = std::static_pointer_cast<StyledButton>(
                make<FavouriteCheckBox>(CGRect{10, 10, 120, 20}));
            b->setState(state);
            return b;
        };
    };
    const Case cases[] = {
        {"push button", [] { return pushButton(); }, none, "tgui-button", 1},
        {"push button pressed", [] { return pushButton(); }, press, "tgui-button-down", 1},
        {"push button disabled", disabled([] { return pushButton(); }), press, "tgui-button", 0.5},
        {"check box off", [] { return checkBox(); }, none, "tgui-checkbox", 1},
        {"check box on", [] { return checkBox(S::on); }, none, "tgui-checkbox-on", 1},
        {"check box mixed", [] { return checkBox(S::mixed); }, none, "tgui-checkbox-mixed", 1},
        {"check box on, pressed", [] { return checkBox(S::on); }, press, "tgui-checkbox-on-down",
         1},
        {"check box on, disabled", disabled([] { return checkBox(S::on); }), none,
         "tgui-checkbox-on", 0.5},
        {"star off", favourite(S::off), none, "organiser-icon-star-empty", 1},
        {"star on", favourite(S::on), none, "organiser-icon-star", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scene s(c.make());
        c.pose(s);
        auto art = s.h.image(c.art);
        ASSERT_TRUE(art);
        EXPECT_DOUBLE_EQ(art->alpha, c.alpha);
    }

    // A disabled button's title takes the disabled text colour; a pressed one's the
    // highlighted colour; a template image is drawn at half strength while pressed.
    Scene s(pushButton());
    auto image = TideglassResources::nsImage("corner-tool-more");
    ASSERT_TRUE(image);
    s.control->setImage(image);
    s.h.press(s.middle());
    const auto style = StyledButtonCell::classStyle();
    EXPECT_EQ(s.h.text("Apply")->color, style->highlightedTextColor()->cgColor());
    EXPECT_DOUBLE_EQ(s.h.image("corner-tool-more")->alpha, 0.5);
    s.h.release(s.middle());
    s.control->setEnabled(false);
    EXPECT_EQ(s.h.text("Apply")->color, style->disabledTextColor()->cgColor());
}

TEST(StyledButton, SizesComeFromTheArtAndTheFixedWidth) {
    auto art = StyledButtonCell::classStyle()->bezelImage(State::default_);
    ASSERT_TRUE(art);
    const CGSize a = art->size();
    const NSEdgeInsets insets = StyledButtonCell::classStyle()->alignmentRectInsets();
    const CGFloat dw = insets.left + insets.right, dh = insets.top + insets.bottom;
    struct Case {
        const char* what;
        std::optional<CGFloat> fixedWidth;
        bool bordered;
        CGFloat width, height; // NaN: the cell's own
    };
    const CGFloat own = std::nan("");
    const Case cases[] = {
        {"bordered, natural width", std::nullopt, true, own, a.height - dh},
        // The art bounds the width from below, also when a narrower width is fixed.
        {"fixed narrower than the art", 10, true, a.width - dw, a.height - dh},
        {"fixed wider than the art", a.width + 100, true, a.width + 100 - dw, a.height - dh},
        {"borderless keeps the cell's size", std::nullopt, false, own, own},
        {"borderless with a fixed width", 200, false, 200, own},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto b = pushButton();
        b->fixedWidth = c.fixedWidth;
        b->setBordered(c.bordered);
        const CGSize cell = b->cell()->cellSize();
        const CGSize size = b->intrinsicContentSize();
        EXPECT_EQ(size.width, std::isnan(c.width) ? std::max(cell.width, c.bordered ? a.width : 0) -
                                                        (c.bordered ? dw : 0)
                                                  : c.width);
        EXPECT_EQ(size.height, std::isnan(c.height) ? cell.height : c.height);
    }
}

TEST(StyledCheckBox, TheBoxSitsAtTheLeftAndTheTitleBesideIt) {
    auto box = checkBox();
    auto cell = cellOf<StyledCheckBoxCell>(*box);
    ASSERT_TRUE(cell);
    const CGRect bounds{30, 5, 120, 20};
    // x does not follow the bounds' origin; the box is centred on the mid-line.
    EXPECT_EQ(cell->imageRectForBounds(bounds), (CGRect{-2, 7, 16, 16}));
    EXPECT_EQ(cell->focusRingMaskBounds(bounds, *box), cell->imageRectForBounds(bounds));
    const CGRect title = cell->titleRectForBounds(bounds);
    EXPECT_EQ(title.minX(), 16);
    EXPECT_EQ(title.midY(), 15);
    cell->verticallyCenterTitle = false;
    EXPECT_EQ(cell->titleRectForBounds(bounds).minY(), 0);

    struct Bigger : StyledCheckBoxCell {
        CGSize imageSize() const override { return {24, 24}; }
    };
    auto bigger = make<Bigger>();
    bigger->title = "Sync";
    EXPECT_EQ(bigger->imageRectForBounds(bounds).size, (CGSize{24, 24}));
    EXPECT_EQ(bigger->titleRectForBounds(bounds).minX(), 24);
}

TEST(StyledCheckBox, ClicksGoBetweenOnAndOffAndTheStarDimsWhileHeld) {
    Scene s(checkBox(S::mixed));
    const S expected[] = {S::on, S::off, S::on};
    for (S state : expected) {
        s.h.click(s.middle());
        EXPECT_EQ(s.control->state(), state);
    }
    s.control->setEnabled(false);
    s.h.click(s.middle());
    EXPECT_EQ(s.control->state(), S::on);

    Scene star(make<FavouriteCheckBox>(CGRect{10, 10, 120, 20}));
    star.h.press(star.middle());
    EXPECT_EQ(star.control->alphaValue(), 0.5);
    EXPECT_DOUBLE_EQ(star.h.image("organiser-icon-star-empty")->alpha, 0.5);
    star.h.release({150, 50}); // outside: no change, full strength again
    EXPECT_EQ(star.control->alphaValue(), 1);
    EXPECT_EQ(star.control->state(), S::off);
    star.h.click(star.middle());
    EXPECT_EQ(star.control->state(), S::on);
    EXPECT_TRUE(star.h.image("organiser-icon-star"));

    // The star's images are the style's; what is set on the cell is dropped.
    auto cell = cellOf<FavouriteCheckBoxCell>(*star.control);
    cell->setAlternateImage(NSImage::blank({4, 4}));
    EXPECT_EQ(cell->alternateImage()->name(), "organiser-icon-star");
    EXPECT_EQ(cell->starImage()->name(), "organiser-icon-star-empty");
}

TEST(StyledButton, TheLibrarysRingShowsOnlyWithFocusInTheKeyWindow) {
    struct Case {
        const char* what;
        std::function<std::shared_ptr<StyledButton>()> make;
        bool focus, key;
        bool ring;
    };
    const Case cases[] = {
        {"no focus", [] { return pushButton(); }, false, true, false},
        {"focused in the key window", [] { return pushButton(); }, true, true, true},
        {"focused, window not key", [] { return pushButton(); }, true, false, false},
        {"check box focused", [] { return checkBox(); }, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scene s(c.make());
        if (c.focus)
            ASSERT_TRUE(s.h.focus(s.control));
        if (!c.key)
            s.h.window->resignKeyWindow();
        auto strokes = s.h.items(Kind::stroke);
        ASSERT_EQ(strokes.size(), c.ring ? 1u : 0u); // never the system's ring as well
        if (!c.ring)
            continue;
        // Around the control's bounds (a check box's too): inset 1, grown by half the
        // 2-point line.
        EXPECT_EQ(strokes[0].lineWidth, 2);
        EXPECT_EQ(strokes[0].rect, s.h.rectOf(*s.control));
        auto fills = s.h.items(Kind::fill);
        ASSERT_FALSE(fills.empty());
        EXPECT_DOUBLE_EQ(fills.back().color->alpha(), 0.3);
    }
}

TEST(StyledButtonDeathTest, AnImageScalingOutsideThePlatformsValuesEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto b = pushButton();
    b->setImage(NSImage::blank({8, 8}));
    b->setImageScaling(static_cast<NSImageScaling>(7));
    EXPECT_DEATH(b->cacheDisplay(1, true), "Unhandled image scaling value");
}

} // namespace
