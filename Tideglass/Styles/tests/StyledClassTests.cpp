// The style a styled class finds at run time: a subclass cell that declares a style
// class of its own draws with it, also from the steps it inherits; the image getters
// serve every style of their family; the table views get a new style on each read;
// a shared class style is made once even when many threads ask for it first.

#include "Styles/StyledControl.h"
#include "Styles/Styles.h"
#include "Styles/TideglassResources.h"

#include "AppKit/NSButtonCell.h"
#include "AppKit/NSColor.h"
#include "AppKit/NSImage.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using State = StyledControlState;

std::string nameOf(const std::shared_ptr<NSImage>& image) {
    return image ? image->name() : "none";
}

// The button family as the controls declare it: each cell a subclass of the one
// before, each with a style class of its own.
struct PushCell : StyledControl<PushCell, ButtonCellStyle, NSButtonCell> {
    // A drawing step that subclasses inherit.
    std::shared_ptr<NSColor> titleColour() const { return styleTextColor(); }
};
struct CheckCell : StyledControl<CheckCell, CheckBoxCellStyle, PushCell> {};
struct StarCell : StyledControl<StarCell, FavouriteCheckBoxCellStyle, CheckCell> {};
// A subclass that keeps its base's style.
struct PlainCheckCell : CheckCell {};

static_assert(std::same_as<StarCell::FamilyStyle, ButtonCellStyle>);
template <class Cell>
concept HasCheckBoxImage = requires(const Cell& c) {
    c.styleImage();
};
static_assert(HasCheckBoxImage<StarCell> && HasCheckBoxImage<PlainCheckCell>);
static_assert(!HasCheckBoxImage<PushCell>, "a push button's style has no check-box images");

TEST(StyledClasses, ADerivedCellReachesItsOwnStyleAndItsImages) {
    auto push = make<PushCell>();
    auto check = make<CheckCell>();
    auto star = make<StarCell>();
    auto plain = make<PlainCheckCell>();

    // Each class its own style, of its own class; a subclass without one shares its base's.
    EXPECT_NE(CheckCell::classStyle(), nullptr);
    EXPECT_NE(std::shared_ptr<ButtonCellStyle>(CheckCell::classStyle()), PushCell::classStyle());
    EXPECT_NE(std::shared_ptr<CheckBoxCellStyle>(StarCell::classStyle()), CheckCell::classStyle());
    EXPECT_EQ(push->style(), PushCell::classStyle());
    EXPECT_EQ(check->style(), CheckCell::classStyle());
    EXPECT_EQ(plain->style(), CheckCell::classStyle());
    // Asked through the base class, the style is still the dynamic class's.
    const PushCell& starAsPush = *star;
    EXPECT_EQ(starAsPush.style(), StarCell::classStyle());
    EXPECT_NE(starAsPush.styleAs<FavouriteCheckBoxCellStyle>(), nullptr);
    EXPECT_EQ(push->styleAs<CheckBoxCellStyle>(), nullptr);

    struct Case {
        const char* what;
        NSCell& cell;
        std::function<std::shared_ptr<NSImage>()> image;
        NSCell::StateValue state;
        std::string expected;
    };
    auto checkImage = [&] { return check->styleImage(); };
    auto starImage = [&] { return star->styleImage(); };
    const Case cases[] = {
        {"check box, off", *check, checkImage, NSCell::StateValue::off, "tgui-checkbox"},
        {"check box, on", *check, checkImage, NSCell::StateValue::on, "tgui-checkbox-on"},
        {"favourite, on", *star, starImage, NSCell::StateValue::on, "organiser-icon-star"},
        {"favourite, mixed: the empty star", *star, starImage, NSCell::StateValue::mixed,
         "organiser-icon-star-empty"},
        {"subclass without a style of its own", *plain, [&] { return plain->styleImage(); },
         NSCell::StateValue::mixed, "tgui-checkbox-mixed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.cell.state = c.state;
        EXPECT_EQ(nameOf(c.image()), c.expected);
    }

    // The step the check box inherits from the push button reads the check box's
    // style: checked, its title keeps the plain text colour, not the button's
    // highlighted one.
    push->state = check->state = NSCell::StateValue::on;
    EXPECT_EQ(push->titleColour(), PushCell::classStyle()->highlightedTextColor());
    EXPECT_EQ(check->titleColour(), CheckCell::classStyle()->textColor());
    EXPECT_NE(check->titleColour(), push->titleColour());
    // Both keep the push button's bezel art.
    EXPECT_EQ(nameOf(check->styleBezelImage()), "tgui-button-selected");
}

// A slider cell styled by a subclass of the slider style keeps its bar and knob.
struct TintedSliderStyle : SliderCellStyle {};
struct SliderCell : StyledControl<SliderCell, SliderCellStyle, NSCell> {};
struct TintedSliderCell : StyledControl<TintedSliderCell, TintedSliderStyle, SliderCell> {};
struct LooseTintedCell : NSCell, StyledControl<LooseTintedCell, TintedSliderStyle> {};

TEST(StyledClasses, ImageGettersServeEveryStyleOfTheirFamily) {
    auto tinted = make<TintedSliderCell>();
    auto loose = make<LooseTintedCell>();
    const SliderCell& asSlider = *tinted;
    EXPECT_NE(tinted->styleAs<TintedSliderStyle>(), nullptr);
    EXPECT_EQ(asSlider.style(), TintedSliderCell::classStyle());
    tinted->isHighlighted = loose->isHighlighted = true;
    EXPECT_EQ(nameOf(tinted->styleKnobImage()), "tgui-slider-handle-down");
    EXPECT_EQ(nameOf(loose->styleBarImage()), "tgui-slider");
    EXPECT_EQ(nameOf(asSlider.styleBarImage()), "tgui-slider");
}

// The table views: a new style on every read, for the subclasses too.
struct TableLike : StyledControl<TableLike, TableViewStyle, NSView> {
    static constexpr bool freshStyleEachRead = true;
    StyledControlState shown = State::default_;
    StyledControlState controlState() const override { return shown; }
};
struct OutlineLike : StyledControl<OutlineLike, OutlineViewStyle, TableLike> {};

TEST(StyledClasses, TableViewsMakeANewStyleOnEveryRead) {
    EXPECT_NE(TableLike::classStyle(), TableLike::classStyle());
    EXPECT_NE(OutlineLike::classStyle(), OutlineLike::classStyle());
    auto outline = make<OutlineLike>();
    const TableLike& asTable = *outline;
    EXPECT_NE(asTable.styleAs<OutlineViewStyle>(), nullptr);
    EXPECT_EQ(asTable.rowBackgroundColor(), Styles::TableView::background());
    outline->shown = State{State::default_, State::selected};
    EXPECT_EQ(outline->rowBackgroundColor()->name(), "Highlight/System");
}

// A shared style is made once, whichever thread asks first.
std::atomic<int> countedStyles{0};
struct CountedStyle : ControlStyle {
    CountedStyle() { ++countedStyles; }
};
struct CountedCell : NSCell, StyledView<CountedCell, CountedStyle> {};

TEST(StyledClasses, ASharedStyleIsMadeOnceWhenManyThreadsAskAtOnce) {
    std::atomic<bool> go{false};
    std::vector<std::shared_ptr<CountedStyle>> seen(8);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&, i] {
            while (!go)
                std::this_thread::yield();
            seen[i] = CountedCell::classStyle();
        });
    go = true;
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(countedStyles, 1);
    for (const auto& s : seen)
        EXPECT_EQ(s, seen.front());
}

} // namespace
