#include "SwiftUISupport/TideSettings.h"

#include "Runtime/Runtime.h"

using namespace SwiftUI;

TideSettings::TideSettings(CGFloat labelWidth, CGFloat settingsWidth,
                           const std::function<AnyView()>& makeContent)
    : content(makeContent().environment(std::make_shared<TideSettingsConfig>(labelWidth))),
      settingsWidth(settingsWidth) {}

AnyView TideSettings::body() const {
    Runtime::assertMainThread("TideSettings.body");
    return Form(content).frame(settingsWidth, std::nullopt, Alignment::center());
}

AnyView TideSettingsSection::body(ViewContext& ctx) const {
    Runtime::assertMainThread("TideSettingsSection.body");
    auto config = ctx.environment<TideSettingsConfig>();
    return LabeledContent(
        VStack(HorizontalAlignment::leading(), CGFloat(4), FillEachChildLeading(content).rows())
            .frame({.maxWidth = infinity}),
        HStack(VerticalAlignment::center(),
               Text(label).frame(config->labelWidth(), std::nullopt, Alignment::center())));
}

AnyView TideSettingsDivider::body() const {
    Runtime::assertMainThread("TideSettingsDivider.body");
    return Section(Divider().padding(EdgeInsets{8, 16, 8, 16}));
}

std::vector<AnyView> FillEachChildLeading::rows() const {
    Runtime::assertMainThread("FillEachChildLeading.rows");
    return subviewsOf(content, [](const AnyView& child) {
        return AnyView(HStack(VerticalAlignment::center(), child, Spacer()));
    });
}
