#include "CoreGraphics/CGContext.h"
#include "CoreGraphics/CGFont.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <limits>
#include <unistd.h>

namespace {

TEST(Text, FontNamesResolveToTheirFaces) {
    struct Case {
        const char* name;
        const char* family;
        int weight;
    } cases[] = {
        {"Dosis-Light", "Dosis", CGFont::light},
        {"Dosis-Medium", "Dosis", CGFont::medium},
        // The application's font configuration maps the display face's name.
        {"Rocket", "League Spartan", CGFont::bold},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto font = CGFont::named(c.name, 13);
        ASSERT_TRUE(font.has_value());
        EXPECT_EQ(font->name(), c.name);
        EXPECT_EQ(font->pointSize(), 13);
        EXPECT_EQ(font->resolvedFamily(), c.family);
    }
    EXPECT_EQ(CGFont::named("Dosis-Light", 13)->weight(), CGFont::light);
    EXPECT_EQ(CGFont::named("Dosis-Medium", 13)->weight(), CGFont::medium);
    EXPECT_FALSE(CGFont::named("No Such Face", 13).has_value());
    EXPECT_FALSE(CGFont::system(10).resolvedFamily().empty());
}

TEST(Text, ALoadedModuleBringsTheFontsOfItsBundle) {
    // Measure once so that the font configuration is loaded before the module.
    CGTextMeasure("x", CGFont::system(10));
    EXPECT_FALSE(CGFont::named("Probe Display Face", 12).has_value());
    void* module = dlopen(FONT_PROBE_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    auto font = CGFont::named("Probe Display Face", 12);
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(font->resolvedFamily(), "Dosis");
    EXPECT_GT(CGTextMeasure("PROBE", *font).width, 0);
    // The program's own configuration still holds.
    EXPECT_EQ(CGFont::named("Rocket", 12)->resolvedFamily(), "League Spartan");
}

TEST(Text, MeasuringScalesWithSizeAndTellsFacesApart) {
    auto light = *CGFont::named("Dosis-Light", 13);
    auto medium = *CGFont::named("Dosis-Medium", 13);
    auto rocket = *CGFont::named("Rocket", 13);
    const std::string text = "DELAY MODE 2.1 AVAILABLE";
    CGSize l = CGTextMeasure(text, light);
    CGSize m = CGTextMeasure(text, medium);
    CGSize r = CGTextMeasure(text, rocket);
    EXPECT_GT(l.width, 50);
    EXPECT_LT(l.width, 13 * double(text.size()));
    // The heavier cut is wider; the display face is a different face again.
    EXPECT_GT(m.width, l.width);
    EXPECT_NE(r.width, l.width);
    // Unhinted metrics: twice the size measures twice as wide.
    CGSize l2 = CGTextMeasure(text, light.withSize(26));
    EXPECT_NEAR(l2.width, 2 * l.width, 0.02 * l.width);
    EXPECT_NEAR(l.height, light.lineHeight(), 1.0);
    // Capitals stand on the baseline, lower than the ascent, and scale with the size.
    EXPECT_GT(medium.capHeight(), 0.5 * 13);
    EXPECT_LT(medium.capHeight(), medium.ascent());
    EXPECT_NEAR(medium.withSize(26).capHeight(), 2 * medium.capHeight(), 0.1);
    EXPECT_EQ(CGTextMeasure("", light).width, 0);
    // Wrapping within a width makes more lines.
    CGSize wrapped = CGTextMeasure(text, light, {.width = l.width / 2});
    EXPECT_LE(wrapped.width, l.width / 2 + 0.5);
    EXPECT_GT(wrapped.height, 1.5 * l.height);
    // Limited to one line, the run is shortened to the width wherever the ellipsis goes.
    for (auto where : {CGTextOptions::Truncation::head, CGTextOptions::Truncation::middle,
                       CGTextOptions::Truncation::tail}) {
        CGSize shortened = CGTextMeasure(
            text, light, {.width = l.width / 2, .maximumLines = 1, .truncation = where});
        EXPECT_LE(shortened.width, l.width / 2 + 0.5);
        EXPECT_NEAR(shortened.height, l.height, 0.5);
    }
}

TEST(Text, AFontFolderAddedLaterIsUsed) {
    auto folder =
        std::filesystem::temp_directory_path() / ("emberfall-fonts-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "later.conf") << R"(<?xml version="1.0"?>
<fontconfig><match target="pattern"><test name="family" qual="first"><string>Later Face</string></test>
<edit name="family" mode="prepend" binding="strong"><string>League Spartan</string></edit></match></fontconfig>)";
    EXPECT_FALSE(CGFont::named("Later Face", 12).has_value());
    CGFontRegistry::addFontFolder(folder.string());
    std::filesystem::remove_all(folder);
    auto font = CGFont::named("Later Face", 12);
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(font->resolvedFamily(), "League Spartan");
}

TEST(Text, DrawnRunsAreRecordedWithFontColourAndMeasuredBox) {
    auto font = *CGFont::named("Dosis-Medium", 13);
    const CGColor text = CGColor::rgb(0.9, 0.8, 0.1, 1).namedAsset("ChaosYellowText");
    CGSize size = CGTextMeasure("CHAOS", font);
    for (CGFloat scale : {1.0, 2.0}) {
        auto c = CGContext::makeBitmap({100, 40}, {.scale = scale, .recordsDisplayList = true});
        // y-up space: the run hangs from the rectangle's top edge (maxY = 30).
        c->drawText("CHAOS", font, text, CGRect{10, 10, 80, 20});
        ASSERT_EQ(c->displayList().size(), 1u);
        const CGDisplayItem& item = c->displayList()[0];
        EXPECT_EQ(item.kind, CGDisplayItem::Kind::text);
        EXPECT_EQ(item.text, "CHAOS");
        EXPECT_EQ(item.fontName, "Dosis-Medium");
        EXPECT_EQ(item.fontSize, 13);
        EXPECT_EQ(item.color->assetName(), "ChaosYellowText");
        EXPECT_NEAR(item.rect.minX(), 10, 1e-6);
        EXPECT_NEAR(item.rect.minY(), 10, 1e-6); // device points: 40 − 30
        EXPECT_NEAR(item.rect.width(), size.width, 1e-6);
        EXPECT_NEAR(item.rect.height(), size.height, 1e-6);
        // Some pixels of the run are painted inside its box, none far outside it.
        CGImage image = c->makeImage();
        int painted = 0;
        for (size_t y = 0; y < image.height(); ++y)
            for (size_t x = 0; x < image.width(); ++x)
                if (image.pixel(x, y).a > 0) {
                    ++painted;
                    CGPoint p{x / scale, y / scale};
                    EXPECT_TRUE(item.rect.insetBy(-2, -2).contains(p)) << p.x << "," << p.y;
                }
        EXPECT_GT(painted, 20);
    }
}

} // namespace

TEST(Text, AWidthBeyondPangosUnitsIsUnboundedAndCaretsFollowTheCharacters) {
    auto font = CGFont::system(13);
    const std::string text = "Delay 1/4 dotted";
    CGSize oneLine = CGTextMeasure(text, font);
    struct Case {
        const char* what;
        double width;
    };
    const Case cases[] = {{"DBL_MAX", std::numeric_limits<double>::max()},
                          {"just beyond int units", 2.2e9 / 1024},
                          {"infinity", std::numeric_limits<double>::infinity()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CGTextOptions options;
        options.width = c.width;
        options.maximumLines = 1;
        EXPECT_EQ(CGTextMeasure(text, font, options), oneLine);
    }
    // One offset per character and one after the last, growing; "é" is one character.
    auto offsets = CGTextCaretOffsets("aé b", font);
    ASSERT_EQ(offsets.size(), 5u);
    EXPECT_EQ(offsets.front(), 0);
    for (size_t i = 1; i < offsets.size(); ++i)
        EXPECT_GT(offsets[i], offsets[i - 1]);
    EXPECT_NEAR(offsets.back(), CGTextMeasure("aé b", font).width, 0.01);
}
