#pragma once
// ActionableTableHeaderView and KeyboardActionTableView: two table add-ons.
//
// ActionableTableHeaderView is a styled table header with two image buttons at its
// trailing edge — an add-item button ("properties-table-add", pressed
// "properties-table-add-down") and an option button ("properties-tableheader-overflow",
// pressed "properties-tableheader-overflow-down"): momentary-change image-only buttons
// without border, title or target, sized to their art, as firm as can be against
// stretching and squeezing. With B = the header's bounds:
//   trailingScrollOffset  min(0, maxX of the table's clip view's bounds − B.width): how
//                         far the table is scrolled short of its right end (0 without a
//                         table or scroll view);
//   optionButtonFrame     (w, h) = the button's size fitted to its art, (0, 0) while
//                         hidden; x = B.maxX + offset − w − 2, y = B.midY − half the
//                         fitted height: 2 points in from the visible trailing edge,
//                         centred (reading a frame does not resize the button, so a
//                         hidden one keeps the zero size layout gave it);
//   addItemButtonFrame    the same size rule; x = the option frame's minX − w, touching it.
// Layout gives the buttons these frames (only when they differ). Removing a button hides
// it; the other closes up at the next layout. A frame or bounds change of the header's
// own table's clip view asks for layout; attaching a table tells its clip view to post
// those changes (when the table is in its scroll view by then). The subscription holds
// the header weakly and asks for layout only ever (a change of another clip view
// leaves a layout already asked for in place).
//
// KeyboardActionTableView is a plain table that sends `keyboardAction` to its target
// when Return or keypad Enter is released in it, after the table's own key-up handling;
// other keys, and events without a special key, send nothing.
// Style read: none (the header's class style is the styled header's).
// Thread: main.

#include <memory>
#include <vector>

#include "AppKit/NSButton.h"
#include "AppKit/NSEventKeys.h"
#include "AppKit/NSTableView.h"
#include "Combine/Combine.h"
#include "Controls/StyledTableHeader.h"

class ActionableTableHeaderView : public StyledTableHeaderView {
  public:
    explicit ActionableTableHeaderView(CGRect frame = {0, 0, 0, defaultHeight});

    const std::shared_ptr<NSButton> addItemButton;
    const std::shared_ptr<NSButton> optionButton;

    virtual void removeAddButton();
    virtual void removeOptionButton();
    virtual CGRect addItemButtonFrame() const;
    virtual CGRect optionButtonFrame() const;
    virtual CGFloat trailingScrollOffset() const;

    void setTableView(std::shared_ptr<NSTableView> tableView) override;
    void layout() override;
    // The one clip-view subscription (for tests that look).
    std::size_t subscriptionCount() const { return cancellables.size(); }

  protected:
    void didInit() override;
    virtual void setUpButtons();
    virtual void observeClipViewChanges();

  private:
    AnyCancellableSet cancellables;
};

class KeyboardActionTableView : public NSTableView {
  public:
    explicit KeyboardActionTableView(CGRect frame = {}) : NSTableView(frame) {}

    // Sent to the table's target on the release of a trigger key; none at first.
    NSAction keyboardAction;
    void keyUp(const NSEvent& event) override;

  private:
    std::vector<NSEventSpecialKey> keyboardActionTriggers{NSEventSpecialKey::carriageReturn,
                                                          NSEventSpecialKey::enter};
};
