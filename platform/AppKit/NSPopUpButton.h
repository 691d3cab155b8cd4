#pragma once
// Stands in for NSPopUpButton and NSPopUpButtonCell: a button that shows one item of
// its menu and, when pressed, pops the menu up — a pop-up over the button with the
// selected item where the button is, a pull-down below it — highlighted until the menu
// is dismissed. Choosing an item of the menu selects it (the selected item's state is
// on) and sends the item's own action when it has one, else the button's.
// The cell shows an item: the selected one while it uses the menu's item
// (usesItemFromMenu), else an item of its own (a pull-down's fixed title). Its image
// is the shown item's image, drawn at the leading edge (drawImageWithFrame).
// Selection: items of the menu or of its submenus can be selected; when the selected
// item leaves the menu (its items replaced or removed), a pop-up selects its first item
// (none when empty) and a pull-down selects none.
// A right click is no contextual menu: the menu is the button's choices.
// Left out: arrow drawing and positions, preferred edges, auto-enabling of items.
// Thread: main thread.

#include <memory>
#include <string>
#include <vector>

#include "AppKit/NSButton.h"
#include "AppKit/NSMenu.h"

class NSPopUpButtonCell : public NSButtonCell {
  public:
    bool pullsDown = false;
    bool usesItemFromMenu = true;
    // The item the cell shows; setting it shows its title.
    std::shared_ptr<NSMenuItem> menuItem() const { return shown; }
    void setMenuItem(std::shared_ptr<NSMenuItem> item);

    // A bordered or bezeled pop-up's image and title lie 8 points in from its left edge,
    // 2 from its top and bottom, and clear of the arrows at its right end (18 points);
    // without a border, the bounds.
    CGRect drawingRectForBounds(CGRect bounds) const override;
    // The shown item's image at the leading edge of the drawing rectangle, centred
    // vertically; zero without one.
    CGRect imageRectForBounds(CGRect bounds) const override;
    void drawInteriorWithFrame(CGRect cellFrame, NSView& controlView) override;
    // drawImage(withFrame:in:): the shown item's image in imageRectForBounds.
    virtual void drawImageWithFrame(CGRect cellFrame, NSView& controlView);

  protected:
    // init(textCell:pullsDown:).
    explicit NSPopUpButtonCell(TextCell content = {}, bool pullsDown = false)
        : NSButtonCell(std::move(content)), pullsDown(pullsDown) {
        // The shown item's image stands before its title.
        imagePosition = NSCellImagePosition::imageLeading;
    }

  private:
    std::shared_ptr<NSMenuItem> shown;
};

class NSPopUpButton : public NSButton {
  public:
    explicit NSPopUpButton(CGRect frame = {}, bool pullsDown = false)
        : NSButton(frame), initialPullsDown(pullsDown) {}

    // The pop-up cell, or none when another kind of cell is installed.
    std::shared_ptr<NSPopUpButtonCell> popUpCell() const {
        return std::dynamic_pointer_cast<NSPopUpButtonCell>(cell());
    }
    bool pullsDown() const;
    void setPullsDown(bool pulls);

    std::shared_ptr<NSMenu> menu() const override { return menu_; }
    // The button's choices; a pop-up selects the first item (none in an empty menu).
    void setMenu(std::shared_ptr<NSMenu> menu) override;
    std::shared_ptr<NSMenu> menuForEvent(const NSEvent&) const override { return nullptr; }

    const std::vector<std::shared_ptr<NSMenuItem>>& itemArray() const { return menu_->itemArray(); }
    long numberOfItems() const { return menu_->numberOfItems(); }
    std::shared_ptr<NSMenuItem> item(long index) const { return menu_->item(index); }
    std::shared_ptr<NSMenuItem> lastItem() const { return item(numberOfItems() - 1); }
    void addItem(std::string title);
    void removeAllItems();
    // Whether the menu items are enabled by validation (kept; nothing validates here).
    bool autoenablesItems() const { return menu_->autoenablesItems; }
    void setAutoenablesItems(bool on) { menu_->autoenablesItems = on; }

    // None (and -1) when nothing is selected or the selected item left the menu; the
    // index is in the menu itself (-1 for an item of a submenu).
    std::shared_ptr<NSMenuItem> selectedItem() const;
    long indexOfSelectedItem() const;
    std::string titleOfSelectedItem() const;
    // Selects the item (none: nothing selected); an item of another menu selects none.
    void selectItem(const std::shared_ptr<NSMenuItem>& item);
    void selectItem(long index) { selectItem(item(index)); }
    // False, with the selection unchanged, when no item has the tag.
    bool selectItemWithTag(long tag);
    void selectItemWithTitle(const std::string& title) { selectItem(menu_->itemWithTitle(title)); }

    // A press pops the menu up (see above); the release belongs to the menu.
    void mouseDown(const NSEvent& event) override;
    void mouseUp(const NSEvent& event) override {}

  protected:
    void didInit() override;
    std::shared_ptr<NSCell> makeCell() override;

  private:
    bool choose(long index);
    // The selection after the menu's items changed.
    void menuChanged();
    bool inMenu(const NSMenuItem& item) const;
    bool initialPullsDown;
    std::shared_ptr<NSMenu> menu_;
    std::weak_ptr<NSMenuItem> selected;
};
