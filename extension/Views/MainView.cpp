#include "Views/MainView.h"

#include "FactoryPresets.h"
#include "Settings.h"
#include "Utilities/Utilities.h"
#include "Views/Buttons.h"
#include "Views/DelayFeedbackGridView.h"
#include "Views/EditorDials.h"
#include "Views/EmberfallAssets.h"
#include "Views/MeterView.h"
#include "Views/OrreryResources.h"

#include <algorithm>

using namespace SwiftUI;

namespace {

using SettingsRef = std::shared_ptr<Settings>;

constexpr CGFloat versionTracking = 1;

// ---- Header ----

struct PresetTitle : View<PresetTitle> {
    AnyView body(ViewContext& ctx) const {
        SettingsRef settings = ctx.environment<Settings>();
        const std::optional<FactoryPreset> current = settings->currentPreset();
        // Clicks on the title fall through to the menu beneath it.
        return HStack(VerticalAlignment::center(), CGFloat(2),
                      orreryFont(Text(current ? uppercased(current->name) : "DEFAULT"),
                                 OrreryFont::dosisLight, 13)
                          .foregroundColor(orreryPluginBlue())
                          .allowsHitTesting(false),
                      Spacer())
            .padding(Edge::leading, 4);
    }
};

// The revert arrow of a modified preset. It stands after the preset buttons rather
// than on the preset box, so that no click meant for the menu lands on it and throws
// the edits away; there it moves nothing else when it comes and goes.
struct RevertButton : View<RevertButton> {
    AnyView body(ViewContext& ctx) const {
        SettingsRef settings = ctx.environment<Settings>();
        if (!settings->isPresetModified())
            return EmptyView();
        std::weak_ptr<Settings> weak = settings;
        return Button(
                   [weak] {
                       auto s = weak.lock();
                       if (!s)
                           return;
                       if (auto preset = s->currentPreset())
                           s->applyFactoryPreset(*preset);
                   },
                   Image(EmberfallAssets::headerPresetRevert()))
            .buttonStyle(PlainButtonStyle())
            .accessibilityIdentifier("revertPreset");
    }
};

struct PresetBox : View<PresetBox> {
    AnyView body(ViewContext& ctx) const {
        SettingsRef settings = ctx.environment<Settings>();
        return ZStack(Alignment::center(),
                      Menu(MainView::presetMenu(settings), Image(EmberfallAssets::headerPreset()))
                          .buttonStyle(PlainButtonStyle())
                          .accessibilityIdentifier("presetMenu"),
                      PresetTitle())
            .frame(154, 22);
    }
};

struct VersionOrUpdate : View<VersionOrUpdate> {
    AnyView body(ViewContext& ctx) const {
        SettingsRef settings = ctx.environment<Settings>();
        const std::optional<UpdateAvailableDetails> update = settings->updateDetails.get();
        AnyView content;
        if (update) {
            content = Button([] { EmberfallLinks::open(EmberfallLinks::updateRequest()); },
                             Text(uppercased(update->newVersion + " Available")))
                          .buttonStyle(EmberfallUpdateButtonStyle())
                          .accessibilityIdentifier("updateButton");
        } else {
            // Spaced out a little: at one pixel a point this light face's full stops
            // are too faint to part the digits, and "1.0.0" would read as "10.0".
            content = orreryFont(Text(settings->pluginVersion()), OrreryFont::dosisLight, 13)
                          .tracking(versionTracking)
                          .foregroundColor(orreryPluginBlue().opacity(0.7))
                          .accessibilityIdentifier("version");
        }
        return HStack(VerticalAlignment::center(), content);
    }
};

AnyView header(const SettingsRef& settings) {
    std::weak_ptr<Settings> weak = settings;
    auto step = [weak](bool forward) {
        return [weak, forward] {
            if (auto s = weak.lock())
                forward ? s->selectNextPreset() : s->selectPreviousPreset();
        };
    };
    return HStack(VerticalAlignment::center(), CGFloat(4),
                  Image(EmberfallAssets::korvaneLogo()).offset(0, 1),
                  Spacer().frame(32, std::nullopt), PresetBox(),
                  Button(step(false), Image(EmberfallAssets::headerPresetPrevious()))
                      .buttonStyle(PlainButtonStyle())
                      .accessibilityIdentifier("previousPreset"),
                  Button(step(true), Image(EmberfallAssets::headerPresetNext()))
                      .buttonStyle(PlainButtonStyle())
                      .accessibilityIdentifier("nextPreset"),
                  RevertButton(), Spacer(), VersionOrUpdate())
        .padding(EdgeInsets{0, 24, 0, 32})
        .frame(std::nullopt, 22);
}

// ---- Meters and pad ----

struct MeterColumn : View<MeterColumn> {
    explicit MeterColumn(bool input) : input(input) {}
    bool input;
    AnyView body(ViewContext& ctx) const {
        SettingsRef s = ctx.environment<Settings>();
        const bool stereo = s->isMeterStereo.get();
        const double levelL = input ? s->inLevelL.get() : s->outLevelL.get();
        const double holdL = input ? s->inHoldL.get() : s->outHoldL.get();
        std::vector<AnyView> meters{MeterView(levelL, holdL, 42, !stereo, 2, 2)};
        if (stereo) {
            const double levelR = input ? s->inLevelR.get() : s->outLevelR.get();
            const double holdR = input ? s->inHoldR.get() : s->outHoldR.get();
            meters.push_back(MeterView(levelR, holdR, 42, false, 2, 2));
        }
        return HStack(VerticalAlignment::center(), CGFloat(1), std::move(meters))
            .frame(11, std::nullopt)
            .padding(Edge::top, 8)
            .accessibilityIdentifier(input ? "inputMeters" : "outputMeters");
    }
};

AnyView meterPadRow() {
    return HStack(VerticalAlignment::top(), CGFloat(8), MeterColumn(true),
                  DelayFeedbackGridView(CGSize{370, 194}, 8), MeterColumn(false))
        .padding(Edge::horizontal, 32)
        .frame(472, std::nullopt, Alignment::top());
}

// ---- Mode buttons ----

struct ModeRow : View<ModeRow> {
    AnyView body(ViewContext& ctx) const {
        SettingsRef s = ctx.environment<Settings>();
        auto bind = [](const std::shared_ptr<AudioParameter>& p) {
            return ParameterBinding::constant(p);
        };
        std::vector<AnyView> buttons;
        for (int i = 0; i < 2; ++i)
            buttons.push_back(ChaosToggleButton(bind(s->delayType), i, ChaosButtonColor::yellow)
                                  .accessibilityIdentifier("delayType-" + std::to_string(i)));
        for (int i = 0; i < 4; ++i)
            buttons.push_back(ChaosToggleButton(bind(s->model), i, ChaosButtonColor::yellow)
                                  .accessibilityIdentifier("model-" + std::to_string(i)));
        auto label = [](const char* text, CGFloat width) {
            return orreryFont(Text(text), OrreryFont::dosisLight, 14)
                .foregroundColor(Color(EmberfallAssets::values()))
                .frame(width, std::nullopt);
        };
        return VStack(
                   HorizontalAlignment::center(), CGFloat(4),
                   HStack(VerticalAlignment::top(), std::optional<CGFloat>(24), std::move(buttons)),
                   HStack(VerticalAlignment::top(), CGFloat(24), label("DELAY", 120),
                          label("MODE", 264)),
                   Spacer())
            .padding(Edge::horizontal, 32)
            .frame(std::nullopt, 100)
            .offset(0, 2);
    }
};

// ---- The canvas ----

struct Canvas : View<Canvas> {
    AnyView body(ViewContext& ctx) const {
        SettingsRef settings = ctx.environment<Settings>();
        return ZStack(
            Alignment::top(), Image(EmberfallAssets::background()), header(settings).offset(0, 16),
            meterPadRow().offset(0, 46),
            VStack(HorizontalAlignment::center(), CGFloat(0), DialRow(), ChaosDialRow(), ModeRow())
                .offset(0, 276));
    }
};

} // namespace

CGFloat MainView::scale(CGSize proposed) {
    return std::min(proposed.width / canvasSize.width, proposed.height / canvasSize.height);
}

std::vector<MenuItem> MainView::presetMenu(const std::shared_ptr<Settings>& settings) {
    std::weak_ptr<Settings> weak = settings;
    auto apply = [weak](const FactoryPreset& preset) {
        return [weak, preset] {
            if (auto s = weak.lock())
                s->applyFactoryPreset(preset);
        };
    };
    const std::optional<FactoryPreset> current = settings->currentPreset();
    const FactoryPreset& defaultPreset = defaultFactoryPreset();

    std::vector<MenuItem> menu;
    menu.push_back(MenuItem::button(defaultPreset.name, apply(defaultPreset),
                                    current && current->id() == defaultPreset.id()));
    menu.push_back(MenuItem::divider());
    for (const PresetGroup& group : factoryPresetGroups()) {
        std::vector<MenuItem> items;
        for (const FactoryPreset& preset : group.presets)
            items.push_back(MenuItem::button(preset.name, apply(preset),
                                             current && current->id() == preset.id()));
        menu.push_back(MenuItem::submenu(group.style, std::move(items),
                                         current && current->style == group.style));
    }
    menu.push_back(MenuItem::divider());
    menu.push_back(MenuItem::button(
        "More Korvane Plugins…", [] { EmberfallLinks::open(EmberfallLinks::pluginCatalogue()); }));
    return menu;
}

AnyView MainView::body(ViewContext&) const {
    return GeometryReader([](const GeometryProxy& geometry) {
        return Canvas()
            .frame(canvasSize, Alignment::center())
            .scaleEffect(scale(geometry.size), UnitPoint::topLeading());
    });
}
