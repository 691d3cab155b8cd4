#include "Views/PluginHeaderView.h"

#include "AppKit/NSWorkspace.h"
#include "Runtime/Runtime.h"
#include "Utilities/Utilities.h"
#include "Views/ButtonStyles.h"
#include "Views/OrreryResources.h"

using namespace SwiftUI;

namespace {
void open(const URL& url) {
    Runtime::assertMainThread("PluginHeaderView link");
    NSWorkspace::shared()->open(url);
}
} // namespace

AnyView PluginHeaderView::body() const {
    Runtime::assertMainThread("PluginHeaderView");
    AnyView logo = Button([] { open(companySite()); }, orreryImage("korvane-logo"))
                       .buttonStyle(PlainButtonStyle{});
    AnyView leading = HStack(VerticalAlignment::center(), logo, Spacer());

    auto param = tabParameter;
    const float selected = param.get()->value.get();
    std::vector<AnyView> tabs;
    const auto strings = param.get()->valueStrings.value_or(std::vector<std::string>{});
    for (size_t i = 0; i < strings.size(); ++i) {
        const float index = float(i);
        AnyView title =
            orreryFont(Text(uppercased(strings[i])), font, 16)
                .foregroundColor(orreryColor(selected == index ? "tabSelected" : "tabUnselected"));
        tabs.push_back(Button(
                           [param, index] {
                               Runtime::assertMainThread("PluginHeaderView tab");
                               param.get()->setValue(index, ParameterEditor::ui,
                                                     ParameterEditorState::change);
                           },
                           title)
                           .buttonStyle(PlainButtonStyle{})
                           .id(strings[i]));
    }
    AnyView middle = HStack(VerticalAlignment::center(), std::nullopt,
                            {HStack(VerticalAlignment::center(), 24, std::move(tabs))});

    AnyView version;
    if (updateDetails) {
        URL target = appUpdateURL;
        version = Button([target] { open(target); },
                         Text(uppercased(updateDetails->newVersion + " Available")))
                      .buttonStyle(UpdateButtonStyle{});
    } else {
        version =
            orreryFont(Text(pluginVersion), font, 13).foregroundColor(orreryColor("versionInfo"));
    }
    AnyView trailing = HStack(VerticalAlignment::center(), Spacer(),
                              HStack(VerticalAlignment::center(), version, menu));

    return ZStack(Alignment::center(), leading, middle, trailing)
        .padding(Edge::leading, 8)
        .padding(Edge::trailing, 16)
        .frame(std::nullopt, 46)
        .background(orreryColor("background").ignoresSafeArea());
}
