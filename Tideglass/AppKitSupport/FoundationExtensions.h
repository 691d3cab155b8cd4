#pragma once
// Small Foundation extensions the library and its users share: a bundle's version
// and name strings, collection functions, and file-URL functions.
// Thread: any (values only); the bundle is read-only once opened.

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <ranges>
#include <string>
#include <vector>

#include "Foundation/Bundle.h"
#include "Foundation/URL.h"

// Info-dictionary strings; none for a missing key or a value that is not a string.
std::optional<std::string> shortVersion(const Bundle& bundle); // CFBundleShortVersionString
std::optional<std::string> version(const Bundle& bundle);      // CFBundleVersion
std::optional<std::string> name(const Bundle& bundle);         // CFBundleName
std::optional<std::string> displayName(const Bundle& bundle);  // CFBundleDisplayName
std::optional<std::string> teamIdentifierPrefix(const Bundle& bundle);

// Whether `index` is a valid position: 0 ≤ index < size.
template <class C> bool hasElement(const C& collection, std::ptrdiff_t index) {
    return index >= 0 && index < std::ptrdiff_t(std::size(collection));
}
// The valid positions, startIndex ..< endIndex: the offsets 0 ..< size, empty for an
// empty collection.
template <class C> auto range(const C& collection) {
    return std::views::iota(std::ptrdiff_t{0}, std::ptrdiff_t(std::size(collection)));
}
// The offsets, in order, of the elements that satisfy the predicate (which may throw).
template <class C, class P> std::vector<size_t> indexes(const C& collection, P predicate) {
    std::vector<size_t> found;
    size_t i = 0;
    for (const auto& element : collection) {
        if (predicate(element))
            found.push_back(i);
        ++i;
    }
    return found;
}
// The elements (shared objects) that are of type T, in order.
template <class T, class C> std::vector<std::shared_ptr<T>> downcastEach(const C& collection) {
    std::vector<std::shared_ptr<T>> cast;
    for (const auto& element : collection)
        if (auto t = std::dynamic_pointer_cast<T>(element))
            cast.push_back(std::move(t));
    return cast;
}
// For each element, the value that `key` reads from it when that is of type T.
template <class T, class C, class K>
std::vector<std::shared_ptr<T>> downcastEach(const C& collection, K key) {
    std::vector<std::shared_ptr<T>> cast;
    for (const auto& element : collection)
        if (auto t = std::dynamic_pointer_cast<T>(std::invoke(key, element)))
            cast.push_back(std::move(t));
    return cast;
}

// The path of a file URL relative to a base directory, on standardised components:
// one ".." per base component after the common prefix, then the rest of the
// receiver's components. None unless both are file URLs.
std::optional<std::string> relativePath(const URL& url, const URL& from);
// A file URL made from relativePath against the base; none when there is none.
std::optional<URL> relativeURL(const URL& url, const URL& from);
// The last component with every ".<extension>" removed ("archive.tar.gz" → "archive.tar").
std::string fileName(const URL& url);
// The path with one leading "/" removed.
std::string displayablePath(const URL& url);
// The modification date of the file (a calendar time, not the run loop's clock);
// none when it cannot be read.
std::optional<std::chrono::system_clock::time_point> lastModifiedFileDate(const URL& url);
