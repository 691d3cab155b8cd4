#pragma once
// A ready-made title bar for a plug-in editor, 46 points high: the maker's logo at the
// left (a click opens the maker's web site), one tab button per value string of a tab
// parameter in the middle (the selected tab is the parameter's value), and at the
// right the plug-in's version, or the update button when a newer version is known,
// followed by a view the caller supplies. Thread: main.

#include "Foundation/URL.h"
#include "Update/UpdateAvailableDetails.h"
#include "Utilities/OrreryFont.h"
#include "Views/Buttons.h"

#include <functional>
#include <optional>
#include <string>

struct PluginHeaderView : SwiftUI::View<PluginHeaderView> {
    // `menu` is built once, here.
    PluginHeaderView(URL appUpdateURL, std::string pluginVersion, ParameterBinding tabParameter,
                     OrreryFont font, std::optional<UpdateAvailableDetails> updateDetails,
                     const std::function<SwiftUI::AnyView()>& menu)
        : appUpdateURL(std::move(appUpdateURL)), pluginVersion(std::move(pluginVersion)),
          tabParameter(std::move(tabParameter)), updateDetails(std::move(updateDetails)),
          font(font), menu(menu ? menu() : SwiftUI::AnyView(SwiftUI::EmptyView())) {}
    // Without a trailing view.
    PluginHeaderView(URL appUpdateURL, std::string pluginVersion, ParameterBinding tabParameter,
                     OrreryFont font, std::optional<UpdateAvailableDetails> updateDetails)
        : PluginHeaderView(std::move(appUpdateURL), std::move(pluginVersion),
                           std::move(tabParameter), font, std::move(updateDetails), nullptr) {}

    SwiftUI::AnyView body() const;

    URL appUpdateURL;
    std::string pluginVersion;
    ParameterBinding tabParameter;
    std::optional<UpdateAvailableDetails> updateDetails;
    OrreryFont font;
    SwiftUI::AnyView menu;
};
