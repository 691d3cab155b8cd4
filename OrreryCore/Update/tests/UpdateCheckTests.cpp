#include "Update/SimpleSparklerChecker.h"
#include "Update/UpdateAvailableDetails.h"
#include "Update/VersionWeight.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr std::int64_t maxWeight = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t minWeight = std::numeric_limits<std::int64_t>::min();

TEST(VersionWeight, WeighsDottedPieces) {
    struct Case {
        std::string version;
        std::int64_t weight;
    };
    for (const Case& c : std::vector<Case>{
             {"1.2.3", 10203},
             {"2.10", 21000},
             {"1.2.3.4", 10207},
             {"", 0},
             {"1.x", 10000},
             {"1..2", 10200}, // empty pieces are dropped
             {".1", 10000},
             {"1.100", 20000},
             {"2.0", 20000},
             {"1.2", 10200},
             {"1.2.0", 10200},
             {"+1.-2", 9800},
             {"+-1", 0},
             {"1 .2", 200}, // a blank makes the piece no number
             {"1.2-beta", 10000},
             // pieces beyond the 64-bit range count 0
             {"99999999999999999999.1", 100},
             {"1.99999999999999999999", 10000},
             // products and the sum saturate
             {"9223372036854775807", maxWeight},
             {"-9223372036854775808", minWeight},
             {"922337203685477580.9223372036854775807", maxWeight},
             {"1.1.9223372036854775807", maxWeight},
             {"-1.-1.-9223372036854775808", minWeight},
         }) {
        EXPECT_EQ(convertVersionToWeight(c.version), c.weight) << '"' << c.version << '"';
    }
}

std::optional<std::string> latestOf(const std::string& feed) {
    auto checker = make<SimpleSparklerChecker>();
    checker->parse(dataFromString(feed));
    return checker->latestVersion();
}

std::string feedOf(const std::vector<std::string>& versions) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                      "<rss version=\"2.0\" xmlns:sparkle=\"http://example.invalid/sparkle\">"
                      "<channel><title>Emberfall</title>";
    for (const auto& v : versions)
        xml += "<item><title>Version</title><sparkle:shortVersionString>" + v +
               "</sparkle:shortVersionString><enclosure url=\"https://example.invalid/a.zip\"/>"
               "</item>";
    return xml + "</channel></rss>";
}

TEST(SimpleSparklerChecker, PicksTheHeaviestTheEarliestAmongEquals) {
    struct Case {
        std::vector<std::string> listed;
        std::optional<std::string> latest;
    };
    for (const Case& c : std::vector<Case>{
             {{"1.3.0", "1.2.5"}, "1.3.0"},
             {{"1.2.5", "1.3.0"}, "1.3.0"},
             {{"1.100", "2.0"}, "1.100"},
             {{"2.0", "1.100"}, "2.0"},
             {{"1.2", "1.2.0"}, "1.2"},
             {{"1.2.0", "1.2"}, "1.2.0"},
             {{"0.9", "1.0.1", "1.0"}, "1.0.1"},
             {{}, std::nullopt},
         }) {
        EXPECT_EQ(latestOf(feedOf(c.listed)), c.latest) << c.listed.size();
    }
}

TEST(SimpleSparklerChecker, ReadsOnlyPrefixedVersionElementsTrimmed) {
    struct Case {
        std::string name, feed;
        std::optional<std::string> latest;
    };
    for (const Case& c : std::vector<Case>{
             {"trimmed",
              "<rss><item><sparkle:shortVersionString> 1.3.0\n</sparkle:shortVersionString>"
              "</item></rss>",
              "1.3.0"},
             {"unprefixed ignored",
              "<rss><item><shortVersionString>9.0</shortVersionString>"
              "<sparkle:shortVersionString>1.0</sparkle:shortVersionString></item></rss>",
              "1.0"},
             {"only unprefixed", "<rss><shortVersionString>9.0</shortVersionString></rss>",
              std::nullopt},
             {"other elements", "<rss><sparkle:version>99</sparkle:version></rss>", std::nullopt},
             {"malformed after a version keeps it",
              "<rss><item><sparkle:shortVersionString>1.4</sparkle:shortVersionString>"
              "</item><item><sparkle:shortVersionString>2.0</wrong></rss>",
              "1.4"},
             {"tabs and carriage returns trimmed", // a raw CR would be read as a newline
              "<rss><sparkle:shortVersionString>\t&#13;\n2.1\t&#13;\n"
              "</sparkle:shortVersionString></rss>",
              "2.1"},
             // The end test looks at the last started element: text after a version's
             // end tag joins it when the enclosing element ends, and 1.0.5 outweighs 1.0.
             {"text after the end tag counts at the enclosing end",
              "<rss><item><sparkle:shortVersionString>1.0</sparkle:shortVersionString>.5"
              "</item></rss>",
              "1.0.5"},
             {"not xml", "this is no feed", std::nullopt},
             {"empty", "", std::nullopt},
         }) {
        EXPECT_EQ(latestOf(c.feed), c.latest) << c.name;
    }
}

TEST(SimpleSparklerChecker, TakesTheQualifiedNameWhenTheParserGivesOne) {
    struct Case {
        const char* what;
        std::string elementName;
        std::optional<std::string> qualifiedName;
        std::optional<std::string> latest;
    };
    for (const Case& c : std::vector<Case>{
             {"qualified", "shortVersionString", "sparkle:shortVersionString", "3.0"},
             {"no qualified name", "sparkle:shortVersionString", std::nullopt, "3.0"},
             {"qualified name wins", "sparkle:shortVersionString", "shortVersionString",
              std::nullopt},
         }) {
        SCOPED_TRACE(c.what);
        auto checker = make<SimpleSparklerChecker>();
        XMLParser parser(std::string_view{});
        checker->parserDidStartElement(parser, c.elementName, std::nullopt, c.qualifiedName, {});
        checker->parserFoundCharacters(parser, "3.");
        checker->parserFoundCharacters(parser, "0");
        checker->parserDidEndElement(parser, c.elementName, std::nullopt, c.qualifiedName);
        EXPECT_EQ(checker->latestVersion(), c.latest);
    }
}

TEST(UpdateAvailableDetails, ComparesByVersion) {
    EXPECT_EQ(UpdateAvailableDetails{"1.3.0"}, UpdateAvailableDetails{"1.3.0"});
    EXPECT_NE(UpdateAvailableDetails{"1.3.0"}, UpdateAvailableDetails{"1.3"});
}

} // namespace
