// Windows drawn to files with no display, and the scale the environment asks for.

#include "Display/Headless.h"

#include "Display/DisplayServer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "RecordingView.h"

namespace {

TEST(Headless, AWindowIsWrittenAtTheAskedScaleWithoutChangingItsOwn) {
    auto window = make<NSWindow>(CGRect{{0, 0}, {200, 150}});
    window->setContentView(make<RecordingView>(CGRect{{0, 0}, {200, 150}}));
    window->setBackingScaleFactor(1);
    auto path = std::filesystem::temp_directory_path() /
                ("headless-" + std::to_string(::getpid()) + ".png");
    struct Case {
        std::optional<CGFloat> scale;
        size_t width;
    };
    for (const Case& c : {Case{2, 400}, Case{std::nullopt, 200}, Case{1.5, 300}}) {
        ASSERT_TRUE(Headless::writeWindowPNG(*window, path.string(), c.scale));
        auto image = CGImage::fromPNGFile(path.string());
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width(), c.width);
        CGFloat s = CGFloat(c.width) / 200;
        // The red rectangle's middle, counted from the top of the picture.
        auto red = image->pixel(size_t(50 * s), size_t((150 - 40) * s));
        EXPECT_EQ(red.r, 255);
        EXPECT_EQ(red.b, 0);
        EXPECT_EQ(window->backingScaleFactor(), 1);
    }
    std::filesystem::remove(path);
    EXPECT_FALSE(Headless::writeWindowPNG(*window, "/nonexistent-folder/x.png", 1));
}

TEST(Headless, TheEnvironmentAsksForAScaleOnlyWithAPlausibleNumber) {
    struct Case {
        const char* value;
        std::optional<CGFloat> scale;
    };
    for (const Case& c :
         {Case{nullptr, std::nullopt}, Case{"", std::nullopt}, Case{"2", 2}, Case{"1.5", 1.5},
          Case{"8", 8}, Case{"0", std::nullopt}, Case{"-1", std::nullopt}, Case{"9", std::nullopt},
          Case{"2x", std::nullopt}, Case{"big", std::nullopt}}) {
        if (c.value)
            setenv("EMBERFALL_SCALE", c.value, 1);
        else
            unsetenv("EMBERFALL_SCALE");
        EXPECT_EQ(Headless::environmentScaleFactor(), c.scale) << (c.value ? c.value : "unset");
    }
    unsetenv("EMBERFALL_SCALE");
}

TEST(Headless, WithoutADisplayThereIsNoServerButAReason) {
    const char* kept = std::getenv("DISPLAY");
    std::string display = kept ? kept : "";
    setenv("DISPLAY", ":65000", 1); // no server listens there
    std::string why;
    auto server = DisplayServer::connect(&why);
    EXPECT_FALSE(server);
    EXPECT_FALSE(why.empty());
    if (kept)
        setenv("DISPLAY", display.c_str(), 1);
    else
        unsetenv("DISPLAY");
}

} // namespace
