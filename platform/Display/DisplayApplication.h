#pragma once
// Runs an NSApplication on the desktop: every window the application presents opens as
// a real window of the server (and is forgotten when the person closes it, or its code
// orders it out or closes it; the window shown last then takes the keyboard); asking for
// a menu in one of them (right button, F10, Menu key) pops up the application menu —
// the first submenu of the main menu — and runs the chosen item; the application runs
// until it is terminated, its last window closes, or the desktop asks it to quit.
//
//   auto server = DisplayServer::connect();
//   DisplayApplication::install(NSApplication::shared(), *server);
//   NSApplication::shared().presentWindow(window);
//   NSApplication::shared().run();
//
// Thread: main thread.

#include <memory>

class DisplayServer;
class NSApplication;
class NSMenu;

namespace DisplayApplication {

void install(NSApplication& application, DisplayServer& server);
// The menu that a menu request shows: the main menu's first submenu, if any.
std::shared_ptr<NSMenu> applicationMenu(const NSApplication& application);

} // namespace DisplayApplication
