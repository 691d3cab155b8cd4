#include "SwiftUISupport/SheetWindow.h"

#include "AppKit/NSApplication.h"

std::shared_ptr<SheetWindow> SheetWindow::withSize(CGSize size) {
    Runtime::assertMainThread("SheetWindow.init(size:)");
    auto window = make<SheetWindow>(CGRect{{0, 0}, size}, uint64_t(0x8008),
                                    NSBackingStoreType::buffered, true);
    window->preventsApplicationTerminationWhenModal = false;
    window->appearance = NSApplication::shared().effectiveAppearance();
    return window;
}

bool SheetWindow::canBecomeKeyWindow() const {
    Runtime::assertMainThread("SheetWindow.canBecomeKeyWindow");
    return true;
}

void SheetWindow::cancelOperation(NSObject*) {
    Runtime::assertMainThread("SheetWindow.cancelOperation");
    if (auto parent = sheetParent())
        parent->endSheet(*this);
}
