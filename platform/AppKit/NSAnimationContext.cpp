#include "AppKit/NSAnimationContext.h"

#include <vector>

#include "Runtime/Runtime.h"

namespace {
std::vector<NSAnimationContext>& groups() {
    static std::vector<NSAnimationContext> stack{NSAnimationContext{}};
    return stack;
}
} // namespace

NSAnimationContext& NSAnimationContext::current() {
    Runtime::assertMainThread("NSAnimationContext.current");
    return groups().back();
}

void NSAnimationContext::beginGrouping() {
    Runtime::assertMainThread("NSAnimationContext.beginGrouping");
    groups().push_back(groups().back());
}

void NSAnimationContext::endGrouping() {
    Runtime::assertMainThread("NSAnimationContext.endGrouping");
    if (groups().size() > 1)
        groups().pop_back();
}

void NSAnimationContext::runAnimationGroup(const std::function<void(NSAnimationContext&)>& changes,
                                           const std::function<void()>& completion) {
    beginGrouping();
    if (changes)
        changes(current());
    endGrouping();
    if (completion)
        completion();
}
