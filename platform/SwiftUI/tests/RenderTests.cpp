// What a small tree draws: the display list of a graphics context.

#include "SwiftUI/SwiftUI.h"

#include <gtest/gtest.h>

#include "CoreGraphics/CGContext.h"
#include "Foundation/RunLoop.h"

using namespace SwiftUI;

namespace {

using Kind = CGDisplayItem::Kind;

TEST(Render, ASmallTreeDrawsItsShapesTextAndOpacityInPlace) {
    RunLoopTestScope scope;
    Color blue(0, 0, 1);
    ViewGraph graph(
        ZStack(RoundedRectangle(4).fill(blue).frame(100, 20), Text("1.2 AVAILABLE")
                                                                  .font(Font::custom("Rocket", 13))
                                                                  .foregroundColor(Color::white())
                                                                  .opacity(0.8))
            .padding(10)
            .offset(0, 5));
    graph.setSize({120, 40});
    auto context = CGContext::makeBitmap(
        {120, 40}, {.scale = 2, .origin = CGContext::Origin::topLeft, .recordsDisplayList = true});
    graph.render(*context);
    const auto& items = context->displayList();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].kind, Kind::fill);
    EXPECT_EQ(items[0].rect, CGRect(10, 15, 100, 20));
    EXPECT_EQ(items[0].color, blue.resolve());
    EXPECT_EQ(items[1].kind, Kind::text);
    EXPECT_EQ(items[1].text, "1.2 AVAILABLE");
    EXPECT_EQ(items[1].fontName, "Rocket");
    EXPECT_EQ(items[1].fontSize, 13);
    EXPECT_EQ(items[1].color, CGColor::rgb(1, 1, 1));
    EXPECT_DOUBLE_EQ(items[1].alpha, 0.8);
    CGSize text = CGTextMeasure("1.2 AVAILABLE", Font::custom("Rocket", 13).resolve());
    EXPECT_NEAR(items[1].rect.midX(), 60, 0.01); // centred in the stack
    EXPECT_NEAR(items[1].rect.size.width, text.width, 0.01);
}

// A modifier value with a body of its own, as a framework's font modifier is written.
struct Typeface {
    std::string name;
    CGFloat size;
    AnyView body(const AnyView& content) const { return content.font(Font::custom(name, size)); }
};

TEST(Render, AViewModifierWrapsItsContent) {
    RunLoopTestScope scope;
    ViewGraph graph(Text("DELAY").modifier(Typeface{"Dosis-Light", 14}));
    graph.setSize({100, 40});
    auto context = CGContext::makeBitmap(
        {100, 40}, {.origin = CGContext::Origin::topLeft, .recordsDisplayList = true});
    graph.render(*context);
    ASSERT_EQ(context->displayList().size(), 1u);
    EXPECT_EQ(context->displayList()[0].fontName, "Dosis-Light");
    EXPECT_EQ(context->displayList()[0].fontSize, 14);
}

TEST(Render, ScaledContentIsDrawnAndHitWhereItIsShown) {
    RunLoopTestScope scope;
    int taps = 0;
    ViewGraph graph(Color::gray()
                        .frame(10, 10)
                        .onTapGesture([&] { ++taps; })
                        .padding(Edge::leading, 10)
                        .scaleEffect(2, UnitPoint::topLeading())
                        .frame(60, 60, Alignment::topLeading()));
    graph.setSize({60, 60});
    auto context = CGContext::makeBitmap(
        {60, 60}, {.origin = CGContext::Origin::topLeft, .recordsDisplayList = true});
    graph.render(*context);
    ASSERT_EQ(context->displayList().size(), 1u);
    EXPECT_EQ(context->displayList()[0].rect, CGRect(20, 0, 20, 20));
    for (CGPoint p : {CGPoint{35, 15}, CGPoint{15, 5}}) {
        graph.pointer({PointerEvent::Phase::down, p});
        graph.pointer({PointerEvent::Phase::up, p});
    }
    EXPECT_EQ(taps, 1);
}

} // namespace
