#include "Foundation/ProcessInfo.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(ProcessInfo, ReportsTheSystemVersionTheEnvironmentNamesElse15) {
    struct Case {
        const char* named; // nullptr: unset
        OperatingSystemVersion version;
        bool atLeast26;
    } cases[] = {
        {nullptr, {15, 0, 0}, false},  {"26", {26, 0, 0}, true},    {"26.1", {26, 1, 0}, true},
        {"14.2.1", {14, 2, 1}, false}, {"junk", {15, 0, 0}, false},
    };
    for (const auto& c : cases) {
        if (c.named)
            setenv("EMBERFALL_SYSTEM_VERSION", c.named, 1);
        else
            unsetenv("EMBERFALL_SYSTEM_VERSION");
        auto v = ProcessInfo::processInfo().operatingSystemVersion();
        EXPECT_EQ(v.majorVersion, c.version.majorVersion) << (c.named ? c.named : "unset");
        EXPECT_EQ(v.minorVersion, c.version.minorVersion);
        EXPECT_EQ(v.patchVersion, c.version.patchVersion);
        EXPECT_EQ(ProcessInfo::processInfo().isOperatingSystemAtLeast({26, 0, 0}), c.atLeast26);
    }
    setenv("EMBERFALL_SYSTEM_VERSION", "14.2.1", 1);
    EXPECT_TRUE(ProcessInfo::processInfo().isOperatingSystemAtLeast({14, 2, 0}));
    EXPECT_FALSE(ProcessInfo::processInfo().isOperatingSystemAtLeast({14, 3, 0}));
    unsetenv("EMBERFALL_SYSTEM_VERSION");
}

} // namespace
