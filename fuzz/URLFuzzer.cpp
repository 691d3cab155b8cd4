// URL texts: a URL that parses writes back to text that parses to the same URL, and
// so do a file URL of the same bytes as a path and the URL with a component added.
#include "Foundation/URL.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void fault(const char* what, const URL& url) {
    std::fprintf(stderr, "%s: %s\n", what, url.absoluteString().c_str());
    std::abort();
}

bool sameParts(const URL& a, const URL& b) {
    return a.scheme() == b.scheme() && a.host() == b.host() && a.port() == b.port() &&
           a.path() == b.path() && a.query() == b.query() && a.fragment() == b.fragment() &&
           a.hasDirectoryPath() == b.hasDirectoryPath();
}

// Parsing the written text gives the same URL, part for part.
void requireRoundTrip(const URL& url) {
    const std::string text = url.absoluteString();
    std::optional<URL> again = URL::string(text);
    if (!again)
        fault("the written URL does not parse", url);
    if (again->absoluteString() != text)
        fault("the written URL reads back as another text", url);
    if (!sameParts(url, *again))
        fault("the written URL reads back with other parts", url);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (std::optional<URL> url = URL::string(text)) {
        requireRoundTrip(*url);
        const std::size_t cut = size / 2;
        requireRoundTrip(url->appendingPathComponent(text.substr(cut)));
        requireRoundTrip(url->deletingLastPathComponent());
    }
    if (!text.empty() && text.front() == '/' && text.find('\0') == std::string_view::npos) {
        requireRoundTrip(URL::fileURL(text));
    }
    return 0;
}
