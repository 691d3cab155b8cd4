#include "Views/ButtonStyles.h"

#include "Runtime/Runtime.h"
#include "Views/Buttons.h"
#include "Views/OrreryResources.h"

using namespace SwiftUI;

AnyView ModernButtonStyle::makeBody(const ButtonStyleConfiguration& configuration) const {
    Runtime::assertMainThread("ModernButtonStyle");
    // The face lies behind the label's stack, so it takes the label's width.
    AnyView face = orreryImage(ButtonFaces::toggle(isOn, configuration.isPressed))
                       .resizable(EdgeInsets{}, Image::ResizingMode::stretch);
    AnyView label =
        configuration.label
            .foregroundColor(isOn ? ColorValue(color) : ColorValue(orreryColor("buttonText")))
            .offset(0, 2);
    return ZStack(Alignment::center(), label).frame(std::nullopt, 27).background(face);
}

AnyView SettingsButtonStyle::makeBody(const ButtonStyleConfiguration& configuration) const {
    Runtime::assertMainThread("SettingsButtonStyle");
    AnyView face =
        orreryImage(configuration.isPressed ? "settings-button-down" : "settings-button");
    AnyView label = configuration.label.foregroundColor(orreryColor("buttonText"))
                        .offset(0, font == OrreryFont::rocket ? 2 : 0);
    return ZStack(Alignment::center(), face, label);
}

AnyView UpdateButtonStyle::makeBody(const ButtonStyleConfiguration& configuration) const {
    Runtime::assertMainThread("UpdateButtonStyle");
    return orreryFont(configuration.label, OrreryFont::rocket, 13)
        .foregroundColor(orreryColor("background"))
        .padding(Edge::horizontal, 4)
        .padding(Edge::top, 2)
        .background(RoundedRectangle(CGSize{4, 4}, RoundedCornerStyle::continuous)
                        .fill(orreryColor("updateBackground")))
        .opacity(configuration.isPressed ? 0.8 : 1.0);
}
