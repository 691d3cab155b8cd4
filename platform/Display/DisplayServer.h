#pragma once
// The connection to the desktop's display (X, through $DISPLAY): it shows NSWindows in
// real windows and pop-up menus with their submenus (also the NSMenus that views of its
// windows pop up, while the view's handler waits), shows NSCursor's current cursor, takes
// in input while a handler waits for it (NSWindow::nextEvent), and runs the
// application's loop — input from the desktop delivered to the windows, the main run
// loop's due timers and queued tasks (so the main dispatch queue too), and the
// redrawing of windows that need display, at most 60 times a second — until the
// windows are closed, a quit is asked for, or a time limit for scripts passes.
//
//   auto server = DisplayServer::connect(&why);   // null on a machine with no display
//   auto window = make<NSWindow>(CGRect{0, 0, 472, 672});
//   window->setBackingScaleFactor(server->scaleFactor());
//   window->setContentView(editorView);
//   server->show(window, {.resizable = true});
//   server->run();                                 // or run({.timeLimit = 5})
//
// One server at a time per process is the normal case (the desktop's input goes to
// whichever is pumping). Thread: main thread, except requestQuit.

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AppKit/NSMenu.h"
#include "Display/DisplayWindow.h"
#include "Display/PopupWindow.h"
#include "Foundation/RunLoop.h"

namespace DisplayNative {
class CursorShower;
}
class PopupChain;

class DisplayServer {
  public:
    // Connects to the display; null (with the reason in `whyNot`) when there is none:
    // neither $DISPLAY nor $WAYLAND_DISPLAY names one (SDL is then not asked), or SDL
    // finds none. SDL's drivers that show nothing (offscreen, dummy) count as none
    // unless SDL_VIDEODRIVER names them.
    static std::unique_ptr<DisplayServer> connect(std::string* whyNot = nullptr);
    ~DisplayServer();
    DisplayServer(const DisplayServer&) = delete;
    DisplayServer& operator=(const DisplayServer&) = delete;

    // Pixels per point of new windows: EMBERFALL_SCALE when set, else 2 on a screen of
    // at least 168 dots per inch, else 1.
    CGFloat scaleFactor() const { return scale; }
    // The part of the main screen windows may use, in points from its top left (where
    // a pop-up menu must fit).
    CGRect screenBounds() const;

    // Shows `window` in a real window titled with its title, and gives the NSWindow
    // the server's scale factor as its backing scale factor (views that read it when
    // they join the window see it when the host sets it first, from scaleFactor()).
    // Throws std::runtime_error when the desktop refuses the window.
    std::shared_ptr<DisplayWindow> show(std::shared_ptr<NSWindow> window,
                                        const DisplayWindow::Options& options = {});
    // Opens a pop-up menu window (dismissing a menu that is open).
    std::shared_ptr<PopupWindow> showPopup(PopupWindow::Options options);
    // Opens the submenu of `parent`'s item `item` beside it, closing another submenu
    // of `parent`; null when `parent` is not open. While a menu is open its pop-ups
    // get all keys and the mouse (PopupChain.h says how), not the other windows.
    std::shared_ptr<PopupWindow> showSubmenu(const PopupWindow& parent, int item,
                                             PopupWindow::Options options);
    // The windows open now.
    std::vector<std::shared_ptr<DisplayWindow>> windows() const;
    // The innermost pop-up open now, if any; all of them, the menu first.
    std::shared_ptr<PopupWindow> popup() const;
    std::vector<std::shared_ptr<PopupWindow>> popups() const;

    enum class StopReason { windowsClosed, quitRequested, timeLimit };
    struct RunOptions {
        // Seconds of real time after which the run ends (for scripts and tests).
        std::optional<double> timeLimit;
        RunLoop::Mode mode = RunLoop::Mode::defaultMode;
    };
    // Runs the application until no window is open, a quit is requested (also by the
    // desktop, e.g. an interrupt) or the time limit passes.
    StopReason run(const RunOptions& options);
    StopReason run() { return run(RunOptions{}); }
    // One turn of the loop: delivers the input that is waiting, runs the run loop's
    // due work, redraws the windows that need it and are due, then waits up to `wait`
    // seconds for more work (waking early for queued tasks and timers).
    void pump(double wait = 0, RunLoop::Mode mode = RunLoop::Mode::defaultMode);
    // Ends the run in progress (or the next one) at its next turn. Thread: any.
    void requestQuit();

  private:
    DisplayServer();
    // While connected: the application's event waiter and the menus' presenter.
    void install();
    void waitForInput(TimeInterval deadline, RunLoop::Mode mode,
                      const std::function<bool()>& arrived);
    // Shows a popped-up NSMenu and pumps until it is finished: the item chosen, none
    // when the menu was dismissed (MenuPresenter.cpp).
    std::shared_ptr<NSMenuItem> presentMenu(NSMenu& menu, const NSMenu::PopUp& request);
    struct MenuOutcome;
    // Opens one level of an NSMenu, the menu (no parent) or the submenu of `parent`'s
    // item; its submenus open beside their rows, and a choice in any level ends the menu.
    std::shared_ptr<PopupWindow> openMenuLevel(const NSMenu& menu, CGPoint screenTopLeft,
                                               CGFloat minimumWidth, int initialHighlight,
                                               const PopupWindow* parent, int parentItem,
                                               const std::shared_ptr<MenuOutcome>& outcome);
    void deliver(SDL_Event& event);
    void deliverMouseToPopup(const SDL_Event& event, unsigned windowId, int x, int y);
    void redrawDue(double now);
    double secondsUntilNextRedraw(double now) const;
    void forget(unsigned windowId);
    std::shared_ptr<DisplayWindow> windowWithId(unsigned id) const;

    CGFloat scale = 1;
    std::vector<std::shared_ptr<DisplayWindow>> open;
    std::unique_ptr<PopupChain> menu;
    uint16_t keyboardModifiers = 0;
    std::atomic<bool> quitRequested{false};
    std::unique_ptr<DisplayNative::CursorShower> cursors;
    NSMenu::Presenter previousPresenter;
};
