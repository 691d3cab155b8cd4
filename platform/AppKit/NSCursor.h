#pragma once
// Stands in for NSCursor: named system cursors and cursors made from an image with
// a hot spot, the process's cursor stack (push / pop) and setting the current
// cursor. What happens is recorded for tests, and a real window shows the current
// cursor through the change hook.
// Left out: cursor rectangles (tracking areas with cursorUpdate serve), hiding,
// cursor images of the system cursors. Thread: main thread.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CoreGraphics/CGGeometry.h"
#include "Runtime/Runtime.h"

class NSImage;

class NSCursor : public NSObject {
  public:
    static const std::shared_ptr<NSCursor>& arrow();
    static const std::shared_ptr<NSCursor>& pointingHand();
    static const std::shared_ptr<NSCursor>& iBeam();
    static const std::shared_ptr<NSCursor>& crosshair();
    static const std::shared_ptr<NSCursor>& openHand();
    static const std::shared_ptr<NSCursor>& closedHand();
    static const std::shared_ptr<NSCursor>& resizeLeftRight();
    static const std::shared_ptr<NSCursor>& resizeUpDown();
    // A cursor showing `image` with its hot spot at `hotSpot` (image points, from
    // the top-left).
    static std::shared_ptr<NSCursor> withImage(std::shared_ptr<NSImage> image, CGPoint hotSpot);

    // "arrow", "pointingHand", ... for system cursors; the image's name otherwise.
    const std::string& name() const { return name_; }
    const std::shared_ptr<NSImage>& image() const { return image_; }
    CGPoint hotSpot() const { return hotSpot_; }

    // The cursor shown now (the arrow when nothing was set).
    static std::shared_ptr<NSCursor> current();
    // Makes this the current cursor.
    void set();
    // Pushes this cursor on the stack and makes it current; pop() returns to the
    // cursor below (the arrow at the bottom).
    void push();
    static void pop();

    // What was done, in order, for tests: "set <name>", "push <name>", "pop".
    static const std::vector<std::string>& history();
    static void clearHistory();
    // Called with the new current cursor whenever it changes (a real window shows it).
    static void setChangeHandler(std::function<void(const std::shared_ptr<NSCursor>&)> handler);

  protected:
    NSCursor(std::string name, std::shared_ptr<NSImage> image, CGPoint hotSpot)
        : name_(std::move(name)), image_(std::move(image)), hotSpot_(hotSpot) {}

  private:
    std::string name_;
    std::shared_ptr<NSImage> image_;
    CGPoint hotSpot_;
};
