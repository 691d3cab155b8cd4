#include "Controls/StyledOutlineView.h"

#include "AppKit/NSAnimationContext.h"
#include "AppKit/NSButton.h"
#include "AppKit/NSScrollView.h"
#include "Controls/StyledTableView.h"
#include "Styles/TideglassResources.h"

StyledControlState StyledOutlineView::controlState() const {
    return enabledHighlightedState(isEnabled(), isHighlighted());
}

void StyledOutlineView::viewWillMoveToSuperview(const std::shared_ptr<NSView>& newSuperview) {
    Runtime::assertMainThread("StyledOutlineView.viewWillMove(toSuperview:)");
    NSOutlineView::viewWillMoveToSuperview(newSuperview);
    backgroundColor = style()->backgroundColor();
    if (auto scroll = scrollViewEnclosing(newSuperview))
        scroll->backgroundColor = backgroundColor;
}

std::shared_ptr<NSView>
StyledOutlineView::makeViewWithIdentifier(const std::string& identifier,
                                          const std::shared_ptr<NSObject>& owner) {
    Runtime::assertMainThread("StyledOutlineView.makeView");
    auto view = NSOutlineView::makeViewWithIdentifier(identifier, owner);
    auto button = std::dynamic_pointer_cast<NSButton>(view);
    if (identifier != disclosureButtonIdentifier || !button)
        return view;
    if (auto cell = button->buttonCell())
        cell->showsStateBy = NSCellStyleMask::contents; // the alternate image while expanded
    button->setImage(TideglassResources::nsImage("organiser-icon-disclose"));
    button->setAlternateImage(TideglassResources::nsImage("organiser-icon-disclose-open"));
    button->setTag(disclosureButtonTag);
    return view;
}

std::shared_ptr<NSMenu> StyledOutlineView::menuForEvent(const NSEvent& event) {
    Runtime::assertMainThread("StyledOutlineView.menu(for:)");
    const CGPoint p = convertFromView(event.locationInWindow(), nullptr);
    const Item item = itemAtRow(rowAtPoint(p));
    if (!item)
        return nullptr;
    auto object = delegate.lock();
    auto* d = dynamic_cast<StyledOutlineViewDelegate*>(object.get());
    return d ? d->outlineViewMenuForItem(*this, item) : nullptr;
}

void StyledOutlineView::expandItemWithoutAnimation(const Item& item) {
    Runtime::assertMainThread("StyledOutlineView.expandItemWithoutAnimation");
    if (isItemExpanded(item) || !isExpandable(item))
        return;
    NSAnimationContext::beginGrouping();
    NSAnimationContext::current().duration = 0;
    NSOutlineView::expandItem(item, false);
    NSAnimationContext::endGrouping();
}
