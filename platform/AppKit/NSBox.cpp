#include "AppKit/NSBox.h"

#include "AppKit/NSColor.h"
#include "AppKit/NSGraphicsContext.h"

void NSBox::drawRect(CGRect) {
    if (boxType != BoxType::separator)
        return;
    auto context = NSGraphicsContext::current();
    if (!context)
        return;
    CGRect b = bounds();
    CGRect line = b.width() >= b.height() ? CGRect{b.minX(), b.midY() - 0.5, b.width(), 1}
                                          : CGRect{b.midX() - 0.5, b.minY(), 1, b.height()};
    NSColor::separatorColor()->setFill();
    context->cgContext().fillRect(line);
}
