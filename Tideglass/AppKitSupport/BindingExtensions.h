#pragma once
// Binding adapters: a binding seen as one of an optional value.
// Thread: main thread (bindings belong to the views' thread).

#include <optional>

#include "SwiftUI/State.h"

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
