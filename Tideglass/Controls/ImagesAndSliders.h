#pragma once
// The library's segmented cell and pop-up items, as far as the styles and palettes
// set them up. Their drawing and behaviour come with the controls themselves.
// Thread: main thread.

#include <map>
#include <memory>
#include <optional>
#include <variant>

#include "AppKit/NSSegmentedCell.h"
#include "Combine/Combine.h"

// The segmented control's cell; the frames of its segments, by index, once laid out.
class StyledSegmentedCell : public NSSegmentedCell {
  public:
    std::map<int, CGRect> cachedSegmentFrames;
};

// An item of the library's pop-up button wrapper, standing for a value of T.
template <class T> struct PopupItem { std::optional<T> object; };
