#include "Foundation/PropertyList.h"

#include "Foundation/XMLParser.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <unistd.h>

std::optional<std::int64_t> PropertyListValue::integer() const {
    if (auto* v = std::get_if<std::int64_t>(&storage))
        return *v;
    return std::nullopt;
}

std::optional<double> PropertyListValue::number() const {
    if (auto* v = std::get_if<std::int64_t>(&storage))
        return static_cast<double>(*v);
    if (auto* v = std::get_if<double>(&storage))
        return *v;
    return std::nullopt;
}

std::optional<bool> PropertyListValue::boolean() const {
    if (auto* v = std::get_if<bool>(&storage))
        return *v;
    return std::nullopt;
}

const PropertyListValue* PropertyListValue::operator[](const std::string& key) const {
    auto* entries = dictionary();
    if (!entries)
        return nullptr;
    auto it = entries->find(key);
    return it == entries->end() ? nullptr : &it->second;
}

namespace {

constexpr std::string_view base64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string encodeBase64(const Data& bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        // Three bytes become four 6-bit digits; '=' pads a short final group.
        std::uint32_t group = std::uint32_t{bytes[i]} << 16;
        if (i + 1 < bytes.size())
            group |= std::uint32_t{bytes[i + 1]} << 8;
        if (i + 2 < bytes.size())
            group |= bytes[i + 2];
        out += base64Alphabet[(group >> 18) & 63];
        out += base64Alphabet[(group >> 12) & 63];
        out += i + 1 < bytes.size() ? base64Alphabet[(group >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? base64Alphabet[group & 63] : '=';
    }
    return out;
}

std::optional<Data> decodeBase64(std::string_view text) {
    Data out;
    std::uint32_t group = 0;
    int digits = 0;
    int padding = 0;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
            continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        auto position = base64Alphabet.find(c);
        if (position == std::string_view::npos || padding > 0)
            return std::nullopt;
        group = (group << 6) | static_cast<std::uint32_t>(position);
        if (++digits == 4) {
            out.push_back(static_cast<std::uint8_t>(group >> 16));
            out.push_back(static_cast<std::uint8_t>(group >> 8));
            out.push_back(static_cast<std::uint8_t>(group));
            group = 0;
            digits = 0;
        }
    }
    if (digits == 1 || padding > 2)
        return std::nullopt;
    if (digits == 2) {
        out.push_back(static_cast<std::uint8_t>(group >> 4));
    } else if (digits == 3) {
        out.push_back(static_cast<std::uint8_t>(group >> 10));
        out.push_back(static_cast<std::uint8_t>(group >> 2));
    }
    return out;
}

std::string_view trimmed(std::string_view text) {
    const char* space = " \t\n\r";
    auto first = text.find_first_not_of(space);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

std::optional<std::int64_t> parseInteger(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<double> parseReal(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    // from_chars ignores the locale: a decimal point is always '.'.
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Builds the value tree from the parser's events.
class PlistReader : public XMLParserDelegate {
  public:
    std::optional<PropertyListValue> root;
    std::string failure;

    void parserDidStartElement(XMLParser& parser, const std::string& name,
                               const std::optional<std::string>&, const std::optional<std::string>&,
                               const XMLAttributes&) override {
        if (capturing)
            return fail(parser, "element <" + name + "> inside a text value");
        if (name == "plist") {
            if (sawPlist || !stack.empty())
                return fail(parser, "nested <plist>");
            sawPlist = true;
            return;
        }
        if (!sawPlist)
            return fail(parser, "the document is not a property list");
        if ((name == "dict" || name == "array") &&
            stack.size() >= PropertyListSerialization::maxNestingDepth)
            return fail(parser, "containers nested more than " +
                                    std::to_string(PropertyListSerialization::maxNestingDepth) +
                                    " deep");
        if (name == "dict") {
            stack.emplace_back().value = PropertyListDictionary{};
        } else if (name == "array") {
            stack.emplace_back().value = PropertyListArray{};
        } else if (name == "key") {
            if (stack.empty() || !stack.back().value.dictionary() || stack.back().pendingKey)
                return fail(parser, "<key> outside a dictionary or without a value");
            startText(name);
        } else if (name == "string" || name == "integer" || name == "real" || name == "data" ||
                   name == "true" || name == "false") {
            startText(name);
        } else {
            fail(parser, "unknown element <" + name + ">");
        }
    }

    void parserFoundCharacters(XMLParser& parser, const std::string& characters) override {
        if (capturing)
            text += characters;
        else if (!trimmed(characters).empty())
            fail(parser, "text outside a value");
    }

    void parserDidEndElement(XMLParser& parser, const std::string& name,
                             const std::optional<std::string>&,
                             const std::optional<std::string>&) override {
        if (name == "plist") {
            if (!root)
                fail(parser, "empty property list");
            return;
        }
        if (name == "dict" || name == "array") {
            Frame frame = std::move(stack.back());
            stack.pop_back();
            if (frame.pendingKey)
                return fail(parser, "key \"" + *frame.pendingKey + "\" has no value");
            return deliver(parser, std::move(frame.value));
        }
        capturing = false;
        if (name == "key") {
            stack.back().pendingKey = text;
        } else if (name == "string") {
            deliver(parser, PropertyListValue(text));
        } else if (name == "true" || name == "false") {
            if (!trimmed(text).empty())
                return fail(parser, "<" + name + "> holds text");
            deliver(parser, PropertyListValue(name == "true"));
        } else if (name == "integer") {
            if (auto v = parseInteger(text))
                deliver(parser, PropertyListValue(*v));
            else
                fail(parser, "not an integer: \"" + text + "\"");
        } else if (name == "real") {
            if (auto v = parseReal(text))
                deliver(parser, PropertyListValue(*v));
            else
                fail(parser, "not a real number: \"" + text + "\"");
        } else if (name == "data") {
            if (auto v = decodeBase64(text))
                deliver(parser, PropertyListValue(std::move(*v)));
            else
                fail(parser, "malformed base64 data");
        }
    }

    void parserParseErrorOccurred(XMLParser&, const XMLParserError& error) override {
        if (failure.empty())
            failure = error.message + " at line " + std::to_string(error.line);
    }

  private:
    struct Frame {
        PropertyListValue value;
        std::optional<std::string> pendingKey;
    };
    std::vector<Frame> stack;
    std::string text;
    bool capturing = false;
    bool sawPlist = false;

    void startText(const std::string&) {
        capturing = true;
        text.clear();
    }

    void fail(XMLParser& parser, std::string reason) {
        if (failure.empty())
            failure = std::move(reason);
        parser.abortParsing();
    }

    void deliver(XMLParser& parser, PropertyListValue value) {
        if (stack.empty()) {
            if (root)
                return fail(parser, "more than one top-level value");
            root = std::move(value);
            return;
        }
        Frame& parent = stack.back();
        if (auto* items = parent.value.array()) {
            items->push_back(std::move(value));
        } else if (auto* entries = parent.value.dictionary()) {
            if (!parent.pendingKey)
                return fail(parser, "dictionary value without a key");
            (*entries)[*parent.pendingKey] = std::move(value);
            parent.pendingKey.reset();
        }
    }
};

bool escapeInto(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        // A raw carriage return would come back as a newline.
        case '\r':
            out += "&#13;";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n')
                return false;
            out += c;
        }
    }
    return true;
}

bool writeValue(std::string& out, const PropertyListValue& value, int depth) {
    std::string indent(static_cast<std::size_t>(depth), '\t');
    out += indent;
    switch (value.kind()) {
    case PropertyListValue::Kind::string:
        out += "<string>";
        if (!escapeInto(out, *value.string()))
            return false;
        out += "</string>\n";
        return true;
    case PropertyListValue::Kind::integer:
        out += "<integer>" + std::to_string(*value.integer()) + "</integer>\n";
        return true;
    case PropertyListValue::Kind::real: {
        char buffer[64];
        auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, *value.number());
        out += "<real>" + std::string(buffer, end) + "</real>\n";
        return true;
    }
    case PropertyListValue::Kind::boolean:
        out += *value.boolean() ? "<true/>\n" : "<false/>\n";
        return true;
    case PropertyListValue::Kind::data:
        out += "<data>" + encodeBase64(*value.data()) + "</data>\n";
        return true;
    case PropertyListValue::Kind::array: {
        const auto& items = *value.array();
        if (items.empty()) {
            out += "<array/>\n";
            return true;
        }
        out += "<array>\n";
        for (const auto& item : items)
            if (!writeValue(out, item, depth + 1))
                return false;
        out += indent + "</array>\n";
        return true;
    }
    case PropertyListValue::Kind::dictionary: {
        const auto& entries = *value.dictionary();
        if (entries.empty()) {
            out += "<dict/>\n";
            return true;
        }
        out += "<dict>\n";
        for (const auto& [key, item] : entries) {
            out += indent + "\t<key>";
            if (!escapeInto(out, key))
                return false;
            out += "</key>\n";
            if (!writeValue(out, item, depth + 1))
                return false;
        }
        out += indent + "</dict>\n";
        return true;
    }
    }
    return false;
}

} // namespace

namespace PropertyListSerialization {

std::optional<PropertyListValue> read(std::string_view xml, std::string* error) {
    auto reader = std::make_shared<PlistReader>();
    auto parser = make<XMLParser>(xml);
    parser->delegate = reader;
    bool ok = parser->parse();
    if (ok && reader->failure.empty() && reader->root)
        return std::move(reader->root);
    if (error)
        *error = reader->failure.empty() ? "empty property list" : reader->failure;
    return std::nullopt;
}

std::optional<PropertyListValue> readFile(const std::string& path, std::string* error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        if (error)
            *error = "cannot open " + path;
        return std::nullopt;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    return read(contents.str(), error);
}

std::optional<std::string> write(const PropertyListValue& value) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n";
    if (!writeValue(out, value, 0))
        return std::nullopt;
    out += "</plist>\n";
    return out;
}

bool writeFile(const std::string& path, const PropertyListValue& value, std::string* error) {
    auto fail = [&](std::string reason) {
        if (error)
            *error = std::move(reason);
        return false;
    };
    auto xml = write(value);
    if (!xml)
        return fail("a string holds a character that XML cannot carry");
    std::string temporary = path + ".XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0)
        return fail("cannot create a file beside " + path);
    std::size_t written = 0;
    while (written < xml->size()) {
        ssize_t n = ::write(fd, xml->data() + written, xml->size() - written);
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    bool complete = written == xml->size();
    bool ok = ::close(fd) == 0 && complete;
    if (!ok || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return fail("cannot write " + path);
    }
    return true;
}

} // namespace PropertyListSerialization
