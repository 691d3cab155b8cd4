#pragma once
// Stands in for NSImageView: a control that shows its cell's image.
// Left out: scaling and alignment options, editing by drag and drop, animation.
// Thread: main thread.

#include <memory>

#include "AppKit/NSControl.h"

class NSImageView : public NSControl {
  public:
    explicit NSImageView(CGRect frame = {}) : NSControl(frame) {}

    std::shared_ptr<NSImage> image() const { return cell()->image; }
    void setImage(std::shared_ptr<NSImage> image) {
        cell()->image = std::move(image);
        setNeedsDisplay();
    }
};
