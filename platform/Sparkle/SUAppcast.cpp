#include "Sparkle/SUAppcast.h"

#include <cctype>

#include "Foundation/XMLParser.h"

namespace SUAppcast {
namespace {

std::string trimmed(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r\n"), b = s.find_last_not_of(" \t\r\n");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

class Reader : public XMLParserDelegate {
  public:
    Parsed result;
    void parserDidStartElement(XMLParser&, const std::string& name,
                               const std::optional<std::string>&, const std::optional<std::string>&,
                               const XMLAttributes& attributes) override {
        if (name == "item") {
            inItem = true;
            itemVersion.clear();
            enclosureVersion.clear();
            ++result.items;
        } else if (inItem && name == "sparkle:shortVersionString") {
            collecting = true;
            text.clear();
        } else if (inItem && name == "enclosure") {
            if (auto it = attributes.find("sparkle:shortVersionString"); it != attributes.end())
                enclosureVersion = trimmed(it->second);
        }
    }
    void parserFoundCharacters(XMLParser&, const std::string& characters) override {
        if (collecting)
            text += characters;
    }
    void parserDidEndElement(XMLParser&, const std::string& name, const std::optional<std::string>&,
                             const std::optional<std::string>&) override {
        if (collecting && name == "sparkle:shortVersionString") {
            collecting = false;
            itemVersion = trimmed(text);
        } else if (inItem && name == "item") {
            inItem = false;
            const std::string& v = itemVersion.empty() ? enclosureVersion : itemVersion;
            if (!v.empty())
                result.versions.push_back(v);
        }
    }

  private:
    bool inItem = false, collecting = false;
    std::string text, itemVersion, enclosureVersion;
};

// The next part of a version: a run of digits, a run of other characters, or a dot.
std::string_view nextPart(std::string_view& s) {
    if (s.empty())
        return {};
    size_t n = 1;
    if (std::isdigit(static_cast<unsigned char>(s[0])))
        while (n < s.size() && std::isdigit(static_cast<unsigned char>(s[n])))
            ++n;
    else if (s[0] != '.')
        while (n < s.size() && s[n] != '.' && !std::isdigit(static_cast<unsigned char>(s[n])))
            ++n;
    std::string_view part = s.substr(0, n);
    s.remove_prefix(n);
    return part;
}

int compareNumbers(std::string_view a, std::string_view b) {
    while (a.size() > 1 && a[0] == '0')
        a.remove_prefix(1);
    while (b.size() > 1 && b[0] == '0')
        b.remove_prefix(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : a.compare(b) > 0 ? 1 : 0;
}

bool isNumber(std::string_view p) {
    return !p.empty() && std::isdigit(static_cast<unsigned char>(p[0]));
}

} // namespace

Parsed parse(const Data& feed) {
    auto reader = std::make_shared<Reader>();
    auto parser = make<XMLParser>(feed);
    parser->delegate = reader;
    reader->result.wellFormed = parser->parse();
    return reader->result;
}

int compareVersions(std::string_view a, std::string_view b) {
    for (;;) {
        std::string_view pa = nextPart(a), pb = nextPart(b);
        if (pa.empty() && pb.empty())
            return 0;
        // A missing part is 0 ("1.0" is "1.0.0"); a dot against a number: the number's
        // version is the longer one.
        if (pa == ".")
            pa = nextPart(a);
        if (pb == ".")
            pb = nextPart(b);
        if (pa.empty() && pb.empty())
            return 0;
        std::string_view na = pa.empty() ? "0" : pa, nb = pb.empty() ? "0" : pb;
        if (isNumber(na) && isNumber(nb)) {
            if (int c = compareNumbers(na, nb))
                return c;
        } else if (isNumber(na) != isNumber(nb)) {
            // "1.0" is newer than "1.0b1": a number beats text (a pre-release) there.
            return isNumber(na) ? 1 : -1;
        } else if (int c = na.compare(nb)) {
            return c < 0 ? -1 : 1;
        }
    }
}

std::optional<std::string> newest(const std::vector<std::string>& versions) {
    std::optional<std::string> best;
    for (const auto& v : versions)
        if (!best || compareVersions(v, *best) > 0)
            best = v;
    return best;
}

} // namespace SUAppcast
