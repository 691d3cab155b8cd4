#pragma once
// What the fake extension's principal object offers its test host.

#include "Foundation/RunLoop.h"
#include "Runtime/Runtime.h"

#include <functional>
#include <string>

class FakeService : public NSObject {
  public:
    virtual bool createdOnMainThread() const = 0;
    // The main run loop as the extension's code sees it.
    virtual RunLoop* extensionRunLoop() const = 0;
    // Schedules `tick` on a one-shot timer from inside the extension.
    virtual void scheduleTick(double seconds, std::function<void()> tick) = 0;
    // The bundle that holds the extension's code, as the extension finds it.
    virtual std::string codeBundlePath() const = 0;
};
