#pragma once
// ControlHarness: the one way the library's controls and views are tested. It holds a
// control, a view tree or a tree of declarative views in a key window, drives it with
// the events a person makes (click, drag, key, scroll) and answers with what the window
// draws, from the recorded display list: images by name, text runs with font and
// colour, fills and strokes, each with its rectangle in points and its opacity. It
// asserts on drawn items, never on pixels; writePNG is for people to look at.
//
// Coordinates. Every point and rectangle here is in window points with the origin at
// the top-left of the content area and y growing downwards: the space of the drawn
// items' rectangles. So a test clicks where it saw something drawn, and rectOf(view)
// is where a view's drawing lands. The controls' own coordinates do not matter.
//
// How a control's test uses it:
//
//     TEST(StyledButton, PressedItDrawsThePressedArt) {
//         RunLoopTestScope scope;                        // a clean main run loop
//         auto button = make<StyledButton>(CGRect{20, 10, 80, 24});
//         auto h = ControlHarness::holding(button, {120, 44});
//         struct Case { const char* what; std::function<void()> act; const char* art; };
//         const Case cases[] = {
//             {"at rest", [] {}, "tgui-button"},
//             {"held down", [&] { h.press(h.centre(*button)); }, "tgui-button-down"},
//             {"released", [&] { h.release(h.centre(*button)); }, "tgui-button"},
//         };
//         for (const auto& c : cases) {
//             SCOPED_TRACE(c.what);
//             c.act();
//             auto bezel = h.image(c.art);                // the first image of that name
//             ASSERT_TRUE(bezel);
//             EXPECT_EQ(bezel->rect, h.rectOf(*button));  // where the button is
//             EXPECT_EQ(bezel->alpha, 1);
//         }
//         EXPECT_EQ(h.text("OK")->color, ButtonCellStyle().textColor()->cgColor());
//     }
//
// - holding(view, size) puts a control at its own frame (read in the top-left space
//   above) in a key window of `size`; ControlHarness(view, size) makes a view tree the
//   content view; ControlHarness(AnyView, size) hosts declarative views.
// - Events go through the window, as a real window sends them: press, drag, release,
//   click, doubleClick, rightClick, move, dragFromTo, key, type, scroll. Each runs the
//   main run loop afterwards (turn()), so rebuilds and queued work are done. Mouse
//   events carry the main run loop's clock as their time stamp: a test that holds a
//   RunLoopTestScope advances it between events for speeds (a pan's velocity).
// - drawn() is the whole window (its background fill first); drawnBy(view) is one view
//   and its subviews alone, in that view's points (origin top-left). images(), texts(),
//   items(kind), image(name) and text(content) pick items by kind.
// - focus(view) makes a view first responder (the window is key from the start), for
//   focus rings and keys.
// Thread: main (the test's); a test that needs a clock holds a RunLoopTestScope.

#include "AppKit/NSEventKeys.h"
#include "AppKit/NSWindow.h"
#include "CoreGraphics/CGContext.h"
#include "Foundation/RunLoop.h"
#include "SwiftUI/NSHostingView.h"
#include "SwiftUI/SwiftUI.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

class ControlHarness {
  public:
    using Type = NSEvent::Type;
    using Kind = CGDisplayItem::Kind;

    // A control (or any view) at its frame, read in window points from the top-left,
    // in a plain container filling a key window of `size`.
    static ControlHarness holding(std::shared_ptr<NSView> view, CGSize size, CGFloat scale = 1);
    // A view tree as the key window's content view, sized to fill it. `host` is the
    // first hosting view inside (depth first), when there is one.
    ControlHarness(std::shared_ptr<NSView> contentView, CGSize size, CGFloat scale = 1);
    // Declarative views in a hosting view filling a key window of `size`.
    ControlHarness(SwiftUI::AnyView root, CGSize size, CGFloat scale = 1);

    ControlHarness(ControlHarness&&) = default;
    ControlHarness& operator=(ControlHarness&&) = default;

    // Runs the main queue (mirrors, rebuilds, timers due) and lays the window out.
    void turn();

    // Where a view is, and its centre, in window points from the top-left.
    CGRect rectOf(const NSView& view) const;
    CGPoint centre(const NSView& view) const;
    // Makes `view` the first responder; false when it refuses.
    bool focus(const std::shared_ptr<NSView>& view);

    // Mouse events at window points (origin top-left, y down).
    void mouse(Type type, CGPoint p, uint64_t flags = 0, int clicks = 1);
    void press(CGPoint p, uint64_t flags = 0, int clicks = 1) {
        mouse(Type::leftMouseDown, p, flags, clicks);
    }
    void drag(CGPoint p, uint64_t flags = 0) { mouse(Type::leftMouseDragged, p, flags); }
    void release(CGPoint p, uint64_t flags = 0, int clicks = 1) {
        mouse(Type::leftMouseUp, p, flags, clicks);
    }
    void click(CGPoint p, uint64_t flags = 0, int clicks = 1) {
        press(p, flags, clicks);
        release(p, flags, clicks);
    }
    // Two clicks, the second with a click count of 2.
    void doubleClick(CGPoint p, uint64_t flags = 0) {
        click(p, flags, 1);
        click(p, flags, 2);
    }
    void rightClick(CGPoint p, uint64_t flags = 0) {
        mouse(Type::rightMouseDown, p, flags);
        mouse(Type::rightMouseUp, p, flags);
    }
    // The pointer moving with no button down (tracking areas, hover).
    void move(CGPoint p, uint64_t flags = 0) { mouse(Type::mouseMoved, p, flags); }
    // Press at `from`, drag in `steps` equal steps to `to`, release there.
    void dragFromTo(CGPoint from, CGPoint to, int steps = 4, uint64_t flags = 0);

    // A key pressed and let go, sent to the first responder: key down, key up.
    void key(const std::string& characters, uint64_t flags = 0, uint16_t keyCode = 0);
    void key(NSEventSpecialKey special, uint64_t flags = 0);
    void keyDown(const std::string& characters, uint64_t flags = 0, uint16_t keyCode = 0);
    void keyUp(const std::string& characters, uint64_t flags = 0, uint16_t keyCode = 0);
    // Each character of the UTF-8 text as a key.
    void type(const std::string& text);
    // A scroll-wheel step over `p`, in points (precise) or lines; `inverted`: with the
    // person's "natural" scrolling direction.
    void scroll(CGPoint p, CGFloat deltaX, CGFloat deltaY, bool precise = true, uint64_t flags = 0,
                bool inverted = false);

    // What the window draws now (after a turn), in drawing order.
    std::vector<CGDisplayItem> drawn();
    // What `view` and its subviews draw alone, in the view's points from its top-left.
    std::vector<CGDisplayItem> drawnBy(NSView& view);
    // The window's drawn items of one kind.
    std::vector<CGDisplayItem> items(Kind kind);
    // The names of the images drawn, in drawing order.
    std::vector<std::string> images();
    // The text runs drawn, in drawing order.
    std::vector<CGDisplayItem> texts();
    // The first image of this name, the first text run of this content; none when
    // the window draws none.
    std::optional<CGDisplayItem> image(const std::string& name);
    std::optional<CGDisplayItem> text(const std::string& content);

    // The window as a PNG, for people to look at.
    bool writePNG(const std::string& path);

    std::shared_ptr<NSWindow> window;
    // The first hosting view of the tree, or none.
    std::shared_ptr<SwiftUI::NSHostingView> host;

  private:
    ControlHarness(std::shared_ptr<NSWindow> window, std::shared_ptr<NSView> content);
    CGPoint toWindow(CGPoint topLeft) const;
};

// The items of one kind among `items`, and the first image of a name or text run of a
// content: for lists drawn elsewhere (drawnBy, a context of one's own).
std::vector<CGDisplayItem> itemsOfKind(const std::vector<CGDisplayItem>& items,
                                       CGDisplayItem::Kind kind);
std::optional<CGDisplayItem> firstImage(const std::vector<CGDisplayItem>& items,
                                        const std::string& name);
std::optional<CGDisplayItem> firstText(const std::vector<CGDisplayItem>& items,
                                       const std::string& content);

// A drawn item in a failure message: its kind, what it is, its rectangle and opacity.
std::ostream& operator<<(std::ostream& out, const CGDisplayItem& item);
// Points, sizes and rectangles in failure messages (GoogleTest's printer hooks).
void PrintTo(const CGPoint& point, std::ostream* out);
void PrintTo(const CGSize& size, std::ostream* out);
void PrintTo(const CGRect& rect, std::ostream* out);
