// The pop-up, tool pop-up and pop-down buttons: title box, art per state, label and
// title runs, sizes from the art, clicks, and the initialisers they refuse.

#include "Controls/StyledPopDownButton.h"

#include "AppKit/NSColor.h"
#include "AppKit/NSFont.h"
#include "AppKit/NSImage.h"
#include "Foundation/RunLoop.h"
#include "Styles/TideglassResources.h"
#include "TestSupport/ControlHarness.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using State = StyledControlState;

struct Receiver : NSObject {
    int calls = 0;
    void chosen(NSObject*) { ++calls; }
};

std::shared_ptr<StyledPopUpButton> popUp(std::optional<CGFloat> fixedWidth = std::nullopt) {
    auto b = make<StyledPopUpButton>(CGRect{10, 10, 120, 22}, false, fixedWidth);
    b->addItem("Name");
    b->addItem("Date");
    return b;
}

template <class Cell> std::shared_ptr<Cell> cellOf(const NSControl& c) {
    return std::dynamic_pointer_cast<Cell>(c.cell());
}

// The drawn pieces of one piece of art: each slice is the art drawn scaled and clipped to
// where it shows (an unsliced drawing is not clipped).
std::vector<CGDisplayItem> slicesOf(ControlHarness& h, const std::string& art) {
    std::vector<CGDisplayItem> slices;
    for (const auto& item : h.items(CGDisplayItem::Kind::image))
        if (item.imageName == art)
            slices.push_back(item);
    return slices;
}

// What the slices cover together.
CGRect coverOf(const std::vector<CGDisplayItem>& slices) {
    CGRect cover = CGRect::null();
    for (const auto& s : slices)
        cover = cover.unionWith(s.clip ? s.clip->intersection(s.rect) : s.rect);
    return cover;
}

TEST(StyledPopUpButtonCell, TheTitleBoxIsFixedAndTheStateKeysIgnoreAnEmptyStateMask) {
    auto cell = cellOf<StyledPopUpButtonCell>(*popUp());
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->titleRectForBounds({0, 0, 120, 22}), (CGRect{10, 4, 96, 14}));
    EXPECT_EQ(cell->titleRectForBounds({50, 30, 120, 22}), (CGRect{10, 34, 96, 14}));
    cell->imagePosition = NSCellImagePosition::imageOnly;
    EXPECT_EQ(cell->titleRectForBounds({0, 0, 120, 22}), CGRect{});
    cell->imagePosition = NSCellImagePosition::noImage;
    cell->title.clear();
    EXPECT_EQ(cell->titleRectForBounds({0, 0, 120, 22}), CGRect{});

    cell->state = NSCell::StateValue::on;
    EXPECT_EQ(cell->controlState(), State::default_);
    cell->showsStateBy = NSCellStyleMask::contents;
    cell->isEnabled = false;
    cell->isHighlighted = true;
    EXPECT_EQ(cell->controlState(), State::default_ | State::on | State::disabled);
    EXPECT_EQ(cell->highlightsBy, NSCellStyleMask::none);
}

TEST(MenuButtons, TheirFontTitleBoxAndRedrawOnAPress) {
    RunLoopTestScope scope;
    struct Case {
        const char* what;
        std::shared_ptr<NSPopUpButton> button;
    };
    auto tool = make<ToolPopUpButton>(CGRect{10, 10, 70, 20}, false, std::nullopt);
    tool->addItem("Bucket brigade");
    auto down = make<StyledPopDownButton>(CGRect{10, 10, 120, 22});
    down->setTitle("Sort");
    const Case cases[] = {{"pop-up", popUp()}, {"tool pop-up", tool}, {"pop-down", down}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // The system menu font of 11 points, whatever the 10-point title drawn.
        ASSERT_TRUE(c.button->cell()->font);
        EXPECT_EQ(c.button->cell()->font->pointSize(), 11);
        // Centred on the bounds' mid-line: y = round(midY − height / 2).
        const CGRect title = c.button->cell()->titleRectForBounds({0, 0, 120, 22});
        EXPECT_EQ(title.minY(), std::round(11 - title.height() / 2));
        // The pop-up cells' pressed art at once: the highlight marks the button for drawing.
        if (auto cell = std::dynamic_pointer_cast<StyledPopUpButtonCell>(c.button->cell())) {
            auto h = ControlHarness::holding(c.button, {200, 44});
            h.drawn(); // drawing clears the marks
            EXPECT_FALSE(c.button->needsDisplay());
            cell->highlight(true, c.button->bounds(), *c.button);
            EXPECT_TRUE(cell->isHighlighted);
            EXPECT_TRUE(c.button->needsDisplay());
        }
    }
    // A title too long for its box is cut short within it.
    auto narrow = make<StyledPopUpButton>(CGRect{10, 10, 60, 22}, false, std::nullopt);
    narrow->addItem("Bucket brigade");
    auto h = ControlHarness::holding(narrow, {100, 44});
    auto title = h.text("Bucket brigade");
    ASSERT_TRUE(title);
    EXPECT_LE(title->rect.maxX(), h.rectOf(*narrow).maxX() - 14);
}

TEST(StyledPopUpButton, EachStateDrawsItsArtAndTheLabelBeforeTheTitle) {
    RunLoopTestScope scope;
    struct Case {
        const char* what;
        std::function<std::shared_ptr<StyledPopUpButton>()> make;
        bool highlighted, enabled;
        const char* art;
        CGFloat alpha;
    };
    auto tool = [] {
        auto b = make<ToolPopUpButton>(CGRect{10, 10, 120, 22}, false, std::nullopt);
        b->addItem("Name");
        return std::static_pointer_cast<StyledPopUpButton>(b);
    };
    auto plain = [] { return popUp(); };
    const Case cases[] = {
        {"at rest", plain, false, true, "tgui-popup", 1},
        {"pressed", plain, true, true, "tgui-popup-down", 1},
        {"disabled", plain, false, false, "tgui-popup", 0.5},
        {"disabled, pressed", plain, true, false, "tgui-popup", 0.5},
        {"tool at rest", tool, false, true, "tgui-popup-tool", 1},
        {"tool pressed", tool, true, true, "tgui-popup-tool-down", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto b = c.make();
        auto h = ControlHarness::holding(b, {160, 44});
        b->setEnabled(c.enabled);
        b->highlight(c.highlighted);
        auto slices = slicesOf(h, c.art);
        ASSERT_FALSE(slices.empty());
        EXPECT_EQ(coverOf(slices), h.rectOf(*b));
        for (const auto& slice : slices)
            EXPECT_DOUBLE_EQ(slice.alpha, c.alpha);
    }

    // The label, a space and the title; no item image beside a label.
    auto b = popUp();
    b->itemArray()[0]->image = TideglassResources::nsImage("corner-tool-more");
    b->selectItem(0);
    auto h = ControlHarness::holding(b, {160, 44});
    ASSERT_EQ(h.texts().size(), 1u);
    EXPECT_EQ(h.texts()[0].fontSize, 10);
    EXPECT_TRUE(h.image("corner-tool-more")); // the item image beside the bezel
    b->setLabel("Sort:");
    EXPECT_EQ(cellOf<StyledPopUpButtonCell>(*b)->label, "Sort:");
    auto label = h.text("Sort:");
    auto title = h.text(" Name");
    ASSERT_TRUE(label && title);
    EXPECT_EQ(label->color, NSColor::secondaryLabelColor()->cgColor());
    EXPECT_EQ(title->color, StyledPopUpButtonCell::classStyle()->textColor()->cgColor());
    EXPECT_EQ(title->fontName, NSFont::systemFont(10, CGFont::medium)->fontName());
    EXPECT_EQ(label->fontName, NSFont::systemFont(10)->fontName());
    EXPECT_GT(title->rect.minX(), label->rect.minX());
    EXPECT_FALSE(h.image("corner-tool-more"));
    EXPECT_EQ(h.images().size(), slicesOf(h, "tgui-popup").size()); // the bezel alone
}

TEST(MenuButtons, OnlyTheMiddleOfTheArtStretchesSoItsEndsAndArrowsKeepTheirShape) {
    RunLoopTestScope scope;
    struct Case {
        const char* what;
        std::shared_ptr<NSPopUpButton> button;
        const char* art;
        NSEdgeInsets caps;
    };
    auto tool = [](CGFloat width) {
        auto b = make<ToolPopUpButton>(CGRect{10, 10, width, 20}, false, std::nullopt);
        b->addItem("Bucket brigade");
        return std::static_pointer_cast<NSPopUpButton>(b);
    };
    auto down = make<StyledPopDownButton>(CGRect{10, 10, 150, 22});
    down->setTitle("Sort");
    const Case cases[] = {
        {"a pop-up wider than its art", popUp(), "tgui-popup", {0, 8, 0, 22}},
        {"a pop-up narrower than its art",
         make<StyledPopUpButton>(CGRect{10, 10, 60, 22}, false, std::nullopt),
         "tgui-popup",
         {0, 8, 0, 22}},
        {"a pop-down", down, "tgui-popdown", {0, 8, 0, 22}},
        {"a tool pop-up", tool(70), "tgui-popup-tool", {0, 8, 0, 16}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto h = ControlHarness::holding(c.button, {200, 44});
        const CGRect frame = h.rectOf(*c.button);
        auto slices = slicesOf(h, c.art);
        ASSERT_EQ(slices.size(), 3u); // left end, middle, right end: the art is as high
        EXPECT_EQ(coverOf(slices), frame);
        const CGSize art = slices[0].rect.size; // the ends are drawn at the art's own size
        EXPECT_EQ(art, TideglassResources::nsImage(c.art)->size());
        EXPECT_EQ(slices[0].rect, (CGRect{frame.origin, art}));
        EXPECT_EQ(*slices[0].clip, (CGRect{frame.minX(), frame.minY(), c.caps.left, art.height}));
        EXPECT_EQ(slices[2].rect,
                  (CGRect{frame.maxX() - art.width, frame.minY(), art.width, art.height}));
        EXPECT_EQ(*slices[2].clip,
                  (CGRect{frame.maxX() - c.caps.right, frame.minY(), c.caps.right, art.height}));
        // Only the middle is stretched, over what the ends leave.
        EXPECT_EQ(*slices[1].clip,
                  (CGRect{frame.minX() + c.caps.left, frame.minY(),
                          frame.width() - c.caps.left - c.caps.right, art.height}));
    }
}

TEST(StyledPopUpButtonCell, AnItemImageAndTheTitleEachHaveTheirOwnRoom) {
    // The image stands 8 points in (the pop-up cell's drawing rectangle); the title box
    // starts 4 points after it and keeps its right end, 14 short of the bounds' edge.
    struct Case {
        const char* what;
        bool image;
        std::optional<std::string> label;
        CGRect title;
    };
    const Case cases[] = {
        {"no image: the fixed box", false, std::nullopt, {10, 4, 96, 14}},
        {"a 14-point image", true, std::nullopt, {26, 4, 80, 14}},
        {"a label instead of the image", true, "Sort:", {10, 4, 96, 14}},
        {"an empty label: the image", true, "", {26, 4, 80, 14}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto b = popUp();
        if (c.image)
            b->itemArray()[0]->image = TideglassResources::nsImage("organiser-icon-star");
        b->selectItem(0);
        b->setLabel(c.label);
        auto cell = cellOf<StyledPopUpButtonCell>(*b);
        EXPECT_EQ(cell->titleRectForBounds({0, 0, 120, 22}), c.title);
        auto h = ControlHarness::holding(b, {160, 44});
        auto star = h.image("organiser-icon-star");
        EXPECT_EQ(bool(star), c.image && (!c.label || c.label->empty()));
        auto title = h.texts();
        ASSERT_FALSE(title.empty());
        if (star) {
            EXPECT_EQ(star->rect, (CGRect{18, 14, 14, 14}));
            EXPECT_GE(title.front().rect.minX(), star->rect.maxX() + 4) << title.front();
        }
    }
}

TEST(StyledPopUpButton, SizesComeFromTheArtAndTheFixedWidthOfTheCellsOwnStyle) {
    const auto art = StyledPopUpButtonCell::classStyle()->bezelImage(State::default_)->size();
    const auto tool = ToolPopUpButtonCell::classStyle()->bezelImage(State::default_)->size();
    const NSEdgeInsets in = StyledPopUpButtonCell::classStyle()->alignmentRectInsets();
    const CGFloat dw = in.left + in.right, dh = in.top + in.bottom;
    struct Case {
        const char* what;
        std::shared_ptr<StyledPopUpButton> button;
        bool bordered;
        CGFloat width, height; // NaN: the cell's own
    };
    const CGFloat own = std::nan("");
    auto toolButton = [](std::optional<CGFloat> fixed) {
        return std::static_pointer_cast<StyledPopUpButton>(
            make<ToolPopUpButton>(CGRect{}, false, fixed));
    };
    const Case cases[] = {
        {"fixed wider than the art", popUp(art.width + 40), true, art.width + 40 - dw,
         art.height - dh},
        {"fixed narrower than the art", popUp(10), true, art.width - dw, art.height - dh},
        {"borderless with a fixed width", popUp(90), false, 90, own},
        // The tool cell's own style: no insets, so exactly the art's height.
        {"tool, narrow", toolButton(10), true, tool.width, tool.height},
        {"tool, wide", toolButton(tool.width + 30), true, tool.width + 30, tool.height},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.button->setBordered(c.bordered);
        const CGSize size = c.button->intrinsicContentSize();
        EXPECT_EQ(size.width, c.width);
        EXPECT_EQ(size.height,
                  std::isnan(c.height) ? c.button->cell()->cellSize().height : c.height);
    }
    EXPECT_EQ(toolButton(std::nullopt)->alignmentRectInsets(), NSEdgeInsets{});

    // Another kind of cell keeps the label in the button only and the inherited insets.
    auto b = popUp();
    b->setCell(make<NSPopUpButtonCell>());
    b->setLabel("Sort:");
    EXPECT_EQ(b->label(), "Sort:");
    EXPECT_EQ(b->alignmentRectInsets(), NSEdgeInsets{});
}

TEST(StyledPopDownButton, AReleaseInsideSendsTheActionAndNeverOpensTheMenu) {
    RunLoopTestScope scope;
    auto b = make<StyledPopDownButton>(CGRect{10, 10, 120, 22});
    b->addItem("Name");
    b->addItem("Date");
    b->setTitle("Sort");
    b->selectItem(1);
    EXPECT_EQ(b->title(), "Sort");
    auto receiver = make<Receiver>();
    b->setTarget(receiver);
    b->setAction(&Receiver::chosen);
    auto h = ControlHarness::holding(b, {200, 60});
    const CGPoint inside = h.centre(*b);

    h.press(inside);
    EXPECT_TRUE(h.image("tgui-popdown-down"));
    h.release(inside);
    EXPECT_EQ(receiver->calls, 1);
    EXPECT_TRUE(h.image("tgui-popdown"));
    h.press(inside);
    h.drag({190, 50});
    h.release({190, 50});
    EXPECT_EQ(receiver->calls, 1);
    EXPECT_FALSE(b->menu()->lastPopUp());

    // Disabled: no highlight, no action.
    b->setEnabled(false);
    h.press(inside);
    EXPECT_FALSE(b->isHighlighted());
    h.release(inside);
    EXPECT_EQ(receiver->calls, 1);
    EXPECT_DOUBLE_EQ(h.image("tgui-popdown")->alpha, 0.5);

    // The label before the title; without a styled cell the title is empty.
    b->setEnabled(true);
    b->setLabel("By");
    ASSERT_TRUE(h.text("By") && h.text(" Sort"));
    EXPECT_EQ(h.text("By")->fontName, NSFont::systemFont(10)->fontName());
    EXPECT_EQ(h.text(" Sort")->fontName, NSFont::systemFont(10, CGFont::medium)->fontName());
    EXPECT_EQ(h.text(" Sort")->fontSize, 10);
    b->setCell(make<NSPopUpButtonCell>());
    EXPECT_EQ(b->title(), "");
}

TEST(PopUpButtonsDeathTest, TheInitialisersTheyDoNotOfferEndTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(make<StyledPopUpButton>(CGRect{}, false),
                 "Use of unimplemented initializer 'init\\(frame:pullsDown:\\)' for class "
                 "'Tideglass.StyledPopUpButton'");
    EXPECT_DEATH(make<StyledPopDownButton>(CGRect{}, true),
                 "Use of unimplemented initializer 'init\\(frame:pullsDown:\\)' for class "
                 "'Tideglass.StyledPopDownButton'");
}

} // namespace
