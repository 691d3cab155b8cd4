#pragma once
// URL: a file URL (a path on this machine) or a URL with a scheme and an
// authority ("https://host/path", "myapp://doSomething"). Components are
// kept decoded; absoluteString() percent-encodes what needs it.
//
// Thread: a value type; any thread.

#include <optional>
#include <string>
#include <string_view>

class URL {
  public:
    // Parses a URL text. Returns nullopt for an empty text or one with characters
    // a URL cannot hold unencoded (spaces, controls, non-ASCII, quotes, <>{}|\^`),
    // for a malformed percent escape or port, and for a host that decodes to a
    // space, a control character or a bracket. What parses writes back, through
    // absoluteString(), to text that parses to the same URL.
    static std::optional<URL> string(std::string_view text);
    // A file URL for an absolute path (a relative path is taken from the current
    // directory). `isDirectory` adds a trailing "/" to absoluteString().
    static URL fileURL(std::string_view path, bool isDirectory = false);

    const std::string& scheme() const { return scheme_; }
    const std::string& host() const { return host_; }
    std::optional<int> port() const { return port_; }
    // Decoded path, no trailing "/" except for the root.
    const std::string& path() const { return path_; }
    const std::optional<std::string>& query() const { return query_; }
    const std::optional<std::string>& fragment() const { return fragment_; }
    bool isFileURL() const { return scheme_ == "file"; }
    bool hasDirectoryPath() const { return directory_; }

    std::string absoluteString() const;
    // The text the URL was parsed from, exactly as given (absoluteString() for a URL
    // that was built, not parsed).
    std::string relativeString() const { return original_.empty() ? absoluteString() : original_; }

    std::string lastPathComponent() const;
    // Text after the last "." of the last component ("" when there is none).
    std::string pathExtension() const;
    // Appends one component or a relative path ("a/b"); a leading "/" is dropped.
    URL appendingPathComponent(std::string_view component, bool isDirectory = false) const;
    URL appendingPathExtension(std::string_view extension) const;
    URL deletingLastPathComponent() const;

    friend bool operator==(const URL& a, const URL& b) {
        return a.absoluteString() == b.absoluteString();
    }

  private:
    URL() = default;
    std::string scheme_;
    std::string host_;
    std::optional<int> port_;
    std::string path_;
    std::optional<std::string> query_;
    std::optional<std::string> fragment_;
    bool directory_ = false;
    bool hasAuthority_ = false;
    std::string original_;
};

// Builds a URL from parts: a scheme, a host and an absolute path (or none).
struct URLComponents {
    std::string scheme;
    std::string host;
    std::optional<int> port;
    std::string path;
    // nullopt when the scheme is empty or not a valid scheme, or when a path is
    // given that does not begin with "/".
    std::optional<URL> url() const;
};
