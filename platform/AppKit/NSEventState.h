#pragma once
// Internal to AppKit: the process-wide input state behind NSEvent's class
// properties, updated by NSWindow as it dispatches events. Main thread writes.

#include <cstdint>

namespace NSEventState {
void dispatched(uint64_t modifierFlags);
void setButton(int button, bool down);
} // namespace NSEventState
