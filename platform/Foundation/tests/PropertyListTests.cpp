#include "Foundation/PropertyList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

namespace {

PropertyListValue nestedSample() {
    PropertyListDictionary inner{
        {"flag", true},
        {"off", false},
        {"empty", PropertyListDictionary{}},
        {"none", PropertyListArray{}},
    };
    PropertyListArray list{
        PropertyListValue("first"),
        PropertyListValue(std::int64_t{-9223372036854775807LL - 1}),
        PropertyListValue(0.1),
        PropertyListValue(-2.5e-300),
        PropertyListValue(std::numeric_limits<double>::infinity()),
        PropertyListValue(inner),
    };
    PropertyListDictionary root{
        {"text", "a < b & c > d\r\nline \"two\" é"},
        {"blank", ""},
        {"count", 42},
        {"gain", 0.75},
        {"list", list},
        {"bytes0", Data{}},
        {"bytes1", Data{0xFF}},
        {"bytes2", Data{0x00, 0x10}},
        {"bytes5", Data{1, 2, 3, 4, 5}},
        {"key & <odd>", "x"},
    };
    return root;
}

TEST(PropertyList, NestedValuesSurviveWritingAndReading) {
    PropertyListValue original = nestedSample();
    auto xml = PropertyListSerialization::write(original);
    ASSERT_TRUE(xml);
    std::string error;
    auto back = PropertyListSerialization::read(*xml, &error);
    ASSERT_TRUE(back) << error << "\n" << *xml;
    EXPECT_EQ(*back, original);

    auto path = (std::filesystem::temp_directory_path() /
                 ("plist-test-" + std::to_string(getpid()) + ".plist"))
                    .string();
    ASSERT_TRUE(PropertyListSerialization::writeFile(path, original, &error)) << error;
    auto fromFile = PropertyListSerialization::readFile(path, &error);
    ASSERT_TRUE(fromFile) << error;
    EXPECT_EQ(*fromFile, original);
    std::filesystem::remove(path);
}

TEST(PropertyList, ReadsHandWrittenDocumentsAndTypedAccessors) {
    const char* xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist SYSTEM "plist.dtd">
<plist version="1.0">
  <dict>
    <key>Name</key>   <string>Fx</string>
    <key>Version</key> <integer> +65536 </integer>
    <key>Ratio</key>  <real>2</real>
    <key>Blob</key>   <data>
      AAEC
      Aw==
    </data>
    <key>Items</key>  <array><true/><string/></array>
  </dict>
</plist>)";
    std::string error;
    auto value = PropertyListSerialization::read(xml, &error);
    ASSERT_TRUE(value) << error;
    ASSERT_TRUE(value->dictionary());
    EXPECT_EQ(*(*value)["Name"]->string(), "Fx");
    EXPECT_EQ((*value)["Version"]->integer(), 65536);
    EXPECT_EQ((*value)["Version"]->number(), 65536.0); // integers read as numbers too
    EXPECT_EQ((*value)["Ratio"]->integer(), std::nullopt);
    EXPECT_EQ((*value)["Ratio"]->number(), 2.0);
    EXPECT_EQ(*(*value)["Blob"]->data(), (Data{0, 1, 2, 3}));
    ASSERT_TRUE((*value)["Items"]->array());
    EXPECT_EQ((*value)["Items"]->array()->at(0).boolean(), true);
    EXPECT_EQ(*(*value)["Items"]->array()->at(1).string(), "");
    EXPECT_EQ((*value)["Missing"], nullptr);
    EXPECT_EQ((*(*value)["Name"])["x"], nullptr); // not a dictionary
    EXPECT_EQ((*value)["Name"]->boolean(), std::nullopt);

    // Every integer type makes an integer; bool stays a boolean.
    EXPECT_EQ(PropertyListValue(7LL).integer(), 7);
    EXPECT_EQ(PropertyListValue(std::uint16_t{9}).integer(), 9);
    EXPECT_EQ(PropertyListValue(true).kind(), PropertyListValue::Kind::boolean);
    EXPECT_EQ(PropertyListValue(0.5f).kind(), PropertyListValue::Kind::real);
}

TEST(PropertyList, MalformedDocumentsAreRefusedWithAReason) {
    const char* cases[] = {
        "",
        "<plist><dict>",
        "not xml at all <",
        "<dict/>",
        "<plist></plist>",
        "<plist><string>a</string><string>b</string></plist>",
        "<plist><dict><key>a</key></dict></plist>",
        "<plist><dict><key>a</key><key>b</key><true/></dict></plist>",
        "<plist><dict><string>x</string></dict></plist>",
        "<plist><array><key>a</key></array></plist>",
        "<plist><integer>1.5</integer></plist>",
        "<plist><integer>99999999999999999999</integer></plist>",
        "<plist><integer></integer></plist>",
        "<plist><real>abc</real></plist>",
        "<plist><true>yes</true></plist>",
        "<plist><data>!!!!</data></plist>",
        "<plist><date>2020-01-01T00:00:00Z</date></plist>",
        "<plist><string>a<b/></string></plist>",
        "<plist>text<string>a</string></plist>",
        "<plist><plist><true/></plist></plist>",
    };
    for (const char* xml : cases) {
        std::string error;
        EXPECT_FALSE(PropertyListSerialization::read(xml, &error)) << xml;
        EXPECT_FALSE(error.empty()) << xml;
    }
    std::string error;
    EXPECT_FALSE(PropertyListSerialization::readFile("/nonexistent/x.plist", &error));
    EXPECT_FALSE(error.empty());
}

// Containers nest at most maxNestingDepth deep: a deeper document (a crafted saved
// state) is refused with a reason instead of building a value whose destruction
// would overflow the stack.
TEST(PropertyList, NestingIsLimited) {
    auto nested = [](std::size_t depth) {
        std::string xml = "<plist>";
        for (std::size_t i = 0; i < depth; ++i)
            xml += i % 2 ? "<array>" : "<dict><key>k</key>";
        xml += "<true/>";
        for (std::size_t i = depth; i-- > 0;)
            xml += i % 2 ? "</array>" : "</dict>";
        return xml + "</plist>";
    };
    const std::size_t limit = PropertyListSerialization::maxNestingDepth;
    std::string error;
    EXPECT_TRUE(PropertyListSerialization::read(nested(limit), &error)) << error;
    for (std::size_t depth : {limit + 1, std::size_t{300000}}) {
        error.clear();
        EXPECT_FALSE(PropertyListSerialization::read(nested(depth), &error)) << depth;
        EXPECT_NE(error.find("nested"), std::string::npos) << error;
    }
}

TEST(PropertyList, WritingRefusesTextThatXMLCannotCarry) {
    EXPECT_FALSE(PropertyListSerialization::write(PropertyListValue("bell\x07")));
    EXPECT_FALSE(PropertyListSerialization::write(
        PropertyListDictionary{{std::string("k\x01"), PropertyListValue(1)}}));
    std::string error;
    EXPECT_FALSE(PropertyListSerialization::writeFile("/tmp/never-written.plist",
                                                      PropertyListValue("\x02"), &error));
    EXPECT_FALSE(std::filesystem::exists("/tmp/never-written.plist"));
    EXPECT_FALSE(PropertyListSerialization::writeFile("/nonexistent/dir/x.plist",
                                                      PropertyListValue(1), &error));
}

} // namespace
