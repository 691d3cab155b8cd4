#include "Controls/SimpleTextViewPopover.h"

#include "AppKitSupport/AppKitExtensions.h"

SimpleTextViewPopover::SimpleTextViewPopover() : textField(make<NSTextField>()) {}

void SimpleTextViewPopover::didInit() {
    Runtime::assertMainThread("SimpleTextViewPopover.init");
    const auto style = this->style();
    if (auto name = style->appearanceName())
        appearance = NSAppearance::named(*name);
    animates = true;
    behavior = Behavior::applicationDefined;

    textField->setFont(style->font());
    textField->setTextColor(style->textColor());
    textField->setBordered(false);
    textField->setBezeled(false);
    textField->setDrawsBackground(false);
    textField->setEditable(false);
    textField->setSelectable(false);
    textField->setFocusRingType(NSFocusRingType::none);

    auto container = make<NSView>();
    container->translatesAutoresizingMaskIntoConstraints = false;
    container->addSubview(textField);
    anchorToAllSidesOf(*textField, container, {});
    auto controller = make<NSViewController>();
    controller->setView(container);
    contentViewController = controller;
    applyPadding();
}

void SimpleTextViewPopover::applyPadding() {
    const CGSize padding = style()->padding();
    for (const auto& c : textField->constraints()) {
        switch (c->firstAttribute()) {
        case NSLayoutAttribute::leading:
            c->constant = padding.width;
            break;
        case NSLayoutAttribute::trailing:
            c->constant = -padding.width;
            break;
        case NSLayoutAttribute::top:
            c->constant = padding.height;
            break;
        case NSLayoutAttribute::bottom:
            c->constant = -padding.height;
            break;
        default:
            break;
        }
    }
    if (auto container = textField->superview())
        container->setNeedsLayout(true);
}

void SimpleTextViewPopover::show(CGRect relativeTo, const std::shared_ptr<NSView>& view,
                                 NSRectEdge edge) {
    Runtime::assertMainThread("SimpleTextViewPopover.show");
    positioningView = view;
    NSPopover::show(relativeTo, view, edge);
}

void SimpleTextViewPopover::close() {
    Runtime::assertMainThread("SimpleTextViewPopover.close");
    positioningView.reset();
    NSPopover::close();
}

SimpleTextViewPopoverController::SimpleTextViewPopoverController()
    : popover_(make<SimpleTextViewPopover>()) {}

void SimpleTextViewPopoverController::showMessage(const std::optional<std::string>& message,
                                                  const std::shared_ptr<NSView>& view,
                                                  NSRectEdge edge) {
    Runtime::assertMainThread("SimpleTextViewPopoverController.showMessage");
    const auto& field = popover_->contentTextField();
    field->setStringValue(message.value_or(""));
    const CGSize padding = popover_->style()->padding();
    const CGSize text = field->intrinsicContentSize();
    popover_->applyPadding();
    popover_->setContentSize({text.width + 2 * padding.width, text.height + 2 * padding.height});
    popover_->setCurrentPositioningView(view);
    popover_->showWithoutRemembering(view->bounds(), view, edge);
}

void SimpleTextViewPopoverController::closePopover(NSObject* sender) {
    Runtime::assertMainThread("SimpleTextViewPopoverController.closePopover");
    popover_->performClose(sender);
}

void updateMessagePopover(SimpleTextViewPopoverController& controller, bool focused,
                          const std::optional<std::string>& message,
                          const std::shared_ptr<NSView>& view, NSObject* sender) {
    const auto& popover = controller.popover();
    if (focused && message) {
        if (popover->isShown())
            popover->contentTextField()->setStringValue(*message);
        else
            controller.showMessage(message, view, NSRectEdge::maxY);
    } else if (popover->isShown()) {
        controller.closePopover(sender);
    }
}
