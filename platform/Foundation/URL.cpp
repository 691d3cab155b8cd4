#include "Foundation/URL.h"

#include <cctype>
#include <string>
#include <unistd.h>

namespace {

bool isAllowedInURL(unsigned char c) {
    if (c <= 0x20 || c >= 0x7F)
        return false;
    return std::string_view("\"<>\\^`{|}").find(static_cast<char>(c)) == std::string_view::npos;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::optional<std::string> percentDecoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        int high = hexValue(text[i + 1]);
        int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

void appendEscape(std::string& out, unsigned char c) {
    static constexpr char digits[] = "0123456789ABCDEF";
    out += '%';
    out += digits[c >> 4];
    out += digits[c & 15];
}

std::string percentEncodedPath(std::string_view path) {
    static constexpr std::string_view keep = "/:@!$&'()*+,;=~-._";
    std::string out;
    for (char ch : path) {
        auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c) || keep.find(ch) != std::string_view::npos)
            out += ch;
        else
            appendEscape(out, c);
    }
    return out;
}

// A decoded host that can be written back: no spaces, controls or line breaks, and
// no bracket, which only ever encloses a whole IPv6 host.
bool isWritableHost(std::string_view host) {
    for (char ch : host) {
        auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c == 0x7F || c == '[' || c == ']')
            return false;
    }
    return true;
}

// The host as text: what would end the authority or be read as an escape is
// escaped again; a host holding ":" goes in brackets.
std::string encodedHost(std::string_view host) {
    std::string out;
    for (char ch : host) {
        auto c = static_cast<unsigned char>(ch);
        if (isAllowedInURL(c) && std::string_view("%/?#@").find(ch) == std::string_view::npos)
            out += ch;
        else
            appendEscape(out, c);
    }
    return host.find(':') != std::string_view::npos ? "[" + out + "]" : out;
}

bool isScheme(std::string_view text) {
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0])))
        return false;
    for (char c : text)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
            return false;
    return true;
}

std::string lowercased(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

std::optional<URL> URL::string(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    for (char c : text)
        if (!isAllowedInURL(static_cast<unsigned char>(c)))
            return std::nullopt;

    URL url;
    url.original_ = std::string(text);
    std::string_view rest = text;
    if (auto colon = rest.find(':');
        colon != std::string_view::npos && isScheme(rest.substr(0, colon))) {
        url.scheme_ = lowercased(rest.substr(0, colon));
        rest.remove_prefix(colon + 1);
    }
    if (auto hash = rest.find('#'); hash != std::string_view::npos) {
        url.fragment_ = std::string(rest.substr(hash + 1));
        rest = rest.substr(0, hash);
    }
    if (auto question = rest.find('?'); question != std::string_view::npos) {
        url.query_ = std::string(rest.substr(question + 1));
        rest = rest.substr(0, question);
    }
    if (rest.substr(0, 2) == "//") {
        url.hasAuthority_ = true;
        rest.remove_prefix(2);
        auto slash = rest.find('/');
        std::string_view authority = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
        if (auto at = authority.rfind('@'); at != std::string_view::npos)
            authority.remove_prefix(at + 1); // credentials are not kept
        std::string_view hostPart = authority;
        std::string_view portPart;
        if (!authority.empty() && authority.front() == '[') {
            auto close = authority.find(']');
            if (close == std::string_view::npos)
                return std::nullopt;
            hostPart = authority.substr(1, close - 1);
            std::string_view after = authority.substr(close + 1);
            if (!after.empty()) {
                if (after.front() != ':')
                    return std::nullopt;
                portPart = after.substr(1);
            }
        } else if (auto colon = authority.rfind(':'); colon != std::string_view::npos) {
            hostPart = authority.substr(0, colon);
            portPart = authority.substr(colon + 1);
        }
        if (!portPart.empty()) {
            int port = 0;
            for (char c : portPart) {
                if (!std::isdigit(static_cast<unsigned char>(c)) || port > 65535)
                    return std::nullopt;
                port = port * 10 + (c - '0');
            }
            if (port > 65535)
                return std::nullopt;
            url.port_ = port;
        }
        auto host = percentDecoded(hostPart);
        if (!host || !isWritableHost(*host))
            return std::nullopt;
        url.host_ =
            std::move(*host); // kept as written: custom schemes carry meaning in the host's case
    }
    auto path = percentDecoded(rest);
    if (!path)
        return std::nullopt;
    url.path_ = std::move(*path);
    if (url.path_.size() > 1 && url.path_.back() == '/') {
        url.directory_ = true;
        url.path_.pop_back();
    } else if (url.path_ == "/") {
        url.directory_ = true;
    }
    return url;
}

URL URL::fileURL(std::string_view path, bool isDirectory) {
    URL url;
    url.scheme_ = "file";
    url.hasAuthority_ = true;
    std::string absolute(path);
    if (absolute.empty() || absolute.front() != '/') {
        std::string cwd(4096, '\0');
        if (getcwd(cwd.data(), cwd.size()))
            cwd.resize(cwd.find('\0'));
        else
            cwd = "/";
        absolute = absolute.empty() ? cwd : cwd + (cwd.back() == '/' ? "" : "/") + absolute;
    }
    while (absolute.size() > 1 && absolute.back() == '/') {
        absolute.pop_back();
        isDirectory = true;
    }
    url.path_ = std::move(absolute);
    url.directory_ = isDirectory || url.path_ == "/";
    return url;
}

std::string URL::absoluteString() const {
    std::string out;
    if (!scheme_.empty())
        out += scheme_ + ":";
    if (hasAuthority_) {
        out += "//";
        out += encodedHost(host_);
        if (port_)
            out += ":" + std::to_string(*port_);
    }
    std::string path = percentEncodedPath(path_);
    if (!hasAuthority_) {
        // Read back, a path starting "//" would become an authority, and a ":" in
        // the first segment of a URL without a scheme would end a scheme.
        if (path.starts_with("//"))
            path.replace(1, 1, "%2F");
        if (scheme_.empty())
            for (std::size_t i = 0; i < path.size() && path[i] != '/'; ++i)
                if (path[i] == ':')
                    path.replace(i, 1, "%3A");
    }
    out += path;
    if (directory_ && path_ != "/")
        out += "/";
    if (query_)
        out += "?" + *query_;
    if (fragment_)
        out += "#" + *fragment_;
    return out;
}

std::string URL::lastPathComponent() const {
    if (path_ == "/")
        return path_;
    auto slash = path_.rfind('/');
    return slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

std::string URL::pathExtension() const {
    std::string last = lastPathComponent();
    auto dot = last.rfind('.');
    return dot == std::string::npos || dot == 0 ? std::string() : last.substr(dot + 1);
}

URL URL::appendingPathComponent(std::string_view component, bool isDirectory) const {
    URL url = *this;
    url.original_.clear(); // a new URL, no longer the parsed text
    while (!component.empty() && component.front() == '/')
        component.remove_prefix(1);
    std::string piece(component);
    while (!piece.empty() && piece.back() == '/') {
        piece.pop_back();
        isDirectory = true;
    }
    if (piece.empty())
        return url;
    if (url.path_.empty() || url.path_.back() != '/')
        url.path_ += (url.path_.empty() && !hasAuthority_) ? "" : "/";
    url.path_ += piece;
    url.directory_ = isDirectory;
    return url;
}

URL URL::appendingPathExtension(std::string_view extension) const {
    URL url = *this;
    url.original_.clear(); // a new URL, no longer the parsed text
    if (!extension.empty() && !url.path_.empty() && url.path_ != "/")
        url.path_ += "." + std::string(extension);
    return url;
}

URL URL::deletingLastPathComponent() const {
    URL url = *this;
    url.original_.clear(); // a new URL, no longer the parsed text
    auto slash = url.path_.rfind('/');
    // With no folder left: the root under an authority, else the current folder
    // ("./"); an empty directory path would be written as the root.
    if (slash == std::string::npos)
        url.path_ = hasAuthority_ ? "/" : ".";
    else
        url.path_.resize(slash == 0 ? 1 : slash);
    url.directory_ = true;
    return url;
}

std::optional<URL> URLComponents::url() const {
    if (!isScheme(scheme) || (!path.empty() && path.front() != '/'))
        return std::nullopt;
    std::string text = scheme + "://" + host;
    if (port)
        text += ":" + std::to_string(*port);
    text += percentEncodedPath(path);
    return URL::string(text);
}
