#include "Controls/TableExtras.h"

#include <algorithm>

#include "AppKit/NSScrollView.h"
#include "Combine/NotificationPublisher.h"
#include "Styles/TideglassResources.h"

namespace {
// An image button: its art, and the art shown while pressed.
std::shared_ptr<NSButton> imageButton(std::string_view image, std::string_view pressed) {
    auto button = make<NSButton>();
    button->setImage(TideglassResources::nsImage(image));
    button->setTitle("");
    button->setAlternateImage(TideglassResources::nsImage(pressed));
    button->setButtonType(NSButtonType::momentaryChange);
    button->setBezelStyle(NSBezelStyle::regularSquare);
    button->setBordered(false);
    button->setImagePosition(NSCellImagePosition::imageOnly);
    button->setImageScaling(NSImageScaling::scaleNone);
    return button;
}

// A button's size fitted to its art (without resizing it), none while it is hidden.
CGSize fittedSize(const NSButton& button) {
    return button.cell()->cellSize();
}
CGSize shownSize(const NSButton& button) {
    return button.isHidden() ? CGSize{} : fittedSize(button);
}
} // namespace

ActionableTableHeaderView::ActionableTableHeaderView(CGRect frame)
    : StyledTableHeaderView(frame),
      addItemButton(imageButton("properties-table-add", "properties-table-add-down")),
      optionButton(
          imageButton("properties-tableheader-overflow", "properties-tableheader-overflow-down")) {}

void ActionableTableHeaderView::didInit() {
    StyledTableHeaderView::didInit();
    setUpButtons();
}

void ActionableTableHeaderView::setUpButtons() {
    Runtime::assertMainThread("ActionableTableHeaderView.setUpButtons");
    addSubview(addItemButton);
    addSubview(optionButton);
    using O = NSView::Orientation;
    for (const auto& button : {addItemButton, optionButton}) {
        button->sizeToFit();
        for (O o : {O::horizontal, O::vertical}) {
            button->setCompressionResistancePriority(1000, o);
            button->setContentHuggingPriority(1000, o);
        }
    }
    observeClipViewChanges();
}

void ActionableTableHeaderView::observeClipViewChanges() {
    Runtime::assertMainThread("ActionableTableHeaderView.observeClipViewChanges");
    cancellables.clear();
    std::weak_ptr<ActionableTableHeaderView> weak = sharedAs<ActionableTableHeaderView>();
    notificationPublisher(NotificationCenter::defaultCenter(),
                          {NSView::frameDidChangeNotification, NSView::boundsDidChangeNotification})
        .compactMap([](const Notification& n) -> std::optional<std::shared_ptr<NSClipView>> {
            auto clip = std::dynamic_pointer_cast<NSClipView>(n.object);
            return clip ? std::optional(clip) : std::nullopt;
        })
        .map([weak](const std::shared_ptr<NSClipView>& clip) {
            auto header = weak.lock();
            auto table = header ? header->tableView() : nullptr;
            auto scroll = table ? table->enclosingScrollView() : nullptr;
            return scroll && scroll->contentView() == clip;
        })
        .receive(DispatchQueue::main())
        .sink([weak](const bool& ownClip) {
            Runtime::assertMainThread("ActionableTableHeaderView clip-view sink");
            // Only ever ask for layout: another table's clip view must not cancel a
            // layout this header still needs.
            if (auto header = weak.lock(); header && ownClip)
                header->setNeedsLayout(true);
        })
        .store(cancellables);
}

void ActionableTableHeaderView::setTableView(std::shared_ptr<NSTableView> tableView) {
    Runtime::assertMainThread("ActionableTableHeaderView.tableView");
    StyledTableHeaderView::setTableView(tableView);
    auto scroll = tableView ? tableView->enclosingScrollView() : nullptr;
    if (!scroll)
        return;
    scroll->contentView()->postsBoundsChangedNotifications = true;
    scroll->contentView()->postsFrameChangedNotifications = true;
}

void ActionableTableHeaderView::layout() {
    Runtime::assertMainThread("ActionableTableHeaderView.layout");
    StyledTableHeaderView::layout();
    if (const CGRect f = optionButtonFrame(); !(f == optionButton->frame()))
        optionButton->setFrame(f);
    if (const CGRect f = addItemButtonFrame(); !(f == addItemButton->frame()))
        addItemButton->setFrame(f);
}

void ActionableTableHeaderView::removeAddButton() {
    addItemButton->setHidden(true);
}

void ActionableTableHeaderView::removeOptionButton() {
    optionButton->setHidden(true);
}

CGFloat ActionableTableHeaderView::trailingScrollOffset() const {
    auto table = tableView();
    auto scroll = table ? table->enclosingScrollView() : nullptr;
    if (!scroll)
        return 0;
    // min(0, clip maxX − B.width): negative by the width scrolled out of view on the right.
    return std::min<CGFloat>(0, scroll->contentView()->bounds().maxX() - bounds().width());
}

CGRect ActionableTableHeaderView::optionButtonFrame() const {
    const CGRect b = bounds();
    const CGSize size = shownSize(*optionButton);
    return {b.maxX() + trailingScrollOffset() - size.width - 2,
            b.midY() - fittedSize(*optionButton).height / 2, size.width, size.height};
}

CGRect ActionableTableHeaderView::addItemButtonFrame() const {
    const CGRect b = bounds();
    const CGRect option = optionButtonFrame();
    const CGSize size = shownSize(*addItemButton);
    return {option.minX() - size.width, b.midY() - fittedSize(*addItemButton).height / 2,
            size.width, size.height};
}

void KeyboardActionTableView::keyUp(const NSEvent& event) {
    Runtime::assertMainThread("KeyboardActionTableView.keyUp");
    NSTableView::keyUp(event);
    const auto key = event.specialKey();
    if (!key || !keyboardAction)
        return;
    if (std::find(keyboardActionTriggers.begin(), keyboardActionTriggers.end(), *key) !=
        keyboardActionTriggers.end())
        sendAction(keyboardAction, cell()->target);
}
