#pragma once
// Binding adapters: a binding seen as one of an optional value, and one whose writes
// ask for no animation.
// Thread: main thread (bindings belong to the views' thread).

#include <optional>

#include "SwiftUI/State.h"
#include "SwiftUI/Transaction.h"

// Reads give the wrapped value; writing a value stores it, writing none is ignored.
template <class T>
SwiftUI::Binding<std::optional<T>> asOptional(const SwiftUI::Binding<T>& binding) {
    return SwiftUI::Binding<std::optional<T>>([binding] { return std::optional<T>(binding.get()); },
                                              [binding](const std::optional<T>& value) {
                                                  Runtime::assertMainThread("Tideglass/Binding");
                                                  if (value)
                                                      binding.set(*value);
                                              });
}

// Reads unchanged; each write happens in a transaction that disables animations.
template <class T> SwiftUI::Binding<T> disablingAnimations(const SwiftUI::Binding<T>& binding) {
    return SwiftUI::Binding<T>([binding] { return binding.get(); },
                               [binding](const T& value) {
                                   Runtime::assertMainThread("Tideglass/Binding");
                                   SwiftUI::Transaction transaction;
                                   transaction.disablesAnimations = true;
                                   SwiftUI::withTransaction(transaction,
                                                            [&] { binding.set(value); });
                               });
}
