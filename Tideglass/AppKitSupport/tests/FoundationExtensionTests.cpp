#include "AppKitSupport/FoundationExtensions.h"

#include "TestSupport/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

TEST(BundleInfoTest, StringsOfTheInfoDictionaryAndNothingElse) {
    TemporaryDirectory root("tideglass-bundle-info");
    auto folder = root / "Probe.app";
    fs::create_directories(folder / "Contents");
    std::ofstream(folder / "Contents" / "Info.plist") << R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
  <key>CFBundleShortVersionString</key><string>1.2.3</string>
  <key>CFBundleVersion</key><string>45</string>
  <key>CFBundleName</key><string>Probe</string>
  <key>CFBundleDisplayName</key><integer>7</integer>
</dict></plist>)";
    auto bundle = Bundle::atPath(folder.string());
    ASSERT_TRUE(bundle);
    EXPECT_EQ(shortVersion(*bundle), "1.2.3");
    EXPECT_EQ(version(*bundle), "45");
    EXPECT_EQ(name(*bundle), "Probe");
    EXPECT_EQ(displayName(*bundle), std::nullopt);          // not a string
    EXPECT_EQ(teamIdentifierPrefix(*bundle), std::nullopt); // missing

    auto signed_ = root / "Signed.app";
    fs::create_directories(signed_ / "Contents");
    std::ofstream(signed_ / "Contents" / "Info.plist") << R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
  <key>CFBundleDisplayName</key><string>Signed Probe</string>
  <key>TeamIdentifierPrefix</key><string>K7ORR3RY42.</string>
</dict></plist>)";
    auto other = Bundle::atPath(signed_.string());
    ASSERT_TRUE(other);
    EXPECT_EQ(displayName(*other), "Signed Probe");
    EXPECT_EQ(teamIdentifierPrefix(*other), "K7ORR3RY42.");
    EXPECT_EQ(name(*other), std::nullopt);
    EXPECT_EQ(shortVersion(*other), std::nullopt);
}

TEST(CollectionExtensionTest, IndexesAndDowncasts) {
    std::vector<int> empty, three{4, 7, 10};
    EXPECT_FALSE(hasElement(empty, 0));
    EXPECT_TRUE(hasElement(three, 0));
    EXPECT_TRUE(hasElement(three, 2));
    EXPECT_FALSE(hasElement(three, 3)); // the end is not an element
    EXPECT_FALSE(hasElement(three, -1));
    // The range holds exactly the positions that hold elements.
    std::vector<std::ptrdiff_t> all;
    for (std::ptrdiff_t i : range(three))
        all.push_back(i);
    EXPECT_EQ(all, (std::vector<std::ptrdiff_t>{0, 1, 2}));
    EXPECT_TRUE(range(empty).empty());
    EXPECT_EQ(*range(three).end(), 3); // the end bound is endIndex, not an element
    EXPECT_EQ(indexes(three, [](int v) { return v % 2 == 0; }), (std::vector<size_t>{0, 2}));

    struct Base {
        virtual ~Base() = default;
    };
    struct Derived : Base {};
    struct Holder {
        std::shared_ptr<Base> item;
    };
    std::vector<std::shared_ptr<Base>> mixed{std::make_shared<Base>(), std::make_shared<Derived>()};
    EXPECT_EQ(downcastEach<Derived>(mixed).size(), 1u);
    std::vector<Holder> holders{{mixed[1]}, {mixed[0]}, {mixed[1]}};
    EXPECT_EQ(downcastEach<Derived>(holders, &Holder::item).size(), 2u);
}

TEST(URLExtensionTest, RelativePathsNamesAndDisplayablePaths) {
    struct Case {
        std::string file, base, expected;
    };
    for (const Case& c :
         {Case{"/a/b/c.txt", "/a/d", "../b/c.txt"}, Case{"/a/b/c.txt", "/a", "b/c.txt"},
          Case{"/a/b/c.txt", "/a/b/c.txt", ""}, Case{"/x/./y/../z", "/x/q/r", "../../z"}})
        EXPECT_EQ(relativePath(URL::fileURL(c.file), URL::fileURL(c.base, true)), c.expected)
            << c.file << " from " << c.base;
    auto web = URL::string("https://example.org/a/b");
    EXPECT_EQ(relativePath(*web, URL::fileURL("/a")), std::nullopt);
    EXPECT_EQ(relativeURL(*web, URL::fileURL("/a")), std::nullopt);
    EXPECT_EQ(relativePath(URL::fileURL("/a/b"), *web), std::nullopt); // a base on the web
    EXPECT_EQ(relativeURL(URL::fileURL("/a/b/c.txt"), URL::fileURL("/a/d", true))->path(),
              "/a/b/c.txt");

    EXPECT_EQ(fileName(URL::fileURL("/tmp/archive.tar.gz")), "archive.tar");
    EXPECT_EQ(fileName(URL::fileURL("/tmp/a.gz.b.gz")), "a.b");
    EXPECT_EQ(fileName(URL::fileURL("/tmp/README")), "README");
    EXPECT_EQ(displayablePath(URL::fileURL("/Users/me/My Song.txt")), "Users/me/My Song.txt");
}

TEST(URLExtensionTest, ModificationDatesOfFilesThatExist) {
    TemporaryDirectory folder("tideglass-modified");
    auto file = folder / "modified.txt";
    std::ofstream(file) << "x";
    auto date = lastModifiedFileDate(URL::fileURL(file.string()));
    ASSERT_TRUE(date);
    auto age = std::chrono::system_clock::now() - *date;
    EXPECT_LT(std::chrono::abs(age), std::chrono::minutes(5));
    fs::remove(file);
    EXPECT_EQ(lastModifiedFileDate(URL::fileURL(file.string())), std::nullopt);
}

} // namespace
