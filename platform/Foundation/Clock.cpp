#include "Foundation/Clock.h"

#include "Foundation/RunLoop.h"

#include <chrono>

TimeInterval SystemClock::now() const {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

Date Date::now() {
    return Date{RunLoop::main().now()};
}
