// The registry of sheets, the AppKit cells and their poses, and the action log.

#include "Sheets.h"

#include "AppKit/NSButton.h"
#include "AppKit/NSPopUpButton.h"
#include "AppKit/NSSegmentedControl.h"
#include "AppKit/NSSlider.h"
#include "AppKit/NSTextField.h"
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

namespace {
// A control's value as the log shows it: a pop-up's item, a field's (or combo box's)
// text and a segmented control's segment in quotes, a slider's number, a button's state.
std::string shownValue(NSObject* sender) {
    auto quoted = [](const std::string& text) { return " \"" + text + "\""; };
    if (auto* popUp = dynamic_cast<NSPopUpButton*>(sender))
        return quoted(popUp->titleOfSelectedItem());
    if (auto* button = dynamic_cast<NSButton*>(sender))
        return button->state() == NSCell::StateValue::on      ? " (on)"
               : button->state() == NSCell::StateValue::mixed ? " (mixed)"
                                                              : " (off)";
    if (auto* field = dynamic_cast<NSTextField*>(sender))
        return quoted(field->stringValue());
    if (auto* segmented = dynamic_cast<NSSegmentedControl*>(sender)) {
        const int i = segmented->selectedSegment();
        return quoted(i < 0 ? "none" : segmented->label(i).value_or(std::to_string(i)));
    }
    if (auto* slider = dynamic_cast<NSSlider*>(sender))
        return " " + galleryNumber(slider->doubleValue());
    return "";
}
} // namespace

std::string galleryNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string shown = text;
    while (shown.back() == '0')
        shown.pop_back();
    if (shown.back() == '.')
        shown.pop_back();
    return shown == "-0" ? "0" : shown;
}

void GalleryActionLog::note(NSObject* sender, const std::string& what) {
    std::string line = what;
    if (auto* view = dynamic_cast<NSView*>(sender)) {
        std::string name = view->identifier;
        if (auto* button = dynamic_cast<NSButton*>(sender); name.empty() && button)
            name = button->title();
        line = name + ": " + what + shownValue(sender);
    }
    say(line);
}

void GalleryActionLog::say(const std::string& line) {
    lines.push_back(line);
    if (onLine)
        onLine(line);
}

void logsActions(NSControl& control) {
    control.setTarget(GalleryActionLog::shared());
    control.setAction(&GalleryActionLog::primary);
}
