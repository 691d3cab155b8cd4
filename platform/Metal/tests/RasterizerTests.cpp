#include "MetalFixture.h"

#include <cmath>

namespace {

using Draw = MetalFixture::Draw;
using RasterizerTest = MetalFixture;

// The full-view quad as a strip, (-1,-1), (-1,1), (1,-1), (1,1).
const std::vector<float> quadStrip{-1, -1, -1, 1, 1, -1, 1, 1};

TEST_F(RasterizerTest, EveryPixelIsShadedExactlyOnce) {
    struct Case {
        const char* what;
        std::vector<Draw> draws;
    };
    const Case cases[] = {
        {"full-view quad (the rectangle fill)", {{quadStrip}}},
        {"the same quad as a triangle list",
         {{{-1, -1, -1, 1, 1, -1, 1, -1, -1, 1, 1, 1}, MTLPrimitiveType::triangle}}},
        {"a quad whose values are not affine (edge-tested strip)",
         {{quadStrip, MTLPrimitiveType::triangleStrip, {0, 1, 2, 7}}}},
        {"four triangles meeting off-centre",
         {{{-1, -1, 0.13f, 0.29f, 1,  -1, 1,  1, 0.13f, 0.29f, 1,  -1,
            1,  1,  0.13f, 0.29f, -1, 1,  -1, 1, 0.13f, 0.29f, -1, -1},
           MTLPrimitiveType::triangle}}},
    };
    const std::pair<int, int> sizes[] = {{1, 1}, {3, 2}, {401, 301}};
    for (const Case& c : cases)
        for (auto [w, h] : sizes) {
            SCOPED_TRACE(std::string(c.what) + " at " + std::to_string(w) + "x" +
                         std::to_string(h));
            MetalTestShaders::coverage().reset(w, h);
            render(w, h, c.draws);
            int wrong = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    wrong += MetalTestShaders::coverage().at(x, y) != 1;
            EXPECT_EQ(wrong, 0);
        }
}

TEST_F(RasterizerTest, PixelCentresAndTheTopLeftRuleDecideTheEdges) {
    // A rectangle from x = 0.5 to 2.5 and y = 0.5 to 1.5 in pixels of a 4 × 3 target:
    // centres on the left and top edges are in, those on the right and bottom out.
    auto ndcX = [](float x) { return x / 4 * 2 - 1; };
    auto ndcY = [](float y) { return 1 - y / 3 * 2; };
    std::vector<float> strip{ndcX(0.5f), ndcY(1.5f), ndcX(0.5f), ndcY(0.5f),
                             ndcX(2.5f), ndcY(1.5f), ndcX(2.5f), ndcY(0.5f)};
    for (auto values : {std::vector<float>{}, std::vector<float>{0, 1, 2, 9}}) {
        SCOPED_TRACE(values.empty() ? "rectangle fill" : "edge tests");
        MetalTestShaders::coverage().reset(4, 3);
        render(4, 3, {{strip, MTLPrimitiveType::triangleStrip, values}});
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(MetalTestShaders::coverage().at(x, y),
                          (y == 0 && (x == 0 || x == 1)) ? 1 : 0)
                    << x << "," << y;
    }
}

TEST_F(RasterizerTest, ValuesAreInterpolatedAtPixelCentres) {
    // Value 0 on the left edge, 1 on the right: pixel x reads (x + 0.5) / width; the
    // second value is the clip-space y, 0.75 at the centre of the top row of four.
    const Draw draws[] = {
        {quadStrip, MTLPrimitiveType::triangleStrip, {0, 0, 1, 1}},
        {{-1, -1, -1, 1, 1, -1, 1, -1, -1, 1, 1, 1},
         MTLPrimitiveType::triangle,
         {0, 0, 1, 1, 0, 1}},
    };
    for (const Draw& d : draws) {
        SCOPED_TRACE(d.type == MTLPrimitiveType::triangle ? "triangles" : "strip");
        auto texture = render(8, 4, {d}, "patternFragment", MTLPixelFormat::rgba32Float);
        for (int x = 0; x < 8; ++x)
            EXPECT_NEAR(texture->read(size_t(x), 1)[2], (x + 0.5f) / 8, 1e-5);
        EXPECT_NEAR(texture->read(0, 0)[3], 1 - 0.75f, 1e-5);
    }
}

TEST_F(RasterizerTest, TheImageIsTheSameOnOneAndEightThreads) {
    auto once = [&](unsigned threads) {
        device->setWorkerThreadCount(threads);
        auto t = render(
            403, 211,
            {{quadStrip},
             {{-0.9f, -0.7f, 0.1f, 0.95f, 0.8f, -0.2f}, MTLPrimitiveType::triangle, {0, 3, -1}}},
            "patternFragment", MTLPixelFormat::rgba16Float, 1.7f);
        auto bytes = t->storage();
        return std::vector<uint8_t>(bytes.begin(), bytes.end());
    };
    auto single = once(1);
    EXPECT_EQ(once(8), single);
    EXPECT_EQ(once(3), single);
}

TEST_F(RasterizerTest, OutputIsWrittenInTheAttachmentsFormat) {
    // patternFragment's red is 3·sin(...), beyond 1 in places: the half keeps it, the
    // 8-bit formats clamp it.
    auto half = render(16, 2, {{quadStrip}}, "patternFragment", MTLPixelFormat::rgba16Float);
    auto bytes = render(16, 2, {{quadStrip}}, "patternFragment", MTLPixelFormat::bgra8Unorm);
    bool aboveOne = false;
    for (size_t x = 0; x < 16; ++x) {
        float red = half->read(x, 0)[0];
        float expected = 3 * std::sin((x + 0.5f) * 0.37f);
        EXPECT_NEAR(red, expected, 0.01f);
        aboveOne = aboveOne || red > 1;
        const uint8_t* p = bytes->storage().data() + x * 4;
        EXPECT_EQ(p[2], uint8_t(std::lround(std::clamp(expected, 0.0f, 1.0f) * 255))) << x;
    }
    EXPECT_TRUE(aboveOne);
}

} // namespace
