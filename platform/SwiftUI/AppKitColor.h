#pragma once
// AppKit's colour initialiser from a view-layer colour (NSColor(Color)): a new
// AppKit colour object of the same colour, an asset colour still labelled with its
// asset's name. Thread: main (an asset colour reads its catalogue).

#include <memory>

#include "AppKit/NSColor.h"
#include "SwiftUI/Color.h"

namespace SwiftUI {

inline std::shared_ptr<NSColor> makeNSColor(const ColorValue& color) {
    return NSColor::withCGColor(color.resolve());
}

} // namespace SwiftUI
