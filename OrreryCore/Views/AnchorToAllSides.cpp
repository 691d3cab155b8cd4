#include "Views/AnchorToAllSides.h"

#include "AppKit/NSLayoutConstraint.h"
#include "AppKit/NSView.h"

void anchorToAllSidesOf(const std::shared_ptr<NSView>& receiver,
                        const std::shared_ptr<NSView>& view, AnchorInsets insets) {
    if (!view)
        return;
    receiver->translatesAutoresizingMaskIntoConstraints = false;
    NSLayoutConstraint::activate({
        receiver->leadingAnchor().constraint(view->leadingAnchor(), insets.left),
        receiver->trailingAnchor().constraint(view->trailingAnchor(), -insets.right),
        receiver->bottomAnchor().constraint(view->bottomAnchor(), -insets.bottom),
        receiver->topAnchor().constraint(view->topAnchor(), insets.top),
    });
}
