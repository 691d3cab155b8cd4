#pragma once
// Button styles that give an ordinary button the framework's faces: the wide modern
// toggle face (stretched to the label), the settings face, and the pill of the
// update-available button. Thread: main.

#include "SwiftUI/SwiftUI.h"
#include "Utilities/OrreryFont.h"

// "modern-button[-on][-down]" stretched to the label, 27 points high; the label in
// `color` when on, else "buttonText", 2 points down.
struct ModernButtonStyle {
    bool isOn;
    SwiftUI::Color color;
    SwiftUI::AnyView makeBody(const SwiftUI::ButtonStyleConfiguration& configuration) const;
};

// "settings-button[-down]" at its own size; the label in "buttonText", 2 points down
// for the rocket face. The caller sets the label's font.
struct SettingsButtonStyle {
    OrreryFont font;
    SwiftUI::AnyView makeBody(const SwiftUI::ButtonStyleConfiguration& configuration) const;
};

// The label in rocket 13 and "background", padded 4 at the sides and 2 at the top,
// on a rounded "updateBackground" pill; 0.8 opaque while pressed.
struct UpdateButtonStyle {
    SwiftUI::AnyView makeBody(const SwiftUI::ButtonStyleConfiguration& configuration) const;
};
