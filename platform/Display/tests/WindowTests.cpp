// A real window on a private virtual X screen, driven by real X input (xdotool) and
// looked at through a screenshot, at the scale factors a screen may have.

#include "ScreenTest.h"

#include "AppKit/NSCursor.h"
#include "AppKit/NSImage.h"

namespace {

using namespace DisplayTest;

class RealWindow : public ScreenTest, public ::testing::WithParamInterface<CGFloat> {
  protected:
    void SetUp() override { open(GetParam()); }
};

TEST_P(RealWindow, TheScreenShowsTheDrawingAtThePixelsOfTheScale) {
    auto shot = VirtualScreen::capture();
    ASSERT_TRUE(shot);
    auto at = [&](CGPoint windowPoint) {
        CGPoint screen = shown->screenPoint(windowPoint);
        return shot->pixel(size_t(screen.x * scale), size_t(screen.y * scale));
    };
    // The virtual screen is 1280 × 1024 pixels.
    CGRect screen = server->screenBounds();
    EXPECT_EQ(screen.size.width, 1280 / scale);
    EXPECT_EQ(screen.size.height, 1024 / scale);
    EXPECT_EQ(shown->screenPoint({0, windowSize.height}).x, windowPlace.x);
    EXPECT_EQ(shown->screenPoint({0, windowSize.height}).y, windowPlace.y);
    CGRect red = RecordingView::redRect;
    auto inside = at({red.origin.x + 1, red.origin.y + red.size.height - 1});
    EXPECT_GT(inside.r, 200);
    EXPECT_LT(inside.b, 50);
    auto outside = at({red.origin.x + red.size.width + 1, red.origin.y + 1});
    EXPECT_LT(outside.r, 50);
    EXPECT_GT(outside.b, 200);
    // The window is exactly the content size at the scale: the pixel past its right
    // edge is the screen's, not the window's.
    auto beyond = at({windowSize.width + 0.5, 10});
    EXPECT_LT(beyond.b, 200);
}

TEST_P(RealWindow, AShiftedDragArrivesAsDownDraggedUpAtWindowPoints) {
    CGPoint from{40, 120}, via{80, 90}, to{120, 60};
    xdotool(join({moveTo(from),
                  {"keydown", "shift", "mousedown", "1"},
                  moveTo(via),
                  moveTo(to),
                  {"mouseup", "1", "keyup", "shift"}}),
            [&] { return !view->ofType(T::leftMouseUp).empty(); });
    auto downs = view->ofType(T::leftMouseDown);
    auto drags = view->ofType(T::leftMouseDragged);
    auto ups = view->ofType(T::leftMouseUp);
    ASSERT_EQ(downs.size(), 1u);
    ASSERT_FALSE(drags.empty());
    ASSERT_EQ(ups.size(), 1u);
    expectAt(downs[0], from);
    expectAt(drags.back(), to);
    expectAt(ups[0], to);
    EXPECT_EQ(downs[0].clicks, 1);
    for (const auto& e : view->seen) {
        if (e.type != T::flagsChanged) {
            EXPECT_TRUE(e.flags & NSEvent::shift) << int(e.type);
        }
    }
    // Down first, up last, drags between.
    std::vector<T> mouseOrder;
    for (const auto& e : view->seen)
        if (e.type != T::flagsChanged)
            mouseOrder.push_back(e.type);
    EXPECT_EQ(mouseOrder.front(), T::leftMouseDown);
    EXPECT_EQ(mouseOrder.back(), T::leftMouseUp);
}

TEST_P(RealWindow, RepeatedClicksCountUpAndCarryOptionAndTheRightButtonIsItsOwn) {
    CGPoint at{150, 30};
    xdotool(join({moveTo(at),
                  {"keydown", "alt", "click", "--repeat", "3", "--delay", "60", "1", "keyup", "alt",
                   "click", "3"}}),
            [&] { return !view->ofType(T::rightMouseUp).empty(); });
    auto downs = view->ofType(T::leftMouseDown);
    ASSERT_EQ(downs.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(downs[i].clicks, i + 1);
        EXPECT_TRUE(downs[i].flags & NSEvent::option);
        expectAt(downs[i], at);
    }
    EXPECT_EQ(view->ofType(T::leftMouseUp).size(), 3u);
    auto right = view->ofType(T::rightMouseDown);
    ASSERT_EQ(right.size(), 1u);
    EXPECT_FALSE(right[0].flags & NSEvent::option);
    expectAt(right[0], at);
}

TEST_P(RealWindow, KeysTypeCharactersWithKeyCodesAndTheWheelScrollsWhereThePointerIs) {
    struct Case {
        std::string xkey;
        std::string chars;
        uint16_t keyCode;
        uint64_t flags;
    };
    const std::vector<Case> cases = {
        {"a", "a", 0x00, 0},
        {"shift+b", "B", 0x0B, NSEvent::shift},
        {"ctrl+c", "c", 0x08, NSEvent::control},
        {"Return", "\r", 0x24, 0},
        {"Escape", "\x1b", 0x35, 0},
        {"Up", "\xef\x9c\x80", 0x7E, 0}, // U+F700
    };
    std::vector<std::string> args = {"key", "--delay", "20"};
    for (const auto& c : cases)
        args.push_back(c.xkey);
    CGPoint pointer{60, 50};
    xdotool(join({moveTo(pointer), args, {"click", "4", "click", "5"}}),
            [&] { return view->ofType(T::scrollWheel).size() >= 2; });
    auto downs = view->ofType(T::keyDown);
    ASSERT_EQ(downs.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].xkey);
        EXPECT_EQ(downs[i].chars, cases[i].chars);
        EXPECT_EQ(downs[i].keyCode, cases[i].keyCode);
        uint64_t mods = NSEvent::shift | NSEvent::control | NSEvent::option | NSEvent::command;
        EXPECT_EQ(downs[i].flags & mods, cases[i].flags);
    }
    auto ups = view->ofType(T::keyUp);
    ASSERT_EQ(ups.size(), cases.size());
    EXPECT_EQ(ups[1].chars, "B");                        // a key up repeats what its key typed
    EXPECT_FALSE(view->ofType(T::flagsChanged).empty()); // shift and control themselves
    auto wheel = view->ofType(T::scrollWheel);
    ASSERT_EQ(wheel.size(), 2u);
    EXPECT_GT(wheel[0].deltaY, 0); // up, away from the person
    EXPECT_LT(wheel[1].deltaY, 0);
    expectAt(wheel[0], pointer);
}

TEST_P(RealWindow, TheCurrentCursorShowsOverTheWindowAtTheScreensScale) {
    xdotool(moveTo({100, 75}), [&] { return true; });
    auto image = NSImage::withSize({16, 12}, true, [](CGRect r) {
        NSGraphicsContext::current()->cgContext().fillRect(r);
        return true;
    });
    NSCursor::withImage(image, {3, 5})->set();
    server->pump(0.02);
    auto shown = VirtualScreen::cursor();
    ASSERT_TRUE(shown);
    VirtualScreen::Cursor expected{int(16 * scale), int(12 * scale), int(3 * scale),
                                   int(5 * scale)};
    EXPECT_EQ(*shown, expected);

    NSCursor::iBeam()->set();
    server->pump(0.02);
    auto beam = VirtualScreen::cursor();
    ASSERT_TRUE(beam);
    EXPECT_NE(*beam, expected);
    NSCursor::arrow()->set();
}

// A red square somewhere on nothing.
class Square : public NSView {
  public:
    using NSView::NSView;
    CGPoint at{10, 10};
    void drawRect(CGRect) override {
        CGContext& c = NSGraphicsContext::current()->cgContext();
        c.setFillColor(CGColor::rgb(1, 0, 0, 1));
        c.fillRect({at, {20, 20}});
    }
};

TEST_P(RealWindow, EachFrameShowsOnlyWhatWasDrawnForIt) {
    auto square = make<Square>(CGRect{{0, 0}, windowSize});
    window->backgroundColor = nullptr; // nothing under the square
    window->setContentView(square);
    auto redAt = [&](CGPoint windowPoint) {
        auto shot = VirtualScreen::capture();
        CGPoint p = shown->screenPoint(windowPoint);
        return shot && shot->pixel(size_t(p.x * scale), size_t(p.y * scale)).r > 200;
    };
    ASSERT_TRUE(pumpUntil([&] { return !shown->needsPresent(); }));
    EXPECT_TRUE(redAt({20, 20}));
    square->at = {150, 100};
    square->setNeedsDisplay();
    ASSERT_TRUE(pumpUntil([&] { return !shown->needsPresent(); }));
    EXPECT_TRUE(redAt({160, 110}));
    EXPECT_FALSE(redAt({20, 20})); // the last frame's square is gone
}

INSTANTIATE_TEST_SUITE_P(Scales, RealWindow, ::testing::Values(1.0, 2.0),
                         [](const auto& info) { return info.param == 1 ? "x1" : "x2"; });

} // namespace
