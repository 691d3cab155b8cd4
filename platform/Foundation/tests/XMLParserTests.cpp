#include "Foundation/XMLParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Writes every event as one line of text.
struct Recorder : XMLParserDelegate {
    std::vector<std::string> events;
    std::string text;
    int errors = 0;
    std::string abortAt;

    void flush() {
        if (!text.empty())
            events.push_back("text " + text);
        text.clear();
    }
    void parserDidStartDocument(XMLParser&) override { events.push_back("begin"); }
    void parserDidEndDocument(XMLParser&) override { events.push_back("end"); }
    void parserDidStartElement(XMLParser& parser, const std::string& name,
                               const std::optional<std::string>& uri,
                               const std::optional<std::string>& qualified,
                               const XMLAttributes& attributes) override {
        flush();
        std::string line = "<" + name + (qualified ? " q=" + *qualified : "") + (uri ? " ns" : "");
        for (const auto& [key, value] : attributes)
            line += " " + key + "=" + value;
        events.push_back(line);
        if (name == abortAt)
            parser.abortParsing();
    }
    void parserDidEndElement(XMLParser&, const std::string& name, const std::optional<std::string>&,
                             const std::optional<std::string>& qualified) override {
        flush();
        events.push_back("</" + name + (qualified ? " q=" + *qualified : ""));
    }
    void parserFoundCharacters(XMLParser&, const std::string& characters) override {
        text += characters;
    }
    void parserParseErrorOccurred(XMLParser&, const XMLParserError& error) override {
        flush();
        ++errors;
        events.push_back("error line " + std::to_string(error.line));
    }
};

TEST(XMLParser, ReportsElementsQualifiedNamesAttributesAndText) {
    auto recorder = std::make_shared<Recorder>();
    auto parser = make<XMLParser>(std::string_view(R"(<?xml version="1.0"?>
<rss xmlns:app="http://example.org/ns"><item id="7" kind='a&amp;b'><app:version>1.2 &lt;3&gt;</app:version><![CDATA[<raw>]]></item></rss>)"));
    parser->delegate = recorder;
    EXPECT_TRUE(parser->parse());
    EXPECT_FALSE(parser->parserError());
    std::vector<std::string> expected{
        "begin",
        "<rss q=rss xmlns:app=http://example.org/ns",
        "<item q=item id=7 kind=a&b",
        "<app:version q=app:version",
        "text 1.2 <3>",
        "</app:version q=app:version",
        "text <raw>",
        "</item q=item",
        "</rss q=rss",
        "end",
    };
    EXPECT_EQ(recorder->events, expected);
    EXPECT_TRUE(parser->parse()); // parses once; the result stays
    EXPECT_EQ(recorder->events.size(), expected.size());
}

TEST(XMLParser, MalformedDocumentsFailAfterTheEventsBeforeTheFault) {
    struct Case {
        const char* xml;
        std::size_t eventsBeforeError; // including "begin"
    };
    const Case cases[] = {
        {"", 1},         {"<a><b></a>", 3},         {"<a>", 2},        {"<a></a><b/>", 3},
        {"<a x=1/>", 1}, {"<a>&undefined;</a>", 2}, {"plain text", 1},
    };
    for (const Case& c : cases) {
        auto recorder = std::make_shared<Recorder>();
        auto parser = make<XMLParser>(std::string_view(c.xml));
        parser->delegate = recorder;
        EXPECT_FALSE(parser->parse()) << c.xml;
        ASSERT_TRUE(parser->parserError()) << c.xml;
        EXPECT_NE(parser->parserError()->code, 0);
        EXPECT_FALSE(parser->parserError()->message.empty());
        EXPECT_EQ(recorder->errors, 1) << c.xml;
        ASSERT_EQ(recorder->events.size(), c.eventsBeforeError + 1) << c.xml;
        EXPECT_EQ(recorder->events.back().rfind("error", 0), 0u) << c.xml;
    }
}

TEST(XMLParser, AbortingStopsTheParseAndAWeakDelegateMayBeGone) {
    auto recorder = std::make_shared<Recorder>();
    recorder->abortAt = "b";
    auto parser = make<XMLParser>(std::string_view("<a><b/><c/></a>"));
    parser->delegate = recorder;
    EXPECT_FALSE(parser->parse());
    EXPECT_EQ(recorder->events,
              (std::vector<std::string>{"begin", "<a q=a", "<b q=b", "error line 1"}));

    auto orphan = make<XMLParser>(std::string_view("<a/>"));
    {
        auto gone = std::make_shared<Recorder>();
        orphan->delegate = gone;
    }
    EXPECT_TRUE(orphan->parse());
}

} // namespace
