#pragma once
// What the update check found: the newer version, as the feed lists it. A value
// type: any thread may copy it; the view model stores it on the main thread.

#include <string>

struct UpdateAvailableDetails {
    std::string newVersion;
    bool operator==(const UpdateAvailableDetails&) const = default;
};
