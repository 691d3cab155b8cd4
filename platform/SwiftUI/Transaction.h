#pragma once
// The transaction in force while the view state changes: whether the change may be
// animated. This stand-in animates nothing, so a transaction only says what a change
// asked for (withTransaction sets it for the changes made in its body, nested ones
// inside outer ones). Thread: main.

#include <functional>

namespace SwiftUI {

struct Transaction {
    bool disablesAnimations = false;

    // The transaction of the change being made now (a default one outside any).
    static const Transaction& current();
};

// Runs `body` with `transaction` in force.
void withTransaction(const Transaction& transaction, const std::function<void()>& body);

} // namespace SwiftUI
