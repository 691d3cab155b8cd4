#pragma once
// The gallery's sheets: each a grid of cells, one control in one state per cell.
// A cell makes its view, and may then put it in a state with events (press and
// hold, type into a label) before it is drawn. Thread: main.

#include "SwiftUI/SwiftUI.h"

#include <functional>
#include <string>
#include <vector>

class HostedView;

struct GalleryCell {
    std::string caption;
    std::function<SwiftUI::AnyView()> view;
    CGSize size;
    std::function<void(HostedView&)> pose; // none: as it comes
};

struct GallerySheet {
    std::string name;
    int columns;
    std::vector<GalleryCell> cells;
};

std::vector<GallerySheet> gallerySheets();
