#pragma once
// Small helpers shared by the plug-in framework's views: clamping to a range,
// element access that tolerates a bad index, two-digit frame numbers, text case and
// the maker's web-site address. Thread: any; pure except companySite (a constant).

#include "Foundation/URL.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <optional>
#include <string>

// The three kinds of range a value can be clamped to: lower...upper, lower..., ...upper.
template <class T> struct ClosedRange { T lower, upper; };
template <class T> struct RangeFrom { T lower; };
template <class T> struct RangeThrough { T upper; };
template <class T> RangeFrom<T> atLeast(T lower) {
    return {lower};
}
template <class T> RangeThrough<T> atMost(T upper) {
    return {upper};
}

// Raised to the lower bound, then lowered to the upper bound.
template <class T> T clamped(const T& value, const ClosedRange<T>& range) {
    return std::min(std::max(value, range.lower), range.upper);
}
template <class T> T clamped(const T& value, const RangeFrom<T>& range) {
    return std::max(value, range.lower);
}
template <class T> T clamped(const T& value, const RangeThrough<T>& range) {
    return std::min(value, range.upper);
}

// The element at `index` when the collection has one there, else none.
template <class C>
std::optional<typename C::value_type> safe(const C& collection, std::ptrdiff_t index) {
    if (index < 0 || index >= static_cast<std::ptrdiff_t>(std::size(collection)))
        return std::nullopt;
    return *std::next(std::begin(collection), index);
}
template <class C>
std::optional<typename C::value_type> safe(const std::optional<C>& collection,
                                           std::ptrdiff_t index) {
    if (!collection)
        return std::nullopt;
    return safe(*collection, index);
}

// Decimal text, with a leading "0" for values of 9 and below: 7 → "07", 10 → "10".
std::string paddedIndexString(long value);

// Upper- and lower-cased text (UTF-8, Unicode case mapping).
std::string uppercased(const std::string& text);
std::string lowercased(const std::string& text);

// The maker's web site, made once on first use.
const URL& companySite();
