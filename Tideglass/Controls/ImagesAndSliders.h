#pragma once
// The library's pop-up items, as far as the styles and palettes set them up. Their
// drawing and behaviour come with the controls themselves.
// Thread: main thread.

#include <map>
#include <memory>
#include <optional>
#include <variant>

#include "Combine/Combine.h"

// An item of the library's pop-up button wrapper, standing for a value of T.
template <class T> struct PopupItem { std::optional<T> object; };
