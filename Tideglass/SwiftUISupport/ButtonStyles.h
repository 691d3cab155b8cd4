#pragma once
// The library's button styles for declarative buttons, drawn like its bitmap push
// button: the label over the stretched button artwork, which swaps to the pressed
// artwork while the button is held; 24 points high whatever the label's font.
// - DefaultQuarroButtonStyle: the plain style (11 pt regular); a disabled button
//   shows its label at half opacity.
// - KorvaneButtonStyle: the maker's style (12 pt bold, rounded), with no disabled look.
// Thread: main (bodies are built there).

#include "SwiftUI/SwiftUI.h"

struct DefaultQuarroButtonStyle {
    // Reads isEnabled from the view environment.
    SwiftUI::AnyView makeBody(const SwiftUI::ButtonStyleConfiguration& configuration,
                              SwiftUI::ViewContext& ctx) const;
};

struct KorvaneButtonStyle {
    SwiftUI::AnyView makeBody(const SwiftUI::ButtonStyleConfiguration& configuration) const;
};
