#include "AppKit/AppKit.h"
#include "Foundation/Bundle.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const void* marker() {
    return reinterpret_cast<const void*>(&marker);
}

// Temporary folders holding bundles, removed at the end.
struct Folders {
    fs::path root = fs::temp_directory_path() / ("emberfall-bundles-" + std::to_string(::getpid()));
    Folders() { fs::create_directories(root); }
    ~Folders() { fs::remove_all(root); }
    // A folder holding <name>.bundle whose colour "which" has the red component `red`.
    std::string withBundle(const std::string& folder, const std::string& name, double red) {
        fs::path assets = root / folder / (name + ".bundle") / "Contents" / "Resources" / "Assets";
        fs::create_directories(assets);
        std::ofstream(assets / "colors.json") << "{\"which\": [" << red << ", 0, 0, 1]}";
        return (root / folder).string();
    }
};

TEST(Resources, ColoursAndImagesComeFromTheBundlesCatalogue) {
    auto bundle = findResourceBundle("AppKitTests_Assets", marker());
    ASSERT_NE(bundle, nullptr);
    auto darker = NSColor::named("Background/Darker", bundle);
    ASSERT_NE(darker, nullptr);
    EXPECT_EQ(darker->cgColor().rgba(), (CGColor::RGBA{0.1, 0.2, 0.3, 1.0}));
    EXPECT_EQ(darker->name(), "Background/Darker");
    auto values = NSColor::named("values", bundle);
    EXPECT_NEAR(values->redComponent(), 1.0, 1e-9);
    EXPECT_NEAR(values->greenComponent(), 128 / 255.0, 1e-9);
    EXPECT_EQ(NSColor::named("translucent", bundle)->alphaComponent(), 0.5);
    // Each lookup makes a new object of the same colour.
    EXPECT_NE(NSColor::named("values", bundle), values);
    EXPECT_EQ(NSColor::named("no such colour", bundle), nullptr);

    auto dial = NSImage::named("knobs/dial_01", bundle);
    ASSERT_NE(dial, nullptr);
    EXPECT_TRUE(dial->isVector());
    EXPECT_EQ(dial->size(), (CGSize{24, 12}));
    EXPECT_EQ(dial->name(), "knobs/dial_01");
    CGImage sharp = dial->cgImage(2);
    EXPECT_EQ(sharp.width(), 48u);
    EXPECT_EQ(sharp.pixel(47, 0), (CGImage::Pixel{0, 0, 255, 255}));
    auto dot = NSImage::named("green-dot", bundle);
    ASSERT_NE(dot, nullptr);
    EXPECT_FALSE(dot->isVector());
    EXPECT_EQ(dot->size(), (CGSize{4, 2}));
    EXPECT_EQ(dot->cgImage().pixel(3, 1), (CGImage::Pixel{0, 200, 0, 255}));
    auto dense = NSImage::named("dense", bundle); // dense@2x.png, 4 × 2 pixels
    ASSERT_NE(dense, nullptr);
    EXPECT_EQ(dense->size(), (CGSize{2, 1}));
    EXPECT_EQ(dense->cgImage(2).width(), 4u);
    for (const char* missing : {"nothing", "knobs", "../Assets/arrow", "/etc/passwd", ""})
        EXPECT_EQ(NSImage::named(missing, bundle), nullptr) << missing;
}

TEST(Resources, BundlesAreSearchedInTheMainResourcesThenBesideTheCodeThenTheMainFolder) {
    // For code in the AppKit library the three candidates are the program's folder
    // (its resources), the library's own folder and the program's folder again.
    auto candidates =
        resourceBundleCandidates(reinterpret_cast<const void*>(&resourceBundleCandidates));
    auto main = Bundle::main();
    auto library = Bundle::containing(reinterpret_cast<const void*>(&resourceBundleCandidates));
    ASSERT_EQ(candidates.size(), 3u);
    EXPECT_EQ(candidates[0], main->resourceURL().path());
    EXPECT_EQ(candidates[1], library->resourceURL().path());
    EXPECT_EQ(candidates[2], main->bundlePath());
    EXPECT_NE(candidates[1], candidates[0]);

    Folders folders;
    std::string first = folders.withBundle("first", "Pkg_Mod", 1);
    std::string second = folders.withBundle("second", "Pkg_Mod", 0.5);
    std::string empty = (folders.root / "empty").string();
    fs::create_directories(empty);
    struct Case {
        std::vector<std::string> candidates;
        double red;
    } cases[] = {
        {{first, second}, 1},
        {{second, first}, 0.5},
        {{empty, second}, 0.5},
        {{(folders.root / "missing").string(), first}, 1},
    };
    for (const Case& c : cases) {
        auto bundle = findResourceBundle("Pkg_Mod", c.candidates);
        ASSERT_NE(bundle, nullptr);
        EXPECT_EQ(NSColor::named("which", bundle)->redComponent(), c.red);
    }
    EXPECT_EQ(findResourceBundle("Pkg_Mod", std::vector<std::string>{empty}), nullptr);
}

TEST(Resources, AModuleInsideABundleFindsTheResourcesPackagedBesideIt) {
    void* module = dlopen(BUNDLE_PROBE_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    auto probe = reinterpret_cast<const void* (*)()>(dlsym(module, "emberfallBundleProbe"));
    ASSERT_NE(probe, nullptr);
    // The second candidate is the Contents/Resources of the module's own bundle.
    auto candidates = resourceBundleCandidates(probe());
    ASSERT_EQ(candidates.size(), 3u);
    fs::path resources = fs::path(BUNDLE_PROBE_MODULE).parent_path().parent_path() / "Resources";
    EXPECT_EQ(fs::path(candidates[1]), resources);
    // The packaging copied the bundle and the application fonts there.
    auto bundle = findResourceBundle("AppKitTests_Assets", std::vector<std::string>{candidates[1]});
    ASSERT_NE(bundle, nullptr);
    EXPECT_NE(NSImage::named("knobs/dial_01", bundle), nullptr);
    EXPECT_TRUE(fs::exists(resources / "Fonts" / "fonts.conf"));
}

TEST(ResourcesDeathTest, AMissingBundleEndsTheProgramWithItsName) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(findResourceBundle("Orrery_NoSuchModule", marker()),
                 "unable to find bundle named Orrery_NoSuchModule");
}

} // namespace
