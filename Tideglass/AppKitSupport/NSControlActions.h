#pragma once
// Closure actions and control publishers: code drives a control without writing
// action methods. Both install a small relay object as the control's target and keep
// it alive as an associated object of the control, because a control holds its
// target weakly. A control has one target/action pair: whichever of the two bridges
// was installed last receives the action.
// Thread: main thread only.

#include <functional>
#include <memory>

#include "AppKit/NSButton.h"
#include "AppKit/NSPopUpButton.h"
#include "AppKit/NSSlider.h"
#include "AppKit/NSWindow.h"
#include "Combine/Combine.h"

namespace TideglassDetail {
// Associated-object keys: unique addresses made once.
const void* trampolineKey();
const void* publisherKey();
} // namespace TideglassDetail

// The relay behind a closure action; it calls the closure with the sender.
template <class Control> class ActionTrampoline : public NSObject {
  public:
    using Action = std::function<void(const std::shared_ptr<Control>&)>;
    const Action action;

    // Action method ("actionWithSender:"): a sender of another type is a fatal error.
    void actionWithSender(NSObject* sender) {
        auto* control = dynamic_cast<Control*>(sender);
        if (!control)
            fatalError("Tideglass.ActionTrampoline: the sender is not of the control's type");
        action(control->template sharedAs<Control>());
    }

  protected:
    explicit ActionTrampoline(Action action) : action(std::move(action)) {}
};

// Installs `action` as the control's action (replacing a previous closure, which is
// released). The closure gets the control, so it need not capture it.
template <class Control>
void setAction(const std::shared_ptr<Control>& control,
               std::function<void(const std::shared_ptr<Control>&)> action) {
    Runtime::assertMainThread("Tideglass/NSControl+Action");
    auto trampoline = make<ActionTrampoline<Control>>(std::move(action));
    control->setTarget(trampoline);
    control->setAction(&ActionTrampoline<Control>::actionWithSender);
    control->setAssociatedObject(TideglassDetail::trampolineKey(), trampoline);
}

// Sets the target, then the action.
inline void setAction(NSControl& control, NSAction action, std::weak_ptr<NSObject> target) {
    control.setTarget(std::move(target));
    control.setAction(std::move(action));
}

// A publisher of the control, sent each time the control sends its action. Its
// subscribers get the normal completion when it goes away with its control.
template <class Control>
class NSControlPublisher
    : public NSObject,
      public PublisherOperators<NSControlPublisher<Control>, std::shared_ptr<Control>> {
  public:
    using OutputType = std::shared_ptr<Control>;
    using PublisherOperators<NSControlPublisher<Control>, OutputType>::receive; // receive(on:)
    std::weak_ptr<Control> control;
    PassthroughSubject<std::shared_ptr<Control>> subject;

    ~NSControlPublisher() override { subject.send(Subscribers::Completion::finished); }

    void receive(std::shared_ptr<Subscriber<OutputType>> subscriber) const {
        subject.receive(std::move(subscriber));
    }
    AnyPublisher<OutputType> eraseToAnyPublisher() const { return subject.eraseToAnyPublisher(); }

    // Action method ("controlActionWithSender:").
    void controlActionWithSender(NSObject* sender) {
        auto* c = dynamic_cast<Control*>(sender);
        if (!c)
            fatalError("Tideglass.NSControlPublisher: the sender is not of the control's type");
        subject.send(c->template sharedAs<Control>());
    }

  protected:
    explicit NSControlPublisher(const std::shared_ptr<Control>& c) : control(c) {}
    // Takes over the control's target and action (the publisher must be owned first).
    void didInit() override {
        if (auto c = control.lock()) {
            c->setTarget(weakAs<NSObject>());
            c->setAction(&NSControlPublisher::controlActionWithSender);
        }
    }
};

// The control's one publisher, made on first use; later calls return the same one.
template <class Control>
std::shared_ptr<NSControlPublisher<Control>>
controlEventPublisher(const std::shared_ptr<Control>& control) {
    Runtime::assertMainThread("Tideglass/NSControl+Combine");
    if (auto stored = control->associatedObject(TideglassDetail::publisherKey())) {
        auto publisher = std::dynamic_pointer_cast<NSControlPublisher<Control>>(
            std::static_pointer_cast<NSObject>(stored));
        if (!publisher)
            fatalError("Tideglass: the control's publisher is of another control type");
        return publisher;
    }
    auto publisher = make<NSControlPublisher<Control>>(control);
    control->setAssociatedObject(TideglassDetail::publisherKey(),
                                 std::static_pointer_cast<NSObject>(publisher));
    return publisher;
}

// The pop-up button's selected item (none when nothing is selected) at each action.
inline AnyPublisher<std::shared_ptr<NSMenuItem>>
selectedItemPublisher(const std::shared_ptr<NSPopUpButton>& button) {
    return controlEventPublisher(button)->map(&NSPopUpButton::selectedItem);
}

// The button's state at each action.
inline AnyPublisher<NSCell::StateValue>
controlStatePublisher(const std::shared_ptr<NSButton>& button) {
    return controlEventPublisher(button)->map(&NSButton::state);
}

// The slider's value at each action.
inline AnyPublisher<double> doubleValuePublisher(const std::shared_ptr<NSSlider>& slider) {
    return controlEventPublisher(slider)->map(&NSSlider::doubleValue);
}

// Each value of `upstream` makes `control` its window's first responder, making the
// window key first when it is not; a released control or one without a window is
// ignored. Values must arrive on the main thread.
template <class Publisher>
AnyCancellable makeFirstResponder(const Publisher& upstream,
                                  const std::shared_ptr<NSControl>& control) {
    std::weak_ptr<NSControl> weak = control;
    using Output = typename Publisher::OutputType;
    return upstream.sink([weak](const Output&) {
        Runtime::assertMainThread("Tideglass/NSControl+Combine");
        auto c = weak.lock();
        if (!c)
            return;
        auto window = c->window();
        if (!window)
            return;
        if (!window->isKeyWindow())
            window->makeKeyWindow();
        window->makeFirstResponder(c);
    });
}
