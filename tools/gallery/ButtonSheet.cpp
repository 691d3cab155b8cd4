// The button controls of the control library: push buttons, check boxes and the star,
// each in its states.

#include "AppKit/NSFont.h"
#include "AppKit/NSImage.h"
#include "Controls/Buttons.h"
#include "Controls/StyledCheckBox.h"
#include "Controls/StyledPopDownButton.h"
#include "Controls/ToolButton.h"
#include "Sheets.h"
#include "Styles/TideglassResources.h"
#include "TestSupport/ControlHarness.h"

namespace {

using S = NSCell::StateValue;

std::shared_ptr<NSView> pushButton(bool enabled = true, bool selected = false) {
    auto b = make<StyledButton>(CGRect{10, 10, 100, 24});
    b->setTitle("Apply");
    b->setEnabled(enabled);
    b->setSelected(selected);
    logsActions(*b);
    return b;
}

std::shared_ptr<NSView> fixedSize(bool enabled = true, NSBezelStyle bezel = NSBezelStyle::rounded) {
    auto b = make<QuarroPushButton>(CGRect{10, 7, 100, 30}, 30.0, 100.0);
    b->setTitle("Render");
    b->setBezelStyle(bezel);
    b->setEnabled(enabled);
    logsActions(*b);
    return b;
}

std::shared_ptr<NSView> toggleOn() {
    auto b = make<StyledButton>(CGRect{10, 10, 100, 24});
    b->setTitle("Bypass");
    b->setButtonType(NSButtonType::pushOnPushOff);
    b->setState(S::on);
    logsActions(*b);
    return b;
}

template <class Box = StyledCheckBox>
std::function<std::shared_ptr<NSView>()> box(const char* title, S state, bool enabled = true) {
    return [=] {
        auto b = make<Box>(CGRect{10, 12, 110, 20});
        b->setTitle(title);
        b->setState(state);
        b->setEnabled(enabled);
        logsActions(*b);
        return std::static_pointer_cast<NSView>(b);
    };
}

GallerySheet pushButtons() {
    const CGSize size{120, 44};
    return {"push-buttons",
            6,
            {
                controlCell("normal", size, [] { return pushButton(); }),
                controlCell("on", size, toggleOn),
                controlCell(
                    "pressed", size, [] { return pushButton(); }, pressedControl),
                controlCell("disabled", size, [] { return pushButton(false); }),
                controlCell(
                    "focused", size, [] { return pushButton(); }, focusedControl),
                controlCell(
                    "focused, window not key", size, [] { return pushButton(); },
                    focusedInInactiveWindow),
                controlCell("fixed-size", size, [] { return fixedSize(); }),
                controlCell("fixed-size, square", size,
                            [] { return fixedSize(true, NSBezelStyle::shadowlessSquare); }),
                controlCell(
                    "fixed-size pressed", size, [] { return fixedSize(); }, pressedControl),
                controlCell("fixed-size disabled", size, [] { return fixedSize(false); }),
                controlCell(
                    "fixed-size focused", size, [] { return fixedSize(); }, focusedControl),
                controlCell(
                    "fixed-size, window not key", size, [] { return fixedSize(); },
                    focusedInInactiveWindow),
            }};
}

GallerySheet checkBoxes() {
    const CGSize size{130, 44};
    return {
        "check-boxes",
        6,
        {
            controlCell("off", size, box("Sync", S::off)),
            controlCell("on", size, box("Sync", S::on)),
            controlCell("mixed", size, box("Sync", S::mixed)),
            controlCell("pressed, on", size, box("Sync", S::on), pressedControl),
            controlCell("disabled, on", size, box("Sync", S::on, false)),
            controlCell("focused", size, box("Sync", S::off), focusedControl),
            controlCell("star off", size, box<FavouriteCheckBox>("Favourite", S::off)),
            controlCell("star on", size, box<FavouriteCheckBox>("Favourite", S::on)),
            controlCell("star pressed", size, box<FavouriteCheckBox>("Favourite", S::off),
                        pressedControl),
            controlCell("star disabled", size, box<FavouriteCheckBox>("Favourite", S::on, false)),
            controlCell("star focused", size, box<FavouriteCheckBox>("Favourite", S::on),
                        focusedControl),
            controlCell("star, window not key", size, box<FavouriteCheckBox>("Favourite", S::on),
                        focusedInInactiveWindow),
        }};
}

template <class Button = StyledPopUpButton>
std::function<std::shared_ptr<NSView>()> popUp(std::optional<std::string> label = std::nullopt,
                                               bool enabled = true) {
    return [=] {
        // A tool pop-up is a small toolbar control, as high as its art: a long title is
        // cut short with an ellipsis, as in the other pop-ups.
        const bool tool = std::is_same_v<Button, ToolPopUpButton>;
        auto b = make<Button>(CGRect{10, 11, tool ? 70.0 : 130.0, 22}, false, std::nullopt);
        for (const char* title : {"Tape", "Bucket brigade", "Digital"})
            b->addItem(title);
        if (tool)
            b->setFrameSize({70, b->intrinsicContentSize().height});
        b->selectItem(1);
        b->setLabel(label);
        b->setEnabled(enabled);
        logsActions(*b);
        return std::static_pointer_cast<NSView>(b);
    };
}

std::function<std::shared_ptr<NSView>()> popDown(std::optional<std::string> label = std::nullopt,
                                                 bool enabled = true) {
    return [=] {
        auto b = make<StyledPopDownButton>(CGRect{10, 11, 130, 22});
        b->addItem("Newest first");
        b->setTitle("Sort");
        b->setLabel(label);
        b->setEnabled(enabled);
        logsActions(*b);
        return std::static_pointer_cast<NSView>(b);
    };
}

// Shown pressed without opening the menu.
void highlighted(ControlHarness& h) {
    std::dynamic_pointer_cast<NSControl>(heldControl(h))->highlight(true);
}

GallerySheet menuButtons() {
    const CGSize size{150, 44};
    return {
        "menu-buttons",
        6,
        {
            controlCell("pop-up", size, popUp()),
            controlCell("pop-up, label", size, popUp("Model:")),
            controlCell("pop-up pressed", size, popUp(), highlighted),
            controlCell("pop-up disabled", size, popUp(std::nullopt, false)),
            controlCell("pop-up focused", size, popUp(), focusedControl),
            controlCell("pop-up, window not key", size, popUp(), focusedInInactiveWindow),
            controlCell("tool pop-up", size, popUp<ToolPopUpButton>()),
            controlCell("tool pop-up pressed", size, popUp<ToolPopUpButton>(), highlighted),
            controlCell("tool pop-up disabled", size, popUp<ToolPopUpButton>(std::nullopt, false)),
            controlCell("tool pop-up focused", size, popUp<ToolPopUpButton>(), focusedControl),
            controlCell("pop-down", size, popDown()),
            controlCell("pop-down, label", size, popDown("By")),
            controlCell("pop-down pressed", size, popDown(), pressedControl),
            controlCell("pop-down disabled", size, popDown("By", false)),
        }};
}

std::function<std::shared_ptr<NSView>()> tool(bool more, S state = S::off, bool enabled = true) {
    return [=] {
        auto b = make<ToolButton>(CGRect{10, 10, 30, 24});
        b->setImage(TideglassResources::nsImage("organiser-icon-star"));
        b->setFrameSize(b->intrinsicContentSize());
        b->setShowMoreIcon(more);
        b->setState(state);
        b->setEnabled(enabled);
        b->secondaryTarget = GalleryActionLog::shared();
        b->secondaryAction = &GalleryActionLog::secondary;
        logsActions(*b);
        return std::static_pointer_cast<NSView>(b);
    };
}

GallerySheet toolButtons() {
    const CGSize size{90, 44};
    return {"tool-buttons",
            6,
            {
                controlCell("tool", size, tool(false)),
                controlCell("tool, more", size, tool(true)),
                controlCell("on", size, tool(true, S::on)),
                controlCell("pressed", size, tool(false), highlighted),
                controlCell("disabled", size, tool(true, S::off, false)),
                controlCell("focused", size, tool(true), focusedControl),
            }};
}

template <class Button>
std::function<std::shared_ptr<NSView>()> small(S state = S::off, bool enabled = true,
                                               CGFloat alpha = 1) {
    return [=] {
        auto b = make<Button>(CGRect{10, 10, 40, 26});
        if constexpr (std::is_same_v<Button, CornerButton>) {
            // Centred: proportional scaling puts an image at the frame's min corner.
            b->setImage(TideglassResources::nsImage("organiser-icon-star"));
            b->setImageScaling(NSImageScaling::scaleNone);
        }
        if constexpr (std::is_same_v<Button, DarkHighlightButton>) {
            b->setImage(TideglassResources::nsImage("organiser-icon-star"));
            b->setBordered(false);
            b->customCursor = NSCursor::pointingHand();
        }
        b->setState(state);
        b->setEnabled(enabled);
        b->setAlphaValue(alpha);
        logsActions(*b);
        return std::static_pointer_cast<NSView>(b);
    };
}

// The cursor button and the pop-up cycling button beside the pop-up it steps. Their
// cursor art, "cursor-cycle", is the gallery's own (its main bundle's).
std::shared_ptr<NSView> cursorButton(bool enabled = true) {
    auto b = make<CursorButton>(CGRect{6, 10, 50, 24});
    b->cell()->font = NSFont::systemFont(11);
    b->setTitle("Go");
    b->setEnabled(enabled);
    logsActions(*b);
    return b;
}

std::shared_ptr<NSView> cycling(bool enabled = true) {
    auto box = make<NSView>(CGRect{0, 0, 150, 46});
    auto popUp = make<StyledPopUpButton>(CGRect{4, 11, 84, 22}, false, std::nullopt);
    for (const char* title : {"Tape", "Bucket", "Digital"})
        popUp->addItem(title);
    popUp->identifier = "cycled pop-up";
    logsActions(*popUp);
    auto next = make<PopUpCyclingButton>(CGRect{92, 11, 56, 22});
    next->cell()->font = NSFont::systemFont(11);
    next->setTitle("Next");
    next->setImage(NSImage::named("cursor-cycle")); // after the title, trailing it
    next->setTarget(popUp);
    next->setEnabled(enabled);
    box->addSubview(popUp);
    box->addSubview(next);
    return box;
}

GallerySheet smallButtons() {
    const CGSize size{70, 46};
    return {"small-buttons",
            6,
            {
                controlCell("back", size, small<BackButton>()),
                controlCell("back on", size, small<BackButton>(S::on)),
                controlCell("back pressed", size, small<BackButton>(), pressedControl),
                controlCell("back disabled", size, small<BackButton>(S::off, false)),
                controlCell("back faded", size, small<BackButton>(S::off, true, 0.5)),
                controlCell("back focused", size, small<BackButton>(), focusedControl),
                controlCell("corner", size, small<CornerButton>()),
                controlCell("corner pressed", size, small<CornerButton>(), pressedControl),
                controlCell("corner disabled", size, small<CornerButton>(S::off, false)),
                controlCell("dark", size, small<DarkHighlightButton>()),
                controlCell("dark pressed", size, small<DarkHighlightButton>(), highlighted),
                controlCell("dark disabled", size, small<DarkHighlightButton>(S::off, false)),
            }};
}

GallerySheet cursorButtons() {
    const CGSize size{90, 46}, wide{150, 46};
    return {"cursor-buttons",
            5,
            {
                controlCell("cursor", size, [] { return cursorButton(); }),
                controlCell(
                    "cursor pressed", size, [] { return cursorButton(); }, pressedControl),
                controlCell("cursor disabled", size, [] { return cursorButton(false); }),
                controlCell("cycling", wide, [] { return cycling(); }),
                controlCell("cycling disabled", wide, [] { return cycling(false); }),
            }};
}

const GalleryRegistration buttons([] {
    return std::vector<GallerySheet>{pushButtons(), checkBoxes(),   menuButtons(),
                                     toolButtons(), smallButtons(), cursorButtons()};
});

} // namespace
