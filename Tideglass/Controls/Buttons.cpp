#include "Controls/Buttons.h"

#include "AppKit/NSImage.h"
#include "Runtime/Runtime.h"

CursorButton::CursorButton(CGRect frame)
    : NSButton(frame), cursorImage(NSImage::named("cursor-cycle")) {
    if (!cursorImage)
        fatalError("the main bundle has no image named cursor-cycle");
}
