#include "CoreGraphics/CGContext.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string_view>
#include <unistd.h>

namespace {

const CGColor red = CGColor::rgb(1, 0, 0, 1);
const CGColor blue = CGColor::rgb(0, 0, 1, 1);

std::shared_ptr<CGContext> recording(CGSize size,
                                     CGContext::Origin origin = CGContext::Origin::bottomLeft,
                                     CGFloat scale = 1) {
    return CGContext::makeBitmap(size,
                                 {.scale = scale, .origin = origin, .recordsDisplayList = true});
}

std::span<const uint8_t> bytes(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// A 20 × 10 artwork: left half red, right half blue.
constexpr std::string_view twoHalvesSVG =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="20" height="10">
         <rect x="0" y="0" width="10" height="10" fill="#ff0000"/>
         <rect x="10" y="0" width="10" height="10" fill="#0000ff"/>
       </svg>)";

TEST(Context, RecordsRectanglesWhereTheyAppearWhateverTheSpace) {
    // A y-up context of 100 × 50: a rectangle at y = 0 lies at the bottom of the bitmap.
    auto up = recording({100, 50});
    up->setFillColor(red);
    up->fillRect({10, 0, 20, 10});
    ASSERT_EQ(up->displayList().size(), 1u);
    EXPECT_EQ(up->displayList()[0].rect, (CGRect{10, 40, 20, 10}));
    EXPECT_EQ(up->displayList()[0].kind, CGDisplayItem::Kind::fill);
    EXPECT_EQ(up->displayList()[0].color, red);

    // The same in a y-down context lies at the top; transforms are applied too.
    auto down = recording({100, 50}, CGContext::Origin::topLeft);
    down->saveGState();
    down->translateBy(5, 5);
    down->scaleBy(2, 2);
    down->setStrokeColor(blue);
    down->setLineWidth(2);
    down->strokeRect({0, 0, 10, 10});
    down->restoreGState();
    down->fillRect({0, 0, 1, 1});
    ASSERT_EQ(down->displayList().size(), 2u);
    // Stroke box grows by half the line width (in user space, then scaled by 2).
    EXPECT_EQ(down->displayList()[0].rect, (CGRect{3, 3, 24, 24}));
    EXPECT_EQ(down->displayList()[0].kind, CGDisplayItem::Kind::stroke);
    EXPECT_EQ(down->displayList()[0].lineWidth, 2);
    // After restore the transform is back to the base space.
    EXPECT_EQ(down->displayList()[1].rect, (CGRect{0, 0, 1, 1}));
    EXPECT_FALSE(down->displayList()[1].clip.has_value());
}

TEST(Context, RecordsOpacityOfStateAndNestedLayersAndTheClip) {
    auto c = recording({100, 100}, CGContext::Origin::topLeft);
    c->setAlpha(0.5);
    c->beginTransparencyLayer();
    c->setAlpha(0.5);
    c->clip(CGRect{10, 10, 50, 50});
    c->fillRect({0, 0, 100, 100});
    c->endTransparencyLayer();
    c->fillRect({0, 0, 1, 1});
    const auto& items = c->displayList();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].kind, CGDisplayItem::Kind::clip);
    EXPECT_EQ(items[1].alpha, 0.25);
    ASSERT_TRUE(items[1].clip.has_value());
    EXPECT_EQ(*items[1].clip, (CGRect{10, 10, 50, 50}));
    // The layer's clip and alpha end with it.
    EXPECT_EQ(items[2].alpha, 0.5);
    EXPECT_FALSE(items[2].clip.has_value());

    // Pixels: the layer composites at 0.5 over content drawn at 0.5 inside it.
    CGImage image = c->makeImage();
    EXPECT_EQ(image.pixel(30, 30).a, 64);
    EXPECT_EQ(image.pixel(5, 30).a, 0); // outside the clip
}

TEST(Context, BitmapWrittenAsPNGReadsBackWithItsPixels) {
    auto c = CGContext::makeBitmap({40, 20}, {.scale = 2});
    c->setFillColor(CGColor::rgb(0, 0, 0, 1));
    c->fillRect({0, 0, 40, 20});
    c->setFillColor(red);
    c->fillRect({0, 10, 20, 10}); // top-left quarter in a y-up space
    std::string path = (std::filesystem::temp_directory_path() /
                        ("emberfall-context-" + std::to_string(::getpid()) + ".png"))
                           .string();
    ASSERT_TRUE(c->writePNG(path));
    auto image = CGImage::fromPNGFile(path);
    std::filesystem::remove(path);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width(), 80u);
    EXPECT_EQ(image->height(), 40u);
    EXPECT_EQ(image->pixel(5, 5), (CGImage::Pixel{255, 0, 0, 255}));
    EXPECT_EQ(image->pixel(70, 35), (CGImage::Pixel{0, 0, 0, 255}));
    // The raw rows: the first pixel is opaque red as a premultiplied ARGB word.
    uint32_t first;
    std::memcpy(&first, image->bytes(), 4);
    EXPECT_EQ(first, 0xffff0000u);
    EXPECT_GE(image->bytesPerRow(), 80u * 4);

    auto fromData = CGImage::fromPNGData(c->makeImage().pngData());
    ASSERT_TRUE(fromData.has_value());
    EXPECT_EQ(fromData->pixel(5, 5), (CGImage::Pixel{255, 0, 0, 255}));
    EXPECT_FALSE(CGImage::fromPNGData(bytes("not a png")).has_value());
    EXPECT_FALSE(CGImage::fromPNGFile("/nonexistent/file.png").has_value());
}

TEST(Context, ImagesDrawUprightInBothSpacesAndAreRecordedByName) {
    auto svg = CGSVGDocument::fromData(bytes(twoHalvesSVG));
    ASSERT_TRUE(svg.has_value());
    EXPECT_EQ(svg->size(), (CGSize{20, 10}));
    CGImage bitmap = svg->rasterize(2).named("halves");
    EXPECT_EQ(bitmap.width(), 40u);
    EXPECT_EQ(bitmap.height(), 20u);

    for (auto origin : {CGContext::Origin::bottomLeft, CGContext::Origin::topLeft}) {
        auto c = recording({40, 40}, origin);
        c->drawImage(bitmap, {0, 0, 40, 20});
        c->drawSVG(*svg, {0, 20, 40, 20}, "halves-svg", blue);
        const auto& items = c->displayList();
        ASSERT_EQ(items.size(), 2u);
        EXPECT_EQ(items[0].imageName, "halves");
        EXPECT_EQ(items[1].imageName, "halves-svg");
        EXPECT_EQ(items[1].color, blue);
        CGRect bitmapRect =
            origin == CGContext::Origin::topLeft ? CGRect{0, 0, 40, 20} : CGRect{0, 20, 40, 20};
        EXPECT_EQ(items[0].rect, bitmapRect);
        CGImage pixels = c->makeImage();
        auto y = size_t(bitmapRect.midY());
        // Upright and not mirrored: red on the left, blue on the right.
        EXPECT_EQ(pixels.pixel(5, y), (CGImage::Pixel{255, 0, 0, 255}));
        EXPECT_EQ(pixels.pixel(35, y), (CGImage::Pixel{0, 0, 255, 255}));
        // The tinted artwork is blue wherever it has paint.
        auto tintedY = size_t(origin == CGContext::Origin::topLeft ? 30 : 10);
        EXPECT_EQ(pixels.pixel(5, tintedY), (CGImage::Pixel{0, 0, 255, 255}));
    }
    EXPECT_FALSE(CGSVGDocument::fromData(bytes("<svg")).has_value());
}

TEST(Context, NonRecordingContextsKeepNoList) {
    auto c = CGContext::makeBitmap({10, 10});
    c->fillRect({0, 0, 10, 10});
    EXPECT_TRUE(c->displayList().empty());
    EXPECT_EQ(c->makeImage().pixel(0, 0).a, 255);
}

TEST(RasterCache, ArtworkIsRenderedOncePerPixelSizeAndCopiedAfterwards) {
    auto doc = CGSVGDocument::fromData(bytes(twoHalvesSVG));
    ASSERT_TRUE(doc);
    struct Case {
        const char* what;
        CGFloat scale;
        CGRect rect;
        size_t rastersAfter;
    };
    const Case cases[] = {
        {"first drawing renders", 1, {0, 0, 20, 10}, 1},
        {"the same size elsewhere copies", 1, {30, 5, 20, 10}, 1},
        {"a fraction of a pixel off lands on the same pixels", 1, {0.3, 0.2, 20, 10}, 1},
        {"twice the scale renders again", 2, {0, 0, 20, 10}, 2},
        {"and again the same", 2, {10, 10, 20, 10}, 2},
        {"another size renders", 1, {0, 0, 40, 10}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto context = CGContext::makeBitmap(
            {60, 30},
            {.scale = c.scale, .origin = CGContext::Origin::topLeft, .recordsDisplayList = true});
        context->drawSVG(*doc, c.rect, "halves");
        EXPECT_EQ(doc->cachedRasterCount(), c.rastersAfter);
        // Drawn upright where asked, and recorded by name.
        CGImage image = context->makeImage();
        size_t x = size_t((c.rect.minX() + 2) * c.scale), y = size_t((c.rect.minY() + 2) * c.scale);
        EXPECT_EQ(image.pixel(x, y), (CGImage::Pixel{255, 0, 0, 255}));
        EXPECT_EQ(image.pixel(size_t((c.rect.maxX() - 2) * c.scale), y),
                  (CGImage::Pixel{0, 0, 255, 255}));
        ASSERT_EQ(context->displayList().size(), 1u);
        EXPECT_EQ(context->displayList()[0].imageName, "halves");
        EXPECT_EQ(context->displayList()[0].rect, c.rect);
    }
}

TEST(RasterCache, BitmapsAreStretchedOncePerSizeAndTintedFromTheCopy) {
    CGImage bitmap = CGImage::blank(4, 4);
    {
        auto paint = CGContext::makeBitmap({4, 4});
        paint->setFillColor(CGColor::rgb(0, 1, 0, 1));
        paint->fillRect({0, 0, 4, 4});
        bitmap = paint->makeImage();
    }
    auto context = CGContext::makeBitmap({20, 20}, {.scale = 2});
    context->drawImage(bitmap, {0, 0, 4, 4}); // 8 × 8 pixels: stretched
    context->drawImage(bitmap, {10, 10, 4, 4});
    EXPECT_EQ(bitmap.cachedResampleCount(), 1u);
    context->drawImage(bitmap, {0, 10, 2, 2}); // its own size: no copy kept
    EXPECT_EQ(bitmap.cachedResampleCount(), 1u);
    context->drawImage(bitmap, {10, 0, 5, 5}, CGColor::rgb(1, 0, 0, 1));
    EXPECT_EQ(bitmap.cachedResampleCount(), 2u);
    CGImage drawn = context->makeImage();
    EXPECT_EQ(drawn.pixel(4, 36), (CGImage::Pixel{0, 255, 0, 255}));
    EXPECT_EQ(drawn.pixel(25, 35), (CGImage::Pixel{255, 0, 0, 255}));
    EXPECT_EQ(drawn.pixel(15, 15), (CGImage::Pixel{0, 0, 0, 0}));
}

TEST(RasterCache, RotatedDrawingStillDrawsTheImage) {
    auto doc = CGSVGDocument::fromData(bytes(twoHalvesSVG));
    ASSERT_TRUE(doc);
    auto context = CGContext::makeBitmap({40, 40}, {.origin = CGContext::Origin::topLeft});
    context->translateBy(20, 20);
    context->rotateBy(0.5);
    context->drawSVG(*doc, {-10, -5, 20, 10}, "halves");
    EXPECT_EQ(doc->cachedRasterCount(), 0u);
    EXPECT_GT(context->makeImage().pixel(20, 20).a, 0);
}

TEST(Context, TellsWhetherARectangleMeetsTheClip) {
    auto context = CGContext::makeBitmap({100, 100}, {.origin = CGContext::Origin::topLeft});
    EXPECT_TRUE(context->intersectsClip({90, 90, 20, 20}));
    EXPECT_FALSE(context->intersectsClip({120, 0, 5, 5}));
    context->clip(CGRect{10, 10, 20, 20});
    context->translateBy(10, 10);
    EXPECT_TRUE(context->intersectsClip({0, 0, 1, 1}));
    EXPECT_TRUE(context->intersectsClip({20, 20, 5, 5})); // touching counts
    EXPECT_FALSE(context->intersectsClip({25, 0, 5, 5}));
}

} // namespace
