#pragma once
// Time on the main run loop's clock: TimeInterval (seconds) and Date, a point on
// that clock's time line. With the system clock the time line is monotonic (not
// the calendar); with a test clock it is whatever the test sets.
//
// Thread: any.

#include <compare>

using TimeInterval = double;

struct Date {
    TimeInterval seconds = 0; // on the clock's time line

    // The main run loop's clock, now.
    static Date now();

    TimeInterval timeIntervalSince(Date other) const { return seconds - other.seconds; }
    TimeInterval timeIntervalSinceNow() const { return seconds - now().seconds; }
    Date addingTimeInterval(TimeInterval interval) const { return Date{seconds + interval}; }

    friend auto operator<=>(const Date&, const Date&) = default;
};
