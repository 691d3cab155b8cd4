#include "Foundation/Bundle.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::string canonical(const std::string& path) {
    return fs::canonical(path).string();
}

TEST(Bundle, FolderOfAnExecutableFollowsThePlatformLayout) {
    struct Case {
        const char* executable;
        const char* bundle;
    };
    const Case cases[] = {
        {"/opt/Host.app/Contents/MacOS/Host", "/opt/Host.app"},
        {"/opt/Host.app/Contents/PlugIns/Fx.appex/Contents/MacOS/Fx.so",
         "/opt/Host.app/Contents/PlugIns/Fx.appex"},
        {"/build/tools/host", "/build/tools"},
        {"/build/MacOS/tool", "/build/MacOS"},               // not inside Contents/
        {"/build/Contents/bin/tool", "/build/Contents/bin"}, // not inside MacOS/
    };
    for (const Case& c : cases)
        EXPECT_EQ(Bundle::bundlePathForExecutable(c.executable), c.bundle) << c.executable;
}

TEST(Bundle, MainBundleOfAPlainExecutableIsItsFolder) {
    auto main = Bundle::main();
    ASSERT_TRUE(main);
    std::string exeFolder = fs::read_symlink("/proc/self/exe").parent_path().string();
    EXPECT_EQ(main->bundlePath(), exeFolder);
    EXPECT_EQ(main->resourceURL().path(), exeFolder);
    EXPECT_EQ(main->infoDictionary(), nullptr);
    EXPECT_EQ(Bundle::main(), main); // found once
    // Code of the test program itself lies in the main bundle.
    auto own = Bundle::containing(reinterpret_cast<const void*>(&canonical));
    ASSERT_TRUE(own);
    EXPECT_EQ(own->bundlePath(), exeFolder);
}

TEST(Bundle, CodeInsideAnExtensionBundleFindsThatBundle) {
    void* module = dlopen(PROBE_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_TRUE(module) << dlerror();
    void* marker = dlsym(module, "probeMarker");
    ASSERT_TRUE(marker);

    auto bundle = Bundle::containing(marker);
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->bundlePath(), canonical(PROBE_BUNDLE));
    EXPECT_EQ(bundle->resourceURL().path(), canonical(PROBE_BUNDLE) + "/Contents/Resources");
    ASSERT_TRUE(bundle->infoDictionary());
    ASSERT_TRUE(bundle->object("CFBundleShortVersionString"));
    EXPECT_EQ(*bundle->object("CFBundleShortVersionString")->string(), "1.2.3");
    EXPECT_EQ(bundle->object("CFBundleVersion")->integer(), 17);
    EXPECT_EQ(bundle->object("NoSuchKey"), nullptr);
    EXPECT_EQ(bundle->bundleIdentifier(), "org.example.probe");
    ASSERT_TRUE(bundle->executableURL());
    EXPECT_EQ(bundle->executableURL()->path(), canonical(PROBE_MODULE));

    auto greeting = bundle->url("greeting", "txt");
    ASSERT_TRUE(greeting);
    EXPECT_EQ(greeting->path(), bundle->resourceURL().path() + "/greeting.txt");
    auto assets = bundle->url("Assets", "");
    ASSERT_TRUE(assets);
    EXPECT_TRUE(assets->hasDirectoryPath());
    EXPECT_FALSE(bundle->url("greeting", "png"));
    EXPECT_FALSE(bundle->url("", "txt"));
    dlclose(module);
}

TEST(Bundle, PlainFoldersAndMissingPaths) {
    fs::path folder = fs::temp_directory_path() / ("bundle-test-" + std::to_string(getpid()));
    fs::create_directories(folder / "Sub");
    std::ofstream(folder / "Sub" / "x.json") << "{}";
    std::ofstream(folder / "file.txt") << "text";

    auto plain = Bundle::atPath(folder.string() + "/");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->bundlePath(), folder.string());
    EXPECT_EQ(plain->resourceURL().path(), folder.string());
    EXPECT_EQ(plain->infoDictionary(), nullptr);
    EXPECT_FALSE(plain->executableURL());
    ASSERT_TRUE(plain->url("x", "json", "Sub"));
    EXPECT_EQ(plain->url("x", "json", "Sub")->path(), (folder / "Sub" / "x.json").string());
    EXPECT_TRUE(Bundle::atURL(URL::fileURL(folder.string())));

    EXPECT_EQ(Bundle::atPath((folder / "missing").string()), nullptr);
    EXPECT_EQ(Bundle::atPath((folder / "file.txt").string()), nullptr);
    EXPECT_EQ(Bundle::atPath(""), nullptr);
    EXPECT_EQ(Bundle::atURL(*URL::string("https://example.org/")), nullptr);

    // A bundle whose Info.plist is malformed has no info dictionary.
    fs::create_directories(folder / "Bad.bundle" / "Contents");
    std::ofstream(folder / "Bad.bundle" / "Contents" / "Info.plist") << "<plist><dict>";
    auto bad = Bundle::atPath((folder / "Bad.bundle").string());
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->infoDictionary(), nullptr);
    EXPECT_EQ(bad->resourceURL().path(),
              (folder / "Bad.bundle" / "Contents" / "Resources").string());
    fs::remove_all(folder);
}

// CFBundleExecutable names a file in Contents/MacOS: a name that leads out of that
// folder names no executable, so nothing outside the bundle is ever loaded as its code.
TEST(Bundle, ExecutableIsAFileInsideTheBundle) {
    fs::path folder = fs::temp_directory_path() / ("bundle-exec-test-" + std::to_string(getpid()));
    struct Case {
        std::string name;
        bool valid;
    };
    const Case cases[] = {
        {"Effect.so", true},
        {"../../../elsewhere.so", false},
        {"Sub/Effect.so", false},
        {"/usr/lib/elsewhere.so", false},
        {"..", false},
        {".", false},
    };
    for (const Case& c : cases) {
        fs::remove_all(folder);
        fs::create_directories(folder / "X.appex" / "Contents");
        std::ofstream(folder / "X.appex" / "Contents" / "Info.plist")
            << "<plist><dict><key>CFBundleExecutable</key><string>" << c.name
            << "</string></dict></plist>";
        auto bundle = Bundle::atPath((folder / "X.appex").string());
        ASSERT_TRUE(bundle && bundle->infoDictionary()) << c.name;
        const std::optional<URL> executable = bundle->executableURL();
        EXPECT_EQ(executable.has_value(), c.valid) << c.name;
        if (executable)
            EXPECT_EQ(executable->path(),
                      (folder / "X.appex" / "Contents" / "MacOS" / c.name).string());
    }
    fs::remove_all(folder);
}

} // namespace

TEST(Bundle, LocalizedStringsAreTheDevelopmentLanguagesText) {
    auto bundle = Bundle::main();
    EXPECT_EQ(bundle->localizedString("Clear Recent Documents"), "Clear Recent Documents");
    EXPECT_EQ(bundle->localizedString("clear.key", "Clear Menu", "Menus"), "Clear Menu");
}
