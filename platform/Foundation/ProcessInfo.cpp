#include "Foundation/ProcessInfo.h"

#include <cstdio>
#include <cstdlib>
#include <tuple>

ProcessInfo& ProcessInfo::processInfo() {
    static ProcessInfo info;
    return info;
}

OperatingSystemVersion ProcessInfo::operatingSystemVersion() const {
    OperatingSystemVersion version{15, 0, 0};
    if (const char* named = std::getenv("EMBERFALL_SYSTEM_VERSION")) {
        OperatingSystemVersion parsed;
        if (std::sscanf(named, "%d.%d.%d", &parsed.majorVersion, &parsed.minorVersion,
                        &parsed.patchVersion) >= 1)
            version = parsed;
    }
    return version;
}

bool ProcessInfo::isOperatingSystemAtLeast(OperatingSystemVersion wanted) const {
    OperatingSystemVersion v = operatingSystemVersion();
    return std::tie(v.majorVersion, v.minorVersion, v.patchVersion) >=
           std::tie(wanted.majorVersion, wanted.minorVersion, wanted.patchVersion);
}
