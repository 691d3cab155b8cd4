#pragma once
// The gallery's sheets: each a grid of cells, one control in one state per cell.
// A cell shows declarative views or hosts an AppKit control in the control harness's
// key window, and may then put it in a state with events (press and hold, focus, type
// into a label) before it is drawn.
//
// Where sheets come from. Each family of controls registers its sheets in a file of its
// own (tools/gallery/<Family>Sheet.cpp, listed in this folder's CMakeLists.txt):
//     static const GalleryRegistration checkBoxes([] {
//         return std::vector<GallerySheet>{{"check-boxes", 6, {
//             controlCell("on", {120, 28}, [] { ...make and set up the control... }),
//             controlCell("pressed", {120, 28}, makeOne, pressedControl),
//         }}};
//     });
// The PNG sheets draw every cell; the interactive page (GalleryPage.h) shows the
// library's cells, AppKit and declarative, that need no events to reach their state,
// live in one real window.
// Thread: main.

#include "AppKit/NSControl.h"
#include "SwiftUI/SwiftUI.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class ControlHarness;

// A cell shows declarative views (`view`) or, when there are none, an AppKit control
// held at its frame (`control`; the frame is read from the cell's top-left).
struct GalleryCell {
    std::string caption;
    std::function<SwiftUI::AnyView()> view;
    CGSize size;
    std::function<void(ControlHarness&)> pose; // none: as it comes
    std::function<std::shared_ptr<NSView>()> control;
};

struct GallerySheet {
    std::string name;
    int columns;
    std::vector<GalleryCell> cells;
    // A sheet of the control library's controls, whose cells the interactive page shows
    // live; the plug-in framework's sheets are drawn only.
    bool library = true;
};

// Adds a family's sheets, made when the gallery asks for them.
class GalleryRegistration {
  public:
    explicit GalleryRegistration(std::function<std::vector<GallerySheet>()> makeSheets);
};

// Every registered sheet, by name.
std::vector<GallerySheet> gallerySheets();

// A cell hosting the AppKit control that `make` returns.
GalleryCell controlCell(std::string caption, CGSize size,
                        std::function<std::shared_ptr<NSView>()> make,
                        std::function<void(ControlHarness&)> pose = nullptr);
// The control an AppKit cell's harness holds.
std::shared_ptr<NSView> heldControl(const ControlHarness& h);
// Poses of AppKit cells: the mouse held down in the control's middle; the control the
// first responder of the key window; the same in a window that is no longer key.
void pressedControl(ControlHarness& h);
void focusedControl(ControlHarness& h);
void focusedInInactiveWindow(ControlHarness& h);

// The receiver of the gallery controls' actions: it keeps each as a line — the
// control's identifier (the page gives each its caption) or title, the action and the
// control's value (a button's state, a pop-up's item, a field's or combo box's text, a
// segmented control's segment, a slider's number) — which the interactive page shows
// and prints. Declarative controls, which send no actions, say their lines themselves.
class GalleryActionLog : public NSObject {
  public:
    static const std::shared_ptr<GalleryActionLog>& shared();
    void primary(NSObject* sender) { note(sender, "action"); }
    void secondary(NSObject* sender) { note(sender, "secondary action"); }
    // Keeps a line of its own.
    void say(const std::string& line);
    std::vector<std::string> lines;
    // Called with each new line.
    std::function<void(const std::string&)> onLine;

  private:
    void note(NSObject* sender, const std::string& what);
};
// Makes the log the control's target, with `primary` as its action.
void logsActions(NSControl& control);
// A number as the log shows it: at most two decimals, no trailing zeros.
std::string galleryNumber(double value);
