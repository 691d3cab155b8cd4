#pragma once
// The typefaces of the plug-in editors, used by name: the fonts ship in the
// application's and the extension's resources, where the drawing layer finds them
// (the platform substitutes its own face when one is missing). Thread: any.

#include <string>

enum class OrreryFont { rocket, dosisLight, dosisMedium };

// The font name of a case: "Rocket", "Dosis-Light", "Dosis-Medium".
inline const char* fontName(OrreryFont font) {
    switch (font) {
    case OrreryFont::rocket:
        return "Rocket";
    case OrreryFont::dosisLight:
        return "Dosis-Light";
    case OrreryFont::dosisMedium:
        return "Dosis-Medium";
    }
    return "Dosis-Medium";
}
