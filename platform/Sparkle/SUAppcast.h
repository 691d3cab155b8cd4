#pragma once
// An update feed (appcast) as the updater reads it: the version strings of its items —
// each item's <sparkle:shortVersionString> element, else the sparkle:shortVersionString
// attribute of its enclosure — and the comparison of version strings
// (SUStandardVersionComparator: dotted parts, numbers compared as numbers, a missing
// part counts as 0, text parts after numbers compared as text).
// Thread: pure; any thread.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Foundation/Data.h"

namespace SUAppcast {

struct Parsed {
    bool wellFormed = false;
    size_t items = 0;
    std::vector<std::string> versions; // in document order, trimmed, non-empty
};
Parsed parse(const Data& feed);

// < 0, 0 or > 0 as a is older than, the same as or newer than b.
int compareVersions(std::string_view a, std::string_view b);
// The newest of the versions, the first among equals; none for an empty list.
std::optional<std::string> newest(const std::vector<std::string>& versions);

} // namespace SUAppcast
