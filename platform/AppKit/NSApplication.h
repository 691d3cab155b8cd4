#pragma once
// Stands in for NSApplication as far as menus and windows need it: the one shared
// application object with its key window, services menu and main menu, and the
// sending of actions — to a target, or without one along the key window's responder
// chain, then to the application and to the shared document controller.
// Left out: the event loop (the run loop stand-in drives everything), activation,
// termination, modal sessions, the dock. Thread: main thread.

#include <functional>
#include <memory>
#include <optional>

#include "AppKit/NSAppearance.h"
#include "AppKit/NSControl.h"
#include "Foundation/RunLoop.h"

class NSAppearance;
class NSMenu;
class NSWindow;

class NSApplication : public NSResponder {
  public:
    static NSApplication& shared();

    std::shared_ptr<NSMenu> mainMenu;
    std::shared_ptr<NSMenu> servicesMenu;

    std::shared_ptr<NSWindow> keyWindow() const { return key.lock(); }

    // The appearance set on the application (none: the system's).
    std::shared_ptr<NSAppearance> appearance;
    // The appearance in force: the one set, else the system's (dark here).
    std::shared_ptr<NSAppearance> effectiveAppearance() const;

    // The event being dispatched now: the one whose handlers, and the actions they
    // send, are running; none between events.
    const std::optional<NSEvent>& currentEvent() const { return current; }
    // Makes `event` the current event for its lifetime and then puts back the one
    // before (a window's dispatch, a handler's loop that hands out events).
    class CurrentEventScope {
      public:
        explicit CurrentEventScope(const NSEvent& event);
        ~CurrentEventScope();
        CurrentEventScope(const CurrentEventScope&) = delete;
        CurrentEventScope& operator=(const CurrentEventScope&) = delete;

      private:
        std::optional<NSEvent> outer;
    };

    // How a handler's nested wait for input (NSWindow::nextEvent) waits: until
    // `arrived` returns true or the main run loop's clock reaches `deadline`, taking in
    // input meanwhile (which the windows queue) and running the run loop in `mode`. A
    // real-window layer installs one that pumps the desktop's input; none: the window
    // only runs the main run loop.
    std::function<void(TimeInterval deadline, RunLoop::Mode mode,
                       const std::function<bool()>& arrived)>
        eventWaiter;

    // Sends `action` to `target`, or, without one, to the first object that
    // understands it along the chain described above. False when nobody did.
    bool sendAction(const NSAction& action, const std::shared_ptr<NSObject>& target,
                    NSObject* sender);

  protected:
    NSApplication() = default;

  private:
    friend class NSWindow;
    std::weak_ptr<NSWindow> key;
    std::optional<NSEvent> current;
};
