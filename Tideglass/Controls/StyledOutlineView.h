#pragma once
// StyledOutlineView and StyledOutlineViewDelegate: the library's outline view, which
// takes its background from the outline style, replaces the disclosure triangles with
// the library's art ("organiser-icon-disclose" collapsed, "organiser-icon-disclose-open"
// expanded, shown by the button's state) on buttons tagged 1000 — the mark styled cell
// views find them by —, asks its delegate for per-item context menus, and expands an
// item without animation.
//   menuForEvent   the item under the event: none there (below the rows) gives no menu,
//                  else the delegate's menu when the delegate is a
//                  StyledOutlineViewDelegate, else none (the outline's own menu is never
//                  given);
//   moving to a superview  the background becomes the style's, and so does an enclosing
//                  scroll view's (whose drawsBackground stays as it is).
// Style read (OutlineViewStyle, a new one on every read): backgroundColor. The control
// state: default, plus disabled while not enabled, plus highlighted while highlighted.
// Thread: main.

#include <memory>

#include "AppKit/NSMenu.h"
#include "AppKit/NSOutlineView.h"
#include "Styles/StyledControl.h"

// Looked for on the outline view's ordinary delegate.
class StyledOutlineViewDelegate {
  public:
    virtual ~StyledOutlineViewDelegate() = default;
    virtual std::shared_ptr<NSMenu> outlineViewMenuForItem(NSOutlineView& outlineView,
                                                           const NSOutlineView::Item& item) = 0;
};

class StyledOutlineView : public StyledControl<StyledOutlineView, OutlineViewStyle, NSOutlineView> {
  public:
    static constexpr bool freshStyleEachRead = true;
    // The tag of the disclosure buttons.
    static constexpr long disclosureButtonTag = 1000;
    explicit StyledOutlineView(CGRect frame = {}) : StyledControl(frame) {}

    StyledControlState controlState() const override;
    // A collapsed, expandable item expanded at once (its children stay collapsed), in
    // an animation group of duration 0; anything else: nothing.
    virtual void expandItemWithoutAnimation(const Item& item);

    void viewWillMoveToSuperview(const std::shared_ptr<NSView>& newSuperview) override;
    std::shared_ptr<NSView> makeViewWithIdentifier(const std::string& identifier,
                                                   const std::shared_ptr<NSObject>& owner) override;
    std::shared_ptr<NSMenu> menuForEvent(const NSEvent& event) override;
};
