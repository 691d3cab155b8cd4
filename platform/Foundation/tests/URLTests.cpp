#include "Foundation/NSRange.h"
#include "Foundation/URL.h"

#include <gtest/gtest.h>

namespace {

TEST(URL, ParsesComponentsAndWritesThemBack) {
    struct Case {
        const char* text;
        const char* scheme;
        const char* host;
        std::optional<int> port;
        const char* path;
        const char* absolute;
    };
    const Case cases[] = {
        {"https://Example.org/feed/items.xml",
         "https",
         "Example.org",
         {},
         "/feed/items.xml",
         "https://Example.org/feed/items.xml"},
        {"https://127.0.0.1:8443/a%20b?x=1#top", "https", "127.0.0.1", 8443, "/a b",
         "https://127.0.0.1:8443/a%20b?x=1#top"},
        {"myapp://openAndUpdate", "myapp", "openAndUpdate", {}, "", "myapp://openAndUpdate"},
        {"http://[::1]:80/", "http", "::1", 80, "/", "http://[::1]:80/"},
        {"file:///tmp/My%20Folder/", "file", "", {}, "/tmp/My Folder", "file:///tmp/My%20Folder/"},
        {"https://user:pw@host.example/x",
         "https",
         "host.example",
         {},
         "/x",
         "https://host.example/x"},
        {"mailto:someone@example.org",
         "mailto",
         "",
         {},
         "someone@example.org",
         "mailto:someone@example.org"},
        {"relative/path", "", "", {}, "relative/path", "relative/path"},
    };
    for (const Case& c : cases) {
        auto url = URL::string(c.text);
        ASSERT_TRUE(url) << c.text;
        EXPECT_EQ(url->scheme(), c.scheme) << c.text;
        EXPECT_EQ(url->host(), c.host) << c.text;
        EXPECT_EQ(url->port(), c.port) << c.text;
        EXPECT_EQ(url->path(), c.path) << c.text;
        EXPECT_EQ(url->absoluteString(), c.absolute) << c.text;
    }
}

TEST(URL, RefusesTextThatIsNoURL) {
    const char* cases[] = {"", "https://exa mple.org/", "https://example.org/<x>", "caf\xC3\xA9",
                           "https://example.org/%zz", "https://example.org/%4",
                           "https://example.org:99999/", "https://example.org:8x/", "https://[::1/",
                           // hosts that decode to what cannot be written back
                           "https://exa%20mple.org/", "https://example.org%0D%0AX-Injected:%201/",
                           "https://example]org/", "https://[::1%5D]/", "https://a%5D%3Ab/"};
    for (const char* text : cases)
        EXPECT_FALSE(URL::string(text)) << text;
}

// What parses writes back to text that parses to the same URL, whatever the
// decoded parts hold.
TEST(URL, WrittenTextParsesToTheSameURL) {
    struct Case {
        const char* text;
        const char* host;
        const char* path;
        const char* absolute;
    };
    const Case cases[] = {
        {"http://a%2Fb%3Fc%23d/x", "a/b?c#d", "/x", "http://a%2Fb%3Fc%23d/x"},
        {"http://user%40a%40b@c/", "c", "/", "http://c/"},
        {"http://a%40b/", "a@b", "/", "http://a%40b/"},
        {"http://a%25b/", "a%b", "/", "http://a%25b/"},
        {"http://%C3%A9.example/", "\xC3\xA9.example", "/", "http://%C3%A9.example/"},
        {"http://a%3Ab:8/", "a:b", "/", "http://[a:b]:8/"},
        {"x:%2F%2Fhost/p", "", "//host/p", "x:/%2Fhost/p"},
        {"a%3Ab/c", "", "a:b/c", "a%3Ab/c"},
        {"/a%3Ab", "", "/a:b", "/a:b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto url = URL::string(c.text);
        ASSERT_TRUE(url);
        EXPECT_EQ(url->host(), c.host);
        EXPECT_EQ(url->path(), c.path);
        EXPECT_EQ(url->absoluteString(), c.absolute);
        auto again = URL::string(url->absoluteString());
        ASSERT_TRUE(again);
        EXPECT_EQ(again->scheme(), url->scheme());
        EXPECT_EQ(again->host(), url->host());
        EXPECT_EQ(again->path(), url->path());
        EXPECT_EQ(again->absoluteString(), url->absoluteString());
    }
    // With no folder left to remove into: the root, or the current folder.
    EXPECT_EQ(URL::string("myapp://open")->deletingLastPathComponent().absoluteString(),
              "myapp://open/");
    EXPECT_EQ(URL::string("name?q")->deletingLastPathComponent().absoluteString(), "./?q");
    EXPECT_EQ(URL::string("./?q")->path(), ".");
}

TEST(URL, FileURLsAndPathOperations) {
    URL folder = URL::fileURL("/opt/Host.app", true);
    EXPECT_TRUE(folder.isFileURL());
    EXPECT_EQ(folder.absoluteString(), "file:///opt/Host.app/");
    URL plist = folder.appendingPathComponent("Contents/Info.plist");
    EXPECT_EQ(plist.path(), "/opt/Host.app/Contents/Info.plist");
    EXPECT_EQ(plist.lastPathComponent(), "Info.plist");
    EXPECT_EQ(plist.pathExtension(), "plist");
    EXPECT_FALSE(plist.hasDirectoryPath());
    EXPECT_EQ(plist.deletingLastPathComponent().path(), "/opt/Host.app/Contents");
    EXPECT_EQ(folder.pathExtension(), "app");
    EXPECT_EQ(URL::fileURL("/a/.hidden").pathExtension(), "");
    EXPECT_EQ(URL::fileURL("/a/b").appendingPathExtension("bundle").path(), "/a/b.bundle");
    EXPECT_EQ(URL::fileURL("/").appendingPathComponent("x").path(), "/x");
    EXPECT_EQ(URL::fileURL("/x").deletingLastPathComponent().path(), "/");
    EXPECT_EQ(URL::fileURL("/with space/ü").absoluteString(), "file:///with%20space/%C3%BC");
    EXPECT_EQ(URL::string(URL::fileURL("/with space/ü").absoluteString())->path(), "/with space/ü");
    EXPECT_EQ(URL::fileURL("relative").path().front(), '/');
    EXPECT_EQ(
        *URL::string("https://h.example/a")->appendingPathComponent("b/").absoluteString().rbegin(),
        '/');
    EXPECT_EQ(URL::fileURL("/a/b"), *URL::string("file:///a/b"));
}

TEST(URL, ComponentsBuildAURLOrNothing) {
    auto url = URLComponents{"https", "updates.example.org", {}, "/feed/items.xml"}.url();
    ASSERT_TRUE(url);
    EXPECT_EQ(url->absoluteString(), "https://updates.example.org/feed/items.xml");
    EXPECT_EQ(URLComponents({"https", "h.example", 8443, "/a b"}).url()->absoluteString(),
              "https://h.example:8443/a%20b");
    EXPECT_FALSE(URLComponents({"", "h.example", {}, "/x"}).url());
    EXPECT_FALSE(URLComponents({"1https", "h.example", {}, "/x"}).url());
    EXPECT_FALSE(URLComponents({"https", "bad host", {}, "/x"}).url());
    EXPECT_FALSE(URLComponents({"https", "h.example", {}, "no-slash"}).url());
}

} // namespace

TEST(NSRangeTest, StringLengthsCountUTF16Units) {
    EXPECT_EQ(utf16Length(""), 0u);
    EXPECT_EQ(utf16Length("abc"), 3u);
    EXPECT_EQ(utf16Length("caf\xC3\xA9"), 4u);        // é: one unit
    EXPECT_EQ(utf16Length("\xF0\x9F\x8E\xB5 x"), 4u); // a note beyond the basic plane: two
    EXPECT_EQ((NSRange{0, 3}), (NSRange{0, 3}));
}
