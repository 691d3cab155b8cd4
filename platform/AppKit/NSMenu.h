#pragma once
// Stands in for NSMenu, NSMenuItem and NSMenuDelegate: a menu is an ordered list of
// items it owns; an item has a title, an action sent to a weakly held target (or,
// without one, through the application's responder chain), a key equivalent with
// its modifier mask, a tag, a represented object, images per state and an optional
// submenu it owns. Separator and section-header items are items of their own kinds.
// A delegate (held weakly) fills a menu when it is about to open (update()).
// Left out: drawing, menu bars, key-equivalent matching, validation of items,
// highlighting, views in items. Thread: main thread.

#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AppKit/NSControl.h"

class NSImage;
class NSMenu;

class NSMenuDelegate {
  public:
    virtual ~NSMenuDelegate() = default;
    // The menu is about to open: the delegate may replace its items.
    virtual void menuNeedsUpdate(NSMenu& menu) {}
};

class NSMenuItem : public NSObject {
  public:
    // initWithTitle:action:keyEquivalent:; the modifier mask starts as Command.
    static std::shared_ptr<NSMenuItem> make(std::string title, NSAction action = {},
                                            std::string keyEquivalent = {});
    static std::shared_ptr<NSMenuItem> separatorItem();
    static std::shared_ptr<NSMenuItem> sectionHeader(std::string title);

    std::string title;
    NSAction action;
    std::weak_ptr<NSObject> target;
    std::string keyEquivalent;
    uint64_t keyEquivalentModifierMask = 1u << 20; // Command
    long tag = 0;
    // Any value; a test or caller casts it back with std::any_cast.
    std::any representedObject;
    std::shared_ptr<NSImage> image;
    std::shared_ptr<NSImage> onStateImage;
    std::shared_ptr<NSImage> offStateImage;
    std::shared_ptr<NSImage> mixedStateImage;
    NSCell::StateValue state = NSCell::StateValue::off;
    bool isEnabled = true;
    bool isHidden = false;
    bool isAlternate = false;

    bool isSeparatorItem() const { return separator; }
    bool isSectionHeader() const { return header; }

    const std::shared_ptr<NSMenu>& submenu() const { return submenu_; }
    void setSubmenu(std::shared_ptr<NSMenu> menu);
    bool hasSubmenu() const { return submenu_ != nullptr; }
    // The menu that holds the item.
    std::shared_ptr<NSMenu> menu() const { return menu_.lock(); }

  protected:
    NSMenuItem() = default;

  private:
    friend class NSMenu;
    bool separator = false;
    bool header = false;
    std::shared_ptr<NSMenu> submenu_;
    std::weak_ptr<NSMenu> menu_;
};

class NSMenu : public NSObject {
  public:
    static std::shared_ptr<NSMenu> make(std::string title = {});

    std::string title;
    bool autoenablesItems = true;
    // The narrowest the menu is shown, in points (0: as wide as its items).
    CGFloat minimumWidth = 0;
    std::weak_ptr<NSMenuDelegate> delegate;

    const std::vector<std::shared_ptr<NSMenuItem>>& itemArray() const { return items; }
    // Replaces every item (each leaves its former menu).
    void setItemArray(std::vector<std::shared_ptr<NSMenuItem>> newItems);
    long numberOfItems() const { return long(items.size()); }
    std::shared_ptr<NSMenuItem> item(long index) const;
    std::shared_ptr<NSMenuItem> itemWithTag(long tag) const;
    std::shared_ptr<NSMenuItem> itemWithTitle(const std::string& title) const;
    // -1 when the item is not in the menu.
    long indexOfItem(const NSMenuItem& item) const;
    void addItem(std::shared_ptr<NSMenuItem> item);
    void insertItem(std::shared_ptr<NSMenuItem> item, long index);
    void removeItem(long index);
    void removeAllItems();

    // The menu that holds this one as a submenu.
    std::shared_ptr<NSMenu> supermenu() const { return super.lock(); }

    // What happens right before the menu is shown: its delegate's menuNeedsUpdate.
    void update();
    // Chooses the item: its action goes to its target, or through the application's
    // responder chain when it has none. False when nobody handled it or the item is
    // disabled, a separator or a header.
    bool performActionForItem(long index);

    // A pop-up request, as a real window layer would show it; kept for inspection.
    struct PopUp {
        std::weak_ptr<NSMenuItem> positioningItem;
        CGPoint location;
        std::weak_ptr<NSView> view;
    };
    // popUp(positioning:at:in:): updates the menu, records where it pops up (`location`
    // in `view`; with a positioning item, that item is placed there) and shows it
    // through the presenter, returning once it is dismissed: true when an item was
    // chosen, whose action has then been performed (performActionForItem of its menu).
    // While it is shown, events sent to the view's window wait in its queue. Without a
    // presenter nothing is shown and nothing chosen.
    bool popUp(const std::shared_ptr<NSMenuItem>& positioningItem, CGPoint location,
               const std::shared_ptr<NSView>& view);
    const std::optional<PopUp>& lastPopUp() const { return popUp_; }

    // Shows a popped-up menu until the person dismisses it and answers with the item
    // chosen (an item of the menu or of one of its submenus), none when dismissed. The
    // real-window layer installs one; tests install one that picks an item.
    using Presenter =
        std::function<std::shared_ptr<NSMenuItem>(NSMenu& menu, const PopUp& request)>;
    // Process-wide; returns the one it replaces. Thread: main.
    static Presenter setPresenter(Presenter presenter);

  protected:
    NSMenu() = default;

  private:
    friend class NSMenuItem;
    friend class NSPopUpButton;
    static Presenter& presenter();
    // The pop-up button that owns the menu chooses its items itself, and is told when
    // the items change.
    std::function<bool(long)> chooser;
    std::function<void()> changed;
    int batching = 0;
    void didChange() {
        if (changed && batching == 0)
            changed();
    }
    void adopt(const std::shared_ptr<NSMenuItem>& item);
    std::vector<std::shared_ptr<NSMenuItem>> items;
    std::weak_ptr<NSMenu> super;
    std::optional<PopUp> popUp_;
};
