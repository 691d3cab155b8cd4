#pragma once
// What the update check found: the newer version, as the feed lists it.

#include <string>

struct UpdateAvailableDetails {
    std::string newVersion;
    bool operator==(const UpdateAvailableDetails&) const = default;
};
