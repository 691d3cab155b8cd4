#pragma once
// Stands in for NSImageView: a control that shows its cell's image.
// Left out: scaling and alignment options, editing by drag and drop, animation.
// Thread: main thread.

#include <memory>

#include "AppKit/NSControl.h"

class NSImageView : public NSControl {
  public:
    explicit NSImageView(CGRect frame = {}) : NSControl(frame) {}

    // A press on an image view is not tracked and sends no action (an editable image
    // view would take a drop, which is left out): the events go on up the responder
    // chain, as a plain view's do.
    void mouseDown(const NSEvent& event) override { NSResponder::mouseDown(event); }
    void mouseDragged(const NSEvent& event) override { NSResponder::mouseDragged(event); }
    void mouseUp(const NSEvent& event) override { NSResponder::mouseUp(event); }

    std::shared_ptr<NSImage> image() const { return cell()->image(); }
    void setImage(std::shared_ptr<NSImage> image) {
        cell()->setImage(std::move(image));
        setNeedsDisplay();
    }
};
