// The styled push button and the check boxes: the state keys their cells report, the
// art drawn in each state, their geometry and sizes, clicks and the focus ring.

#include "Controls/CursorButton.h"
#include "Controls/QuarroPushButton.h"
#include "Controls/StyledCheckBox.h"

#include "AppKit/NSImage.h"
#include "Foundation/Bundle.h"
#include "Foundation/RunLoop.h"
#include "Styles/Styles.h"
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
    std::shared_ptr<NSButton> control;
    ControlHarness h;
    explicit Scene(std::shared_ptr<NSButton> c)
        : control(std::move(c)), h(ControlHarness::holding(control, {160, 60})) {}
    CGPoint middle() const { return h.centre(*control); }
};

std::shared_ptr<StyledButton> pushButton(CGRect frame = {10, 10, 90, 24}) {
    auto b = make<StyledButton>(frame);
    b->setTitle("Apply");
    return b;
}

std::shared_ptr<QuarroPushButton> fixedSizeButton(CGRect frame = {10, 10, 100, 30}) {
    auto b = make<QuarroPushButton>(frame);
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
    // Without an image, the title in the style's font, centred on the button.
    Scene plain(pushButton());
    auto title = plain.h.text("Apply");
    ASSERT_TRUE(title);
    EXPECT_EQ(title->fontName, style->font()->fontName());
    EXPECT_NEAR(title->rect.midX(), plain.h.rectOf(*plain.control).midX(), 1);
}

// A push-button cell whose style leaves 10 points below the title.
class RaisedTitleCell : public StyledControl<RaisedTitleCell, ButtonCellStyle, StyledButtonCell> {
  public:
    static std::shared_ptr<ButtonCellStyle> makeStyle() {
        auto style = std::make_shared<ButtonCellStyle>();
        style->setTitleEdgeInsets({0, 0, 10, 0});
        return style;
    }

  protected:
    using StyledControl::StyledControl;
};

TEST(StyledButtonCell, TheTitleIsCentredOnTheBoundsOrKeepsItsPlaceInTheInsetRectangle) {
    auto cell = make<RaisedTitleCell>();
    cell->title = "Apply";
    const CGRect bounds{0, 0, 100, 30};
    // The inherited rectangle lies in the bounds less the title insets: (0, 10, 100, 20).
    const CGRect inherited = cell->NSButtonCell::titleRectForBounds({0, 10, 100, 20});
    const CGRect centred = cell->titleRectForBounds(bounds);
    EXPECT_EQ(centred, (CGRect{inherited.minX(), std::round(15 - inherited.height() / 2),
                               inherited.width(), inherited.height()}
                            .integral()));
    cell->verticallyCenterTitle = false;
    EXPECT_EQ(cell->titleRectForBounds(bounds), inherited);
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

    // The star's images are the style's; what is set on the cell, or on the control, is
    // dropped and the star drawn stays the style's.
    auto cell = cellOf<FavouriteCheckBoxCell>(*star.control);
    cell->setAlternateImage(NSImage::blank({4, 4}));
    cell->setImage(NSImage::blank({4, 4}));
    star.control->setImage(TideglassResources::nsImage("corner-tool-more"));
    EXPECT_EQ(cell->alternateImage()->name(), "organiser-icon-star");
    EXPECT_EQ(cell->image()->name(), "organiser-icon-star-empty");
    EXPECT_EQ(star.control->image()->name(), "organiser-icon-star-empty");
    star.control->setState(S::off);
    EXPECT_TRUE(star.h.image("organiser-icon-star-empty"));
    EXPECT_FALSE(star.h.image("corner-tool-more"));

    // A style whose table is emptied: no image, no alternate image, a 16 × 16 box.
    const auto style = FavouriteCheckBoxCell::classStyle();
    const auto table = style->buttonImages();
    style->setButtonImages({});
    EXPECT_EQ(cell->image(), nullptr);
    EXPECT_EQ(cell->alternateImage(), nullptr);
    EXPECT_EQ(cell->imageSize(), (CGSize{16, 16}));
    style->setButtonImages(table);
    EXPECT_EQ(cell->imageSize(), cell->image()->size());
}

TEST(StyledButton, TheLibrarysRingShowsOnlyWithFocusInTheKeyWindow) {
    struct Case {
        const char* what;
        std::function<std::shared_ptr<NSButton>()> make;
        bool focus, key;
        bool ring;
    };
    const Case cases[] = {
        {"no focus", [] { return pushButton(); }, false, true, false},
        {"focused in the key window", [] { return pushButton(); }, true, true, true},
        {"focused, window not key", [] { return pushButton(); }, true, false, false},
        {"check box focused", [] { return checkBox(); }, true, true, true},
        {"fixed-size button focused", [] { return fixedSizeButton(); }, true, true, true},
        {"fixed-size button, window not key", [] { return fixedSizeButton(); }, true, false, false},
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

TEST(QuarroPushButton, TheBezelOfARoundedButtonAndTheTitleKeepTheirFixedMargins) {
    // Drawn: rounded buttons shrink their bezel by (top 3, left 4, bottom 5, right 4),
    // any other bezel style fills the frame; the art at half strength when disabled.
    struct Case {
        const char* what;
        NSBezelStyle bezel;
        bool enabled, pressed;
        const char* art;
        CGRect rect; // in window points, top-left
        CGFloat alpha;
    };
    const Case cases[] = {
        {"rounded", NSBezelStyle::rounded, true, false, "tgui-button", {14, 13, 92, 22}, 1},
        {"rounded, pressed",
         NSBezelStyle::rounded,
         true,
         true,
         "tgui-button-down",
         {14, 13, 92, 22},
         1},
        {"rounded, disabled",
         NSBezelStyle::rounded,
         false,
         false,
         "tgui-button",
         {14, 13, 92, 22},
         0.5},
        {"square fills the frame",
         NSBezelStyle::shadowlessSquare,
         true,
         false,
         "tgui-button",
         {10, 10, 100, 30},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scene s(fixedSizeButton());
        s.control->setBezelStyle(c.bezel);
        s.control->setEnabled(c.enabled);
        if (c.pressed)
            s.h.press(s.middle());
        auto art = s.h.image(c.art);
        ASSERT_TRUE(art);
        EXPECT_EQ(art->rect, c.rect);
        EXPECT_DOUBLE_EQ(art->alpha, c.alpha);
        // The library's control font, the cell style's colour for the state.
        auto title = s.h.text("Apply");
        ASSERT_TRUE(title);
        EXPECT_EQ(title->fontName, Styles::Control::font()->fontName());
        EXPECT_NE(title->fontName, QuarroPushButtonCell::classStyle()->font()->fontName())
            << "the control font, not the style's medium one";
        const auto style = QuarroPushButtonCell::classStyle();
        EXPECT_EQ(title->color, (!c.enabled  ? style->disabledTextColor()
                                 : c.pressed ? style->highlightedTextColor()
                                             : style->textColor())
                                    ->cgColor());
    }

    // Geometry, without drawing: the title rectangle is the inherited one with y + 6 and
    // height − 10 and no centring; the drawing rectangle the inherited one when
    // bordered; the focus-ring mask the frame.
    auto b = fixedSizeButton();
    auto cell = cellOf<QuarroPushButtonCell>(*b);
    ASSERT_TRUE(cell);
    const CGRect bounds{0, 0, 100, 30};
    const CGRect inherited = cell->NSButtonCell::titleRectForBounds(bounds);
    EXPECT_EQ(cell->titleRectForBounds(bounds), (CGRect{inherited.minX(), inherited.minY() + 6,
                                                        inherited.width(), inherited.height() - 10})
                                                    .integral());
    EXPECT_EQ(cell->drawingRectForBounds(bounds), cell->NSButtonCell::drawingRectForBounds(bounds));
    EXPECT_EQ(cell->focusRingMaskBounds(bounds, *b), bounds);
    b->setBordered(false);
    EXPECT_EQ(cell->drawingRectForBounds(bounds), bounds);
    EXPECT_EQ(cell->focusRingMaskBounds(bounds, *b), bounds);
    // An image-only button's image takes the whole bounds (no image margins).
    b->setImage(NSImage::blank({8, 8}));
    b->setImagePosition(NSCellImagePosition::imageOnly);
    EXPECT_EQ(cell->imageRectForBounds(bounds), bounds);
    EXPECT_EQ(cell->highlightsBy, NSCellStyleMask::none);
}

TEST(QuarroPushButton, SizesTakeTheFixedHeightAndWidthAndTheArtPlaysNoPart) {
    struct Case {
        const char* what;
        std::optional<CGFloat> height, width;
    };
    const Case cases[] = {
        {"neither", std::nullopt, std::nullopt},
        {"fixed height only", 30, std::nullopt},
        {"fixed width only", std::nullopt, 140},
        {"both", 18, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto b = make<QuarroPushButton>(CGRect{0, 0, 100, 30}, c.height, c.width);
        b->setTitle("Apply");
        const CGSize cell = b->cell()->cellSize();
        EXPECT_EQ(b->intrinsicContentSize(),
                  (CGSize{c.width.value_or(cell.width), c.height.value_or(cell.height)}));
    }
}

TEST(QuarroPushButton, ItsStyleIsItsOwn) {
    // Restyling one push button's style changes nothing of the other's.
    auto fixed = QuarroPushButtonCell::classStyle();
    auto styled = StyledButtonCell::classStyle();
    ASSERT_NE(fixed, styled);
    const auto before = styled->textColor();
    const auto fixedBefore = fixed->textColor();
    fixed->setTextColor(NSColor::rgb(1, 0, 0));
    EXPECT_EQ(styled->textColor(), before);
    fixed->setTextColor(fixedBefore);
    styled->setTextColor(NSColor::rgb(1, 0, 0));
    EXPECT_EQ(fixed->textColor(), fixedBefore);
    styled->setTextColor(before);

    // The selected mark lives on its cell and adds selected to the state key.
    auto b = fixedSizeButton();
    b->setSelected(true);
    EXPECT_TRUE(b->isSelected());
    EXPECT_EQ(cellOf<QuarroPushButtonCell>(*b)->controlState(), State::default_ | State::selected);
}

TEST(ButtonsDeathTest, ImpossibleSetUpsEndTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto badScaling = [](std::shared_ptr<NSButton> b) {
        return [b] {
            b->setImage(NSImage::blank({8, 8}));
            b->setImageScaling(static_cast<NSImageScaling>(7));
            b->cacheDisplay(1, true);
        };
    };
    struct Case {
        const char* what;
        std::function<void()> act;
        const char* message;
    };
    const Case cases[] = {
        {"styled push button, image scaling outside the platform's values",
         badScaling(pushButton()), "Unhandled image scaling value"},
        {"fixed-size push button, the same", badScaling(fixedSizeButton()),
         "Unhandled image scaling value"},
        {"cursor button in an application without its cursor art",
         [] {
             // A main bundle without Assets that already exists: the dying copy leaves
             // no folder of its own behind.
             Bundle::standInForMain(Bundle::atPath(EMBERFALL_TEST_SUPPORT_DIR));
             make<CursorButton>();
         },
         "no image named cursor-cycle"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_DEATH(c.act(), c.message);
    }
}

} // namespace
