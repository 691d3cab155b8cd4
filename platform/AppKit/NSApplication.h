#pragma once
// Stands in for NSApplication: the one shared application object with its key window,
// services menu and main menu, the sending of actions — to a target, or without one
// along the key window's responder chain, then to the application and to the shared
// document controller — and the application's life: its delegate, the end of launching
// (didFinishLaunching, then the URLs that arrived before it), URLs opened while it runs,
// the standard About panel, and the windows it shows.
//
// Showing windows and running the event loop belong to the display layer: a program
// with a desktop installs a window presenter and an event loop (Display's
// DisplayApplication); without them presented windows are only ordered front and run()
// drains the run loop until terminate.
// Left out: activation, modal sessions, the dock, Apple events other than URLs.
// Thread: main thread.

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "AppKit/NSAppearance.h"
#include "AppKit/NSControl.h"
#include "Foundation/NotificationCenter.h"
#include "Foundation/RunLoop.h"
#include "Foundation/URL.h"

class NSAppearance;
class NSApplication;
class NSMenu;
class NSWindow;

// What the application tells its delegate. Every method has an empty default.
class NSApplicationDelegate {
  public:
    virtual ~NSApplicationDelegate() = default;
    virtual void applicationWillFinishLaunching(const Notification&) {}
    // The notification's object is the application.
    virtual void applicationDidFinishLaunching(const Notification&) {}
    // application(_:open:): URLs given to the application, in order.
    virtual void applicationOpenURLs(NSApplication&, const std::vector<URL>&) {}
    virtual void applicationWillTerminate(const Notification&) {}
};

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

    // Held weakly, as the platform holds it.
    std::weak_ptr<NSApplicationDelegate> delegate;

    static constexpr const char* willFinishLaunchingNotification =
        "NSApplicationWillFinishLaunchingNotification";
    static constexpr const char* didFinishLaunchingNotification =
        "NSApplicationDidFinishLaunchingNotification";
    static constexpr const char* willTerminateNotification =
        "NSApplicationWillTerminateNotification";

    // Ends launching (once): posts will- and didFinishLaunching (the delegate hears
    // both) with the application as object, then hands over the URLs opened so far.
    void finishLaunching();
    bool isFinishedLaunching() const { return launched; }
    // URLs the system delivers: to the delegate now, or once launching has finished.
    void openURLs(const std::vector<URL>& urls);

    // Shows a window the application made (the presenter's real window, else just
    // ordered front and made key); it is kept in windows() until it closes.
    void presentWindow(const std::shared_ptr<NSWindow>& window);
    std::vector<std::shared_ptr<NSWindow>> windows() const;
    using WindowPresenter = std::function<void(const std::shared_ptr<NSWindow>&)>;
    void setWindowPresenter(WindowPresenter presenter) { presenter_ = std::move(presenter); }

    // The standard About panel: a small dark window with the main bundle's icon, name,
    // version ("Version <short> (<build>)") and credits (Credits.txt in its
    // resources), made once and brought to the front each time.
    void orderFrontStandardAboutPanel(NSObject* sender);
    std::shared_ptr<NSWindow> aboutPanel() const { return about; }

    // Runs the event loop until terminate: the installed loop, else the run loop.
    using EventLoop = std::function<void(NSApplication&)>;
    void setEventLoop(EventLoop loop) { eventLoop = std::move(loop); }
    void run();
    // Posts willTerminate and ends run() (the installed loop is told through
    // terminationRequested).
    void terminate(NSObject* sender);
    bool isTerminating() const { return terminating; }
    std::function<void()> terminationRequested;

  protected:
    NSApplication() = default;

  private:
    friend class NSWindow;
    std::weak_ptr<NSWindow> key;
    std::optional<NSEvent> current;
    bool launched = false;
    bool terminating = false;
    std::vector<URL> pendingURLs;
    std::vector<std::weak_ptr<NSWindow>> shown;
    WindowPresenter presenter_;
    EventLoop eventLoop;
    std::shared_ptr<NSWindow> about;
};
