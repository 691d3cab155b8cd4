#pragma once
// Stands in for NSComboBox, NSComboBoxCell and NSComboBoxDataSource: a text field with a
// button at its trailing end that pops up a list of items to choose from. The items are
// the cell's own list of object values (numbers or texts), or, with usesDataSource, what
// the data source answers.
//
// Geometry, in the control's coordinates, for bounds b (tests call these without
// drawing):
//   button  (b.maxX − 20, b.minY, 20, b.height): the trailing 20 points;
//   title   the text field's title rectangle (the drawing rectangle: b inset by 2 when
//           bezeled or bordered) less the button's width at its trailing end, so the
//           text and the field editor stay left of the button.
//   size    the text field's cell size plus the button's width; the intrinsic size is
//           the text field's (its width open while the field is editable).
// Drawing: the text field's frame, then the button: a plain arrow key in the button
// rectangle. The interior draws the text in the title rectangle as this class computes
// it for the frame it is given (a subclass's titleRectForBounds places the field editor,
// not the drawn text), so a frame already narrowed to the text is not narrowed twice.
//
// The list. A click on the button (enabled, with at least one item) pops it up below
// the box: will-pop-up is posted, the
// items' texts are shown as a menu through NSMenu's presenter (the real-window layer
// shows it; tests install one that picks an item), and once it is dismissed
// will-dismiss is posted. Choosing an item selects it (below) before will-dismiss.
// Selecting an item (selectItemAtIndex, a choice in the list, or the editor's
// "moveDown:"/"moveUp:" with the list closed, which step to the next/previous item and
// stop at the ends) puts its value in the field and posts selection-did-change when
// the selection changed. Typing a text that differs from the selected item's deselects
// it (index −1), posting selection-did-change. None of these sends the action: the
// action is sent as a text field sends it (Return, or the end of editing with
// sendsActionOnEndEditing). The notifications' object is the combo box.
//
// Items are read only through the cell's own list: itemObjectValueAtIndex with an
// index outside it (−1, or any index of a combo box that uses a data source, whose own
// list stays empty) ends the program, as the platform's range exception does.
// Left out: completion, the list's scroller and its number of visible items, item
// height and spacing, a list that stays open while typing (the list is modal here).
// Thread: main thread; the list and the item operations check it.

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "AppKit/NSTextField.h"

class NSComboBox;

// An item's object value: a number (an NSNumber) or a text (an NSString).
using NSComboBoxItem = std::variant<double, std::string>;
// The item as the list and the field show it: a number as its shortest decimal text.
std::string comboBoxItemText(const NSComboBoxItem& item);

// What a combo box with usesDataSource asks for its items (held weakly, found by
// dynamic_cast on the data-source object).
class NSComboBoxDataSource {
  public:
    virtual ~NSComboBoxDataSource() = default;
    virtual long numberOfItemsInComboBox(NSComboBox&) { return 0; }
    virtual NSComboBoxItem comboBoxObjectValueForItemAtIndex(NSComboBox&, long index) {
        return std::string();
    }
};

class NSComboBoxCell : public NSTextFieldCell {
  public:
    // The items: the data source's when set (then the list below stays empty).
    bool usesDataSource = false;
    std::weak_ptr<NSObject> dataSource;
    const std::vector<NSComboBoxItem>& objectValues() const { return items; }
    void addItemWithObjectValue(NSComboBoxItem item);
    void addItemsWithObjectValues(std::vector<NSComboBoxItem> more);
    // At `index` in 0 ... numberOfItems (an index outside ends the program).
    void insertItemWithObjectValue(NSComboBoxItem item, long index);
    // Removes the first item equal to `item`, if any.
    void removeItemWithObjectValue(const NSComboBoxItem& item);
    void removeItemAtIndex(long index);
    void removeAllItems();
    // The first index of an item equal to `item`; −1 when none.
    long indexOfItemWithObjectValue(const NSComboBoxItem& item) const;
    // The item at `index` of the cell's own list; outside it the program ends.
    const NSComboBoxItem& itemObjectValueAtIndex(long index) const;

    // The selected item's index, −1 when none. Removing items keeps it on the same
    // item, or −1 when that item goes.
    long indexOfSelectedItem() const { return selected; }

    // Whether the button shows a border (carried; the plain arrow key is drawn).
    bool isButtonBordered = true;
    static constexpr CGFloat buttonWidth = 20;
    virtual CGRect buttonRectForBounds(CGRect bounds) const;
    CGRect titleRectForBounds(CGRect bounds) const override;
    CGSize cellSizeForBounds(CGRect bounds) const override;
    void drawWithFrame(CGRect cellFrame, NSView& controlView) override;
    void drawInteriorWithFrame(CGRect cellFrame, NSView& controlView) override;

  protected:
    NSComboBoxCell() = default;

  private:
    friend class NSComboBox;
    // The drawing rectangle of `bounds` less the button.
    CGRect textRectForBounds(CGRect bounds) const;
    std::vector<NSComboBoxItem> items;
    long selected = -1;
};

class NSComboBox : public NSTextField {
  public:
    explicit NSComboBox(CGRect frame = {}) : NSTextField(frame) {}

    static constexpr const char* willPopUpNotification = "NSComboBoxWillPopUpNotification";
    static constexpr const char* willDismissNotification = "NSComboBoxWillDismissNotification";
    static constexpr const char* selectionDidChangeNotification =
        "NSComboBoxSelectionDidChangeNotification";

    // The cell as a combo-box cell (null when a cell of another kind was installed).
    std::shared_ptr<NSComboBoxCell> comboBoxCell() const;

    // The cell's items and data source (a cell of another kind has none: reads are
    // empty, writes do nothing).
    bool usesDataSource() const;
    void setUsesDataSource(bool uses);
    std::shared_ptr<NSObject> dataSource() const;
    void setDataSource(std::weak_ptr<NSObject> source);
    std::vector<NSComboBoxItem> objectValues() const;
    void addItemWithObjectValue(NSComboBoxItem item);
    void addItemsWithObjectValues(std::vector<NSComboBoxItem> items);
    void insertItemWithObjectValue(NSComboBoxItem item, long index);
    void removeItemWithObjectValue(const NSComboBoxItem& item);
    void removeItemAtIndex(long index);
    void removeAllItems();
    long indexOfItemWithObjectValue(const NSComboBoxItem& item) const;
    // The cell's own items (see the header's note on the range).
    NSComboBoxItem itemObjectValueAtIndex(long index) const;
    // The data source's count with usesDataSource, else the cell's.
    long numberOfItems() const;

    long indexOfSelectedItem() const;
    // Selects the item (−1: none), shows its value in the field and posts
    // selection-did-change when the selection changed. An index outside the items
    // selects nothing.
    void selectItemAtIndex(long index);
    void deselectItemAtIndex(long index);

    // Pops the list up (see the header); false when it did not open.
    bool popUpList();
    bool isListOpen() const { return listOpen; }

    void mouseDown(const NSEvent& event) override;
    void textDidChange(const Notification& notification) override;
    bool textViewDoCommandBySelector(NSTextView& view, const std::string& selector) override;

  protected:
    std::shared_ptr<NSCell> makeCell() override;

  private:
    // The item at `index` as the list shows it (the data source's with usesDataSource).
    std::optional<NSComboBoxItem> listItem(long index) const;
    void chooseListItem(NSObject* sender);
    void post(const char* name);
    bool listOpen = false;
};
