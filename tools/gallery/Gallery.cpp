// The registry of sheets, the AppKit cells and their poses, and the action log.

#include "Sheets.h"

#include "AppKit/NSButton.h"
#include "AppKit/NSPopUpButton.h"
#include "AppKit/NSWindow.h"
#include "TestSupport/ControlHarness.h"

#include <algorithm>
#include <cstdio>

namespace {
std::vector<std::function<std::vector<GallerySheet>()>>& registered() {
    static std::vector<std::function<std::vector<GallerySheet>()>> makers;
    return makers;
}
} // namespace

GalleryRegistration::GalleryRegistration(std::function<std::vector<GallerySheet>()> makeSheets) {
    registered().push_back(std::move(makeSheets));
}

std::vector<GallerySheet> gallerySheets() {
    std::vector<GallerySheet> all;
    for (const auto& make : registered())
        for (auto& sheet : make())
            all.push_back(std::move(sheet));
    std::stable_sort(all.begin(), all.end(),
                     [](const auto& a, const auto& b) { return a.name < b.name; });
    return all;
}

GalleryCell controlCell(std::string caption, CGSize size,
                        std::function<std::shared_ptr<NSView>()> make,
                        std::function<void(ControlHarness&)> pose) {
    return {std::move(caption), nullptr, size, std::move(pose), std::move(make)};
}

std::shared_ptr<NSView> heldControl(const ControlHarness& h) {
    const auto& held = h.window->contentView()->subviews();
    return held.empty() ? nullptr : held.front();
}

void pressedControl(ControlHarness& h) {
    if (auto control = heldControl(h))
        h.press(h.centre(*control));
}

void focusedControl(ControlHarness& h) {
    if (auto control = heldControl(h))
        h.focus(control);
}

void focusedInInactiveWindow(ControlHarness& h) {
    focusedControl(h);
    h.window->resignKeyWindow();
}

const std::shared_ptr<GalleryActionLog>& GalleryActionLog::shared() {
    static const std::shared_ptr<GalleryActionLog> log = make<GalleryActionLog>();
    return log;
}

void GalleryActionLog::note(NSObject* sender, const std::string& what) {
    std::string line = what;
    if (auto* view = dynamic_cast<NSView*>(sender)) {
        std::string name = view->identifier;
        auto* popUp = dynamic_cast<NSPopUpButton*>(sender);
        auto* button = dynamic_cast<NSButton*>(sender);
        if (name.empty() && button)
            name = button->title();
        line = name + ": " + what;
        if (popUp)
            line += " \"" + popUp->titleOfSelectedItem() + "\"";
        else if (button)
            line += button->state() == NSCell::StateValue::on      ? " (on)"
                    : button->state() == NSCell::StateValue::mixed ? " (mixed)"
                                                                   : " (off)";
    }
    lines.push_back(line);
    if (onLine)
        onLine(line);
}

void logsActions(NSControl& control) {
    control.setTarget(GalleryActionLog::shared());
    control.setAction(&GalleryActionLog::primary);
}
