#pragma once
// The window the library offers for sheets: resizable, without a title bar (its
// content runs under where the title bar would be), able to take keyboard focus,
// and ending itself as a sheet when the user presses Escape or Command-period.
// Thread: main; each override checks it.

#include <memory>

#include "AppKit/NSWindow.h"

class SheetWindow : public NSWindow {
  public:
    // Style 0x8008 (resizable, full-size content view), buffered, deferred; it does
    // not keep the application from terminating while modal, and takes the
    // application's effective appearance of the moment it is made.
    static std::shared_ptr<SheetWindow> withSize(CGSize size);
    // Straight to the window's initialiser.
    SheetWindow(CGRect contentRect, uint64_t styleMask,
                NSBackingStoreType backing = NSBackingStoreType::buffered, bool defer = false)
        : NSWindow(contentRect, styleMask, backing, defer) {}

    bool canBecomeKeyWindow() const override;
    // Asks the sheet parent to end this sheet; nothing when it is not a sheet.
    void cancelOperation(NSObject* sender) override;
};
