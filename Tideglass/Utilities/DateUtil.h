#pragma once
// Comparisons of elapsed time, and angle helpers. Namespaces of static functions.
// Thread: any.

#include <optional>

#include "Foundation/Date.h"

struct DateUtil {
    DateUtil() = delete;
    // Whether |now − date| exceeds `seconds`; `ifDateNil` when there is no date.
    static bool hasMoreThan(double seconds, std::optional<Date> passedSince, bool ifDateNil);
    // Whether |now − date| is strictly below `seconds`; `ifDateNil` when there is no date.
    static bool hasLessThan(double seconds, std::optional<Date> passedSince, bool ifDateNil);
};

struct DegreeUtil {
    DegreeUtil() = delete;
    // The angle in (−180, 180]: r = fmod(degrees, 360); r − 360 when r > 180, r + 360
    // when r ≤ −180.
    static double normalise(double degrees);
    // degrees · π / 180, the product first.
    static double degreesToRadians(double degrees);
};
