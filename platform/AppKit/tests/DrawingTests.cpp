#include "AppKit/AppKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <unistd.h>

namespace {

const std::shared_ptr<Bundle>& testBundle() {
    static const auto bundle =
        findResourceBundle("AppKitTests_Assets", reinterpret_cast<const void*>(&testBundle));
    return bundle;
}

// Draws a filled square at its own (0, 0), an asset image and a text run.
struct PaintingView : NSView {
    PaintingView(CGRect frame, bool flipped) : NSView(frame), flipped(flipped) {}
    bool isFlipped() const override { return flipped; }
    void drawRect(CGRect) override {
        NSColor::rgb(1, 0, 0)->setFill();
        NSBezierPath::fillRect({0, 0, 10, 10});
        if (auto image = NSImage::named("knobs/dial_01", testBundle()))
            image->draw(CGRect{20, 0, 24, 12}, NSCompositingOperation::sourceOver, 0.5);
        NSStringDraw("DELAY", CGPoint{0, 20},
                     {.font = NSFont::named("Dosis-Light", 14),
                      .color = NSColor::named("values", testBundle())});
    }
    bool flipped;
};

TEST(Drawing, WindowDrawsViewsWhereTheySitWithImagesTextAndOpacity) {
    auto window = make<NSWindow>(CGRect{0, 0, 100, 80});
    auto upright = make<PaintingView>(CGRect{0, 0, 50, 40}, false);  // bottom-left of the window
    auto flipped = make<PaintingView>(CGRect{50, 40, 50, 40}, true); // top-right
    window->contentView()->addSubview(upright);
    window->contentView()->addSubview(flipped);
    auto context = window->snapshot(true);
    std::vector<CGDisplayItem> fills;
    for (const auto& item : context->displayItems(CGDisplayItem::Kind::fill))
        if (item.color == CGColor::rgb(1, 0, 0, 1))
            fills.push_back(item);
    auto images = context->displayItems(CGDisplayItem::Kind::image);
    auto texts = context->displayItems(CGDisplayItem::Kind::text);
    ASSERT_EQ(fills.size(), 2u);
    ASSERT_EQ(images.size(), 2u);
    ASSERT_EQ(texts.size(), 2u);
    // Device points (top-left origin): the upright view's (0, 0) is its bottom-left
    // corner, the flipped view's its top-left corner.
    EXPECT_EQ(fills[0].rect, (CGRect{0, 70, 10, 10}));
    EXPECT_EQ(fills[1].rect, (CGRect{50, 0, 10, 10}));
    EXPECT_EQ(images[0].imageName, "knobs/dial_01");
    EXPECT_EQ(images[0].rect, (CGRect{20, 68, 24, 12}));
    EXPECT_EQ(images[1].rect, (CGRect{70, 0, 24, 12}));
    EXPECT_EQ(images[0].alpha, 0.5);
    EXPECT_EQ(texts[0].text, "DELAY");
    EXPECT_EQ(texts[0].fontName, "Dosis-Light");
    EXPECT_EQ(texts[0].fontSize, 14);
    EXPECT_EQ(texts[0].color->assetName(), "values");
    // The upright view's text rises from y = 20; the flipped one's hangs from it.
    EXPECT_NEAR(texts[0].rect.maxY(), 80 - 20, 1e-6);
    EXPECT_NEAR(texts[1].rect.minY(), 20, 1e-6);
}

TEST(Drawing, ViewsAskTheirWindowForDisplayAndDrawingClearsTheMarks) {
    auto window = make<NSWindow>(CGRect{0, 0, 60, 30});
    int requests = 0, draws = 0;
    window->displayRequested = [&] { ++requests; };
    window->displayHandler = [&](NSWindow& w) {
        ++draws;
        w.snapshot();
    };
    auto view = make<PaintingView>(CGRect{0, 0, 10, 10}, false);
    window->contentView()->addSubview(view);
    EXPECT_GT(requests, 0);
    EXPECT_TRUE(window->viewsNeedDisplay());
    view->display();
    EXPECT_EQ(draws, 1);
    EXPECT_FALSE(window->viewsNeedDisplay());
    requests = 0;
    view->setNeedsDisplay(true);
    EXPECT_EQ(requests, 1);
    EXPECT_TRUE(view->needsDisplay());
    // Hidden views need no display.
    view->setHidden(true);
    window->display();
    view->setNeedsDisplay(true);
    EXPECT_FALSE(window->viewsNeedDisplay());
}

TEST(Drawing, WindowPNGIsWrittenAtTheBackingScale) {
    auto window = make<NSWindow>(CGRect{0, 0, 60, 30});
    window->setBackingScaleFactor(2);
    window->backgroundColor = NSColor::rgb(0, 0, 0);
    window->contentView()->addSubview(make<PaintingView>(CGRect{0, 0, 60, 30}, true));
    std::string path = (std::filesystem::temp_directory_path() /
                        ("emberfall-window-" + std::to_string(::getpid()) + ".png"))
                           .string();
    ASSERT_TRUE(window->writePNG(path));
    auto image = CGImage::fromPNGFile(path);
    std::filesystem::remove(path);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width(), 120u);
    EXPECT_EQ(image->height(), 60u);
    EXPECT_EQ(image->pixel(5, 5), (CGImage::Pixel{255, 0, 0, 255}));  // the red square
    EXPECT_EQ(image->pixel(115, 55), (CGImage::Pixel{0, 0, 0, 255})); // background
    CGImage::Pixel art = image->pixel(50, 10);                        // half-opaque red art
    EXPECT_GT(art.r, 100);
    EXPECT_LT(art.r, 160);
    int textPixels = 0;
    for (size_t y = 40; y < 60; ++y)
        for (size_t x = 0; x < 60; ++x)
            textPixels += image->pixel(x, y).r > 100 && image->pixel(x, y).g > 40;
    EXPECT_GT(textPixels, 10); // orange "values" text
}

TEST(Drawing, PathsImagesAndSnapshotsDrawThroughTheCurrentContext) {
    auto context = CGContext::makeBitmap(
        {40, 40}, {.origin = CGContext::Origin::topLeft, .recordsDisplayList = true});
    NSGraphicsContext::Scope scope(context);
    auto path = NSBezierPath::roundedRect({5, 5, 30, 20}, 4, 4);
    path->lineWidth = 2;
    NSColor::white(1)->set();
    path->stroke();
    NSBezierPath::ovalIn({0, 0, 8, 8})->addClip();
    auto arrow = NSImage::named("arrow", testBundle());
    ASSERT_NE(arrow, nullptr);
    arrow->isTemplate = true;
    arrow->drawTinted({0, 0, 8, 8}, *NSColor::rgb(0, 1, 0));
    const auto& items = context->displayList();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].kind, CGDisplayItem::Kind::stroke);
    EXPECT_EQ(items[0].lineWidth, 2);
    EXPECT_EQ(items[0].rect, (CGRect{4, 4, 32, 22}));
    EXPECT_EQ(items[1].kind, CGDisplayItem::Kind::clip);
    EXPECT_EQ(items[2].imageName, "arrow");
    EXPECT_EQ(items[2].color, CGColor::rgb(0, 1, 0, 1));
    EXPECT_EQ(*items[2].clip, (CGRect{0, 0, 8, 8}));

    // An image drawn with lockFocus keeps what was drawn into it.
    auto image = NSImage::blank({10, 10});
    image->lockFocus();
    NSColor::rgb(0, 0, 1)->setFill();
    NSBezierPath::fillRect({0, 0, 10, 5}); // the lower half in the image's y-up space
    image->unlockFocus();
    CGImage bitmap = image->cgImage();
    EXPECT_EQ(bitmap.width(), 20u);
    EXPECT_EQ(bitmap.pixel(2, 18), (CGImage::Pixel{0, 0, 255, 255}));
    EXPECT_EQ(bitmap.pixel(2, 2).a, 0);

    // A view's cached display is its own drawing in its bounds.
    auto view = make<PaintingView>(CGRect{100, 100, 50, 40}, true);
    auto snapshot = view->cacheDisplay(1, true);
    EXPECT_EQ(snapshot->size(), (CGSize{50, 40}));
    EXPECT_EQ(snapshot->displayList()[0].rect, (CGRect{0, 0, 10, 10}));
}

// A flipped tile that fills its bounds with a colour, a circle and a text: what it
// draws reaches its edges, where partial redrawing must join up with what is around.
struct Tile : NSView {
    Tile(CGRect frame, CGFloat hue) : NSView(frame), hue(hue) {}
    bool isFlipped() const override { return true; }
    void drawRect(CGRect dirty) override {
        ++draws;
        lastDirty = dirty;
        NSColor::rgb(hue, 0.3, 1 - hue)->setFill();
        NSBezierPath::fillRect(bounds());
        NSColor::rgb(1, 1, 1, 0.6)->setFill();
        NSBezierPath::ovalIn(bounds().insetBy(2.5, 2.5))->fill();
        NSStringDraw(std::to_string(int(hue * 100)), CGPoint{3, 3},
                     {.font = NSFont::named("Dosis-Light", 14), .color = NSColor::rgb(0, 0, 0)});
    }
    void setHue(CGFloat h) {
        hue = h;
        setNeedsDisplay(true);
    }
    CGFloat hue;
    int draws = 0;
    CGRect lastDirty;
};

struct TiledWindow {
    std::shared_ptr<NSWindow> window = make<NSWindow>(CGRect{0, 0, 120, 80});
    std::vector<std::shared_ptr<Tile>> tiles;
    explicit TiledWindow(CGFloat scale) {
        window->setBackingScaleFactor(scale);
        window->backgroundColor = NSColor::rgb(0.1, 0.1, 0.1);
        for (int i = 0; i < 6; ++i) {
            // Fractional frames: edges fall between pixels.
            tiles.push_back(make<Tile>(
                CGRect{2.5 + CGFloat(i % 3) * 39.25, 3.25 + CGFloat(i / 3) * 38, 36.5, 35},
                0.1 * i));
            window->contentView()->addSubview(tiles.back());
        }
    }
};

TEST(Drawing, CapInsetsKeepAnImagesEdgesAtTheirSizeUprightInEitherSpace) {
    // A 20 × 10 image with caps top 2, left 4, bottom 3, right 5, drawn into 60 × 30 at
    // (10, 10) as a person sees it: nine slices, each the whole image scaled so that its
    // part lands on the slice, clipped to the slice; the corners are not scaled.
    const std::string svg = "<svg xmlns='http://www.w3.org/2000/svg' width='20' height='10'>"
                            "<rect width='20' height='10' fill='#808080'/></svg>";
    auto image = NSImage::withSVG(
        *CGSVGDocument::fromData({reinterpret_cast<const uint8_t*>(svg.data()), svg.size()}),
        "capped");
    image->capInsets = {2, 4, 3, 5};
    for (auto origin : {CGContext::Origin::topLeft, CGContext::Origin::bottomLeft}) {
        const bool yDown = origin == CGContext::Origin::topLeft;
        SCOPED_TRACE(yDown ? "y down" : "y up");
        auto context =
            CGContext::makeBitmap({100, 60}, {.origin = origin, .recordsDisplayList = true});
        image->draw(*context, yDown ? CGRect{10, 10, 60, 30} : CGRect{10, 20, 60, 30});
        std::vector<CGDisplayItem> slices;
        for (const auto& item : context->displayList())
            if (item.kind == CGDisplayItem::Kind::image)
                slices.push_back(item);
        ASSERT_EQ(slices.size(), 9u);
        CGRect cover = CGRect::null();
        for (const auto& s : slices)
            cover = cover.unionWith(*s.clip);
        EXPECT_EQ(cover, (CGRect{10, 10, 60, 30}));
        auto at = [&](CGRect clip) {
            auto it = std::find_if(slices.begin(), slices.end(),
                                   [&](const CGDisplayItem& s) { return *s.clip == clip; });
            return it == slices.end() ? CGRect::null() : it->rect;
        };
        EXPECT_EQ(at({10, 10, 4, 2}), (CGRect{10, 10, 20, 10})) << "top left: unscaled";
        EXPECT_EQ(at({65, 37, 5, 3}), (CGRect{50, 30, 20, 10})) << "bottom right: unscaled";
        // The middle: 11 × 5 of the image over 51 × 25.
        const CGFloat kx = 51.0 / 11, ky = 25.0 / 5;
        const CGRect middle = at({14, 12, 51, 25});
        const CGRect expected{14 - 4 * kx, 12 - 2 * ky, 20 * kx, 10 * ky};
        EXPECT_NEAR(middle.minX(), expected.minX(), 1e-9);
        EXPECT_NEAR(middle.minY(), expected.minY(), 1e-9);
        EXPECT_NEAR(middle.width(), expected.width(), 1e-9);
        EXPECT_NEAR(middle.height(), expected.height(), 1e-9);
    }
}

TEST(Drawing, AViewMarksItsOwnRectangleAndOnlyThatIsRedrawn) {
    TiledWindow w(1);
    auto backing = CGContext::makeBitmap({120, 80}, {.recordsDisplayList = true});
    w.window->drawDirtyRegion(backing);
    EXPECT_TRUE(w.window->dirtyRegion().isEmpty());
    EXPECT_FALSE(w.window->viewsNeedDisplay());

    w.tiles[4]->setHue(0.9);
    ASSERT_EQ(w.window->dirtyRegion().rects().size(), 1u);
    EXPECT_EQ(w.window->dirtyRegion().rects()[0], w.tiles[4]->frame());
    // Part of a view: only that part, in window coordinates (the view is flipped).
    w.tiles[0]->setNeedsDisplayInRect({0, 0, 10, 5});
    EXPECT_TRUE(w.window->dirtyRegion().contains({2.5, 3.25 + 35 - 5, 10, 5}));

    for (auto& tile : w.tiles)
        tile->draws = 0;
    backing->clearDisplayList();
    CGRegion redrawn = w.window->drawDirtyRegion(backing);
    ASSERT_EQ(redrawn.rects().size(), 2u);
    std::vector<int> draws;
    for (auto& tile : w.tiles)
        draws.push_back(tile->draws);
    EXPECT_EQ(draws, (std::vector<int>{1, 0, 0, 0, 1, 0}));
    // The part asked for (and a point around it), in the view's own coordinates.
    EXPECT_TRUE(w.tiles[0]->lastDirty.contains({0, 0, 10, 5}));
    EXPECT_LT(w.tiles[0]->lastDirty.width(), 13);
    // Everything drawn lies inside what was redrawn, clipped to it.
    for (const CGDisplayItem& item : backing->displayList()) {
        ASSERT_TRUE(item.clip.has_value());
        EXPECT_TRUE(redrawn.contains(*item.clip));
        EXPECT_TRUE(redrawn.intersects(item.rect));
    }
    // Pixels: what was redrawn starts and ends on whole pixels.
    EXPECT_EQ(redrawn.alignedToPixels(1), redrawn);
}

TEST(Drawing, PartialRedrawsAddUpToAFullDrawing) {
    for (CGFloat scale : {1.0, 2.0}) {
        SCOPED_TRACE(scale);
        TiledWindow w(scale);
        auto backing = CGContext::makeBitmap({120, 80}, {.scale = scale});
        w.window->drawDirtyRegion(backing);
        // A sequence of changes, each redrawn on its own.
        w.tiles[1]->setHue(0.95);
        w.window->drawDirtyRegion(backing);
        w.tiles[3]->setHue(0.05);
        w.tiles[5]->setNeedsDisplayInRect({10, 10, 3, 3});
        w.window->drawDirtyRegion(backing);
        w.tiles[2]->setFrameOrigin({70.75, 20.5}); // moved: old and new places redrawn
        w.window->drawDirtyRegion(backing);
        w.tiles[0]->setHidden(true);
        w.window->drawDirtyRegion(backing);
        // Pixel for pixel, but for the rounding of anti-aliased edges that cross the edge
        // of a redrawn rectangle (cairo rasterises them within the clip): one unit at most.
        CGImage partial = backing->makeImage(), full = w.window->snapshot()->makeImage();
        ASSERT_EQ(partial.width(), full.width());
        int worst = 0;
        for (size_t y = 0; y < full.height(); ++y)
            for (size_t x = 0; x < full.width(); ++x) {
                CGImage::Pixel p = partial.pixel(x, y), f = full.pixel(x, y);
                worst = std::max({worst, std::abs(p.r - f.r), std::abs(p.g - f.g),
                                  std::abs(p.b - f.b), std::abs(p.a - f.a)});
            }
        EXPECT_LE(worst, 1);
    }
}

} // namespace
