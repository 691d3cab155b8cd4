#pragma once
// Stands in for NSAnimationContext: groups of changes with a duration and a timing.
// Nothing animates here: a group runs its changes at once and then its completion,
// and the current context's duration is only kept (for code that sets 0 to ask for no
// animation). Groups nest; each has its own context.
// Thread: main thread.

#include <functional>

class NSAnimationContext {
  public:
    // The context of the innermost open group (or the default one, outside groups).
    static NSAnimationContext& current();
    static void beginGrouping();
    static void endGrouping();
    // begin, `changes` with the new group's context, end, then `completion`.
    static void runAnimationGroup(const std::function<void(NSAnimationContext&)>& changes,
                                  const std::function<void()>& completion = {});

    double duration = 0.25;
    bool allowsImplicitAnimation = false;
};
