#pragma once
// The gallery's sheets: each a grid of cells, one control in one state per cell.
// A cell makes its view, and may then put it in a state with events (press and
// hold, type into a label) before it is drawn. Thread: main.

#include "SwiftUI/SwiftUI.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class ControlHarness;
class NSView;

// A cell shows declarative views (`view`) or, when there are none, an AppKit control
// held at its frame (`control`).
struct GalleryCell {
    std::string caption;
    std::function<SwiftUI::AnyView()> view;
    CGSize size;
    std::function<void(ControlHarness&)> pose; // none: as it comes
    std::function<std::shared_ptr<NSView>()> control;
};

struct GallerySheet {
    std::string name;
    int columns;
    std::vector<GalleryCell> cells;
};

std::vector<GallerySheet> gallerySheets();
