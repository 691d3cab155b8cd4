#include "Controls/FirstResponderAwareTextField.h"

#include "AppKit/NSWindow.h"

FirstResponderAwareTextField::~FirstResponderAwareTextField() {
    publisher.send(Subscribers::Completion::finished);
}

void FirstResponderAwareTextField::viewWillMoveToWindow(
    const std::shared_ptr<NSWindow>& newWindow) {
    Runtime::assertMainThread("FirstResponderAwareTextField.viewWillMove(toWindow:)");
    // The old window's subscription goes, whether or not there is a new one.
    windowListenerCancellables.clear();
    if (!newWindow)
        return;
    std::weak_ptr<FirstResponderAwareTextField> weak = sharedAs<FirstResponderAwareTextField>();
    newWindow->firstResponderPublisher()
        .receive(DispatchQueue::main())
        .sink([weak](const std::weak_ptr<NSResponder>& responder) {
            Runtime::assertMainThread("FirstResponderAwareTextField.firstResponder sink");
            if (auto field = weak.lock())
                field->responderChanged(responder.lock());
        })
        .store(windowListenerCancellables);
}

void FirstResponderAwareTextField::responderChanged(const std::shared_ptr<NSResponder>& responder) {
    const auto editor = currentEditor();
    const bool status =
        responder && (responder.get() == static_cast<NSResponder*>(this) || responder == editor);
    if (status == published)
        return;
    published = status;
    publisher.send({sharedAs<NSTextField>(), status});
    handleResponderStatusChanged(status);
}
