#pragma once
// Stands in for NSPopUpButton: a button that shows one item of its menu as its
// title and, when clicked, pops the menu up; choosing an item of that menu selects
// it (the selected item's state is on) and sends the item's own action when it has
// one, else the button's.
// Left out: pull-down drawing, arrow positions, auto-enabling, preferred edges.
// Thread: main thread.

#include <memory>
#include <string>
#include <vector>

#include "AppKit/NSButton.h"
#include "AppKit/NSMenu.h"

class NSPopUpButton : public NSButton {
  public:
    explicit NSPopUpButton(CGRect frame = {}, bool pullsDown = false)
        : NSButton(frame), pullsDown(pullsDown) {}

    bool pullsDown;

    std::shared_ptr<NSMenu> menu() const override { return menu_; }
    // The button's choices; the first item is selected (none in an empty menu).
    void setMenu(std::shared_ptr<NSMenu> menu) override;

    const std::vector<std::shared_ptr<NSMenuItem>>& itemArray() const { return menu_->itemArray(); }
    long numberOfItems() const { return menu_->numberOfItems(); }
    std::shared_ptr<NSMenuItem> item(long index) const { return menu_->item(index); }
    std::shared_ptr<NSMenuItem> lastItem() const { return item(numberOfItems() - 1); }
    void addItem(std::string title);
    void removeAllItems();

    // None (and -1) when nothing is selected or the selected item left the menu.
    std::shared_ptr<NSMenuItem> selectedItem() const;
    long indexOfSelectedItem() const;
    std::string titleOfSelectedItem() const;
    // Selects the item (none: nothing selected); an item of another menu selects none.
    void selectItem(const std::shared_ptr<NSMenuItem>& item);
    void selectItem(long index) { selectItem(item(index)); }
    // False, with the selection unchanged, when no item has the tag.
    bool selectItemWithTag(long tag);
    void selectItemWithTitle(const std::string& title) { selectItem(menu_->itemWithTitle(title)); }

    // A click pops the menu up over the button.
    void mouseDown(const NSEvent& event) override;
    void mouseUp(const NSEvent& event) override {}

  protected:
    void didInit() override;

  private:
    bool choose(long index);
    std::shared_ptr<NSMenu> menu_;
    std::weak_ptr<NSMenuItem> selected;
};
