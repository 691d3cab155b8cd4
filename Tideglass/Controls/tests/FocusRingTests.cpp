// The library's focus ring: drawn after the control, inside its mask bounds, only in
// the key window and only while the control has keyboard focus.

#include "Controls/FocusRing.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport/ControlHarness.h"

namespace {

using Kind = CGDisplayItem::Kind;

// A control that takes focus and draws the ring on its bounds in one colour.
class RingedControl : public NSControl {
  public:
    using NSControl::NSControl;
    bool acceptsFirstResponder() const override { return true; }
    void drawRect(CGRect dirty) override {
        NSControl::drawRect(dirty);
        drawLibraryFocusRing(*this, bounds(), color);
    }
    std::shared_ptr<NSColor> color = NSColor::rgb(0.2, 0.4, 0.9);
};

TEST(FocusRing, OnlyInTheKeyWindowWithKeyboardFocus) {
    RunLoopTestScope scope;
    struct Case {
        const char* what;
        bool focused;
        bool key;
        bool coloured;
        bool ring;
    };
    const Case cases[] = {
        {"focused in the key window", true, true, true, true},
        {"focused in a window that is not key", true, false, true, false},
        {"not focused in the key window", false, true, true, false},
        {"no colour", true, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto control = make<RingedControl>(CGRect{20, 10, 80, 24});
        auto h = ControlHarness::holding(control, {120, 44});
        if (!c.coloured)
            control->color = nullptr;
        if (c.focused) {
            ASSERT_TRUE(h.focus(control));
        }
        if (!c.key)
            h.window->resignKeyWindow();
        EXPECT_EQ(showsLibraryFocusRing(*control), c.focused && c.key);
        auto drawn = h.drawnBy(*control);
        auto fills = itemsOfKind(drawn, Kind::fill);
        auto strokes = itemsOfKind(drawn, Kind::stroke);
        if (!c.ring) {
            EXPECT_TRUE(fills.empty());
            EXPECT_TRUE(strokes.empty());
            continue;
        }
        ASSERT_EQ(fills.size(), 1u);
        ASSERT_EQ(strokes.size(), 1u);
        // The path lies on the bounds inset by 1; the 2-point stroke reaches the bounds.
        EXPECT_EQ(fills[0].rect, (CGRect{1, 1, 78, 22}));
        EXPECT_EQ(strokes[0].rect, (CGRect{0, 0, 80, 24}));
        EXPECT_EQ(strokes[0].lineWidth, 2);
        EXPECT_EQ(*fills[0].color, control->color->withAlphaComponent(0.3)->cgColor());
        EXPECT_EQ(*strokes[0].color, control->color->cgColor());
        // The fill comes first, the stroke over it.
        EXPECT_LT(std::find_if(drawn.begin(), drawn.end(),
                               [](const auto& i) { return i.kind == Kind::fill; }),
                  std::find_if(drawn.begin(), drawn.end(),
                               [](const auto& i) { return i.kind == Kind::stroke; }));
    }
}

TEST(FocusRing, ThePathIsARoundedRectangleOfRadiusThreeWithRoundEnds) {
    auto path = libraryFocusRingPath({0, 0, 40, 20});
    EXPECT_EQ(path->bounds(), (CGRect{1, 1, 38, 18}));
    EXPECT_EQ(path->lineWidth, 2);
    EXPECT_EQ(path->lineCapStyle, CGLineCap::round);
    EXPECT_EQ(path->lineJoinStyle, CGLineJoin::round);
}

} // namespace
