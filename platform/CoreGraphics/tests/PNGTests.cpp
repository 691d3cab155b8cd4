#include "CoreGraphics/CGContext.h"
#include "CoreGraphics/CGImage.h"

#include <gtest/gtest.h>

#include <png.h>

#include <cstring>

namespace {

struct Decoded {
    int bitDepth = 0, colorType = 0;
    bool hasChromaticities = false;
    double redX = 0;
    std::vector<uint16_t> firstPixel;
};

Decoded decode(const std::vector<uint8_t>& data) {
    Decoded d;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    struct Reader {
        const std::vector<uint8_t>* data;
        size_t at = 0;
    } reader{&data};
    png_set_read_fn(png, &reader, [](png_structp p, png_bytep out, png_size_t n) {
        auto* r = static_cast<Reader*>(png_get_io_ptr(p));
        std::memcpy(out, r->data->data() + r->at, n);
        r->at += n;
    });
    png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    d.bitDepth = png_get_bit_depth(png, info);
    d.colorType = png_get_color_type(png, info);
    double wx, wy, rx, ry, gx, gy, bx, by;
    d.hasChromaticities = png_get_cHRM(png, info, &wx, &wy, &rx, &ry, &gx, &gy, &bx, &by) != 0;
    d.redX = rx;
    png_bytepp rows = png_get_rows(png, info);
    for (int c = 0; c < 4; ++c)
        d.firstPixel.push_back(d.bitDepth == 16 ? uint16_t(rows[0][c * 2] << 8 | rows[0][c * 2 + 1])
                                                : rows[0][c]);
    png_destroy_read_struct(&png, &info, nullptr);
    return d;
}

TEST(PNGTest, SixteenBitDisplayP3KeepsTheColourInTheWiderSpace) {
    auto context = CGContext::makeBitmap({2, 2});
    context->setFillColor(CGColor::rgb(1, 0, 0));
    context->fillRect({0, 0, 2, 2});
    CGImage image = context->makeImage();

    auto p3 = decode(image.pngData(CGColorSpace::displayP3, 16));
    EXPECT_EQ(p3.bitDepth, 16);
    EXPECT_EQ(p3.colorType, PNG_COLOR_TYPE_RGB_ALPHA);
    EXPECT_TRUE(p3.hasChromaticities);
    EXPECT_NEAR(p3.redX, 0.680, 1e-4);
    // sRGB red is (0.9175, 0.2003, 0.1386) in Display P3.
    EXPECT_NEAR(p3.firstPixel[0] / 65535.0, 0.9175, 2e-3);
    EXPECT_NEAR(p3.firstPixel[1] / 65535.0, 0.2003, 2e-3);
    EXPECT_NEAR(p3.firstPixel[2] / 65535.0, 0.1386, 2e-3);
    EXPECT_EQ(p3.firstPixel[3], 65535);

    auto srgb = decode(image.pngData(CGColorSpace::sRGB, 8));
    EXPECT_EQ(srgb.bitDepth, 8);
    EXPECT_EQ(srgb.firstPixel, (std::vector<uint16_t>{255, 0, 0, 255}));

    EXPECT_TRUE(image.pngData(CGColorSpace::genericGray, 16).empty());
    EXPECT_TRUE(image.pngData(CGColorSpace::displayP3, 12).empty());
}

} // namespace
