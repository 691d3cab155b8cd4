#include "Utilities/DateUtil.h"

#include <cmath>
#include <numbers>

bool DateUtil::hasMoreThan(double seconds, std::optional<Date> passedSince, bool ifDateNil) {
    if (!passedSince)
        return ifDateNil;
    return std::abs(Date::now().timeIntervalSince(*passedSince)) > seconds;
}

bool DateUtil::hasLessThan(double seconds, std::optional<Date> passedSince, bool ifDateNil) {
    if (!passedSince)
        return ifDateNil;
    return std::abs(Date::now().timeIntervalSince(*passedSince)) < seconds;
}

double DegreeUtil::normalise(double degrees) {
    double r = std::fmod(degrees, 360.0); // remainder with the dividend's sign
    if (r > 180)
        return r - 360;
    if (r <= -180)
        return r + 360;
    return r;
}

double DegreeUtil::degreesToRadians(double degrees) {
    return degrees * std::numbers::pi / 180;
}
