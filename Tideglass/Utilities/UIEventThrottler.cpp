#include "Utilities/UIEventThrottler.h"

void UIEventThrottler::throttle(std::function<void()> action) {
    cancelAll();
    timer = DispatchSourceTimer::make(DispatchQueue::global(DispatchQoS::defaultQoS));
    timer->schedule(DispatchTime::now() + interval, interval, 0);
    timer->setEventHandler(std::move(action));
    timer->resume();
}

void UIEventThrottler::cancelAll() {
    if (timer) {
        timer->cancel();
        timer.reset();
    }
}
