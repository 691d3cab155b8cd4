#include "Sheets.h"

#include "ChaosDial.h"
#include "LargeDialBlue.h"
#include "LargeDialOrange.h"
#include "LargeDialRed.h"
#include "LargeDialYellow.h"
#include "TestSupport/ControlHarness.h"
#include "Views/ButtonStyles.h"
#include "Views/Buttons.h"
#include "Views/OrreryResources.h"
#include "Views/PluginHeaderView.h"

using namespace SwiftUI;

namespace {

using Unit = AudioUnitParameterUnit;

ParameterBinding bound(std::shared_ptr<AudioParameter> p) {
    return ParameterBinding::constant(std::move(p));
}

ParameterBinding model(float value) {
    return bound(AudioParameter::create(7, "model", "Model", Unit::indexed, {0, 3}, value,
                                        ValueIncrement::linear(),
                                        std::vector<std::string>{"bbd1", "bbd2", "pt1", "pt2"}));
}

ParameterBinding onOff(float value, const char* name = "Sync") {
    return bound(AudioParameter::create(11, "onOff", name, Unit::boolean, {0, 1}, value));
}

// Holds the mouse down in the middle of the cell.
void pressed(ControlHarness& h) {
    CGSize size = h.window->contentSize();
    h.press({size.width / 2, size.height / 2});
}

// Holds the mouse down on the top edge of a dial (above its label).
void grabbedDial(ControlHarness& h) {
    CGSize size = h.window->contentSize();
    h.press({size.width / 2, 8});
    h.drag({size.width / 2, 16});
}

// Clicks the value text of a label and types into it.
std::function<void(ControlHarness&)> typing(std::string text) {
    return [text](ControlHarness& h) {
        auto runs = h.texts();
        if (runs.empty())
            return;
        const auto& value = runs.back();
        h.click({value.rect.midX(), value.rect.midY()});
        h.type(text);
    };
}

GalleryCell cell(std::string caption, std::function<AnyView()> view, CGSize size,
                 std::function<void(ControlHarness&)> pose = nullptr) {
    return {std::move(caption), std::move(view), size, std::move(pose)};
}

GallerySheet buttons() {
    const CGSize size{100, 72};
    GallerySheet sheet{"buttons", 6, {}};
    auto& c = sheet.cells;
    const std::pair<ChaosButtonColor, const char*> colours[] = {
        {ChaosButtonColor::yellow, "yellow"},
        {ChaosButtonColor::blue, "blue"},
        {ChaosButtonColor::red, "red"},
        {ChaosButtonColor::white, "white"}};
    for (auto [colour, name] : colours)
        c.push_back(cell(
            std::string("chaos toggle ") + name,
            [colour] { return AnyView(ChaosToggleButton(model(1), 1, colour)); }, size));
    c.push_back(cell(
        "chaos toggle off",
        [] { return AnyView(ChaosToggleButton(model(0), 2, ChaosButtonColor::red)); }, size));
    c.push_back(cell(
        "chaos toggle off pressed",
        [] { return AnyView(ChaosToggleButton(model(0), 2, ChaosButtonColor::red)); }, size,
        pressed));
    c.push_back(cell(
        "chaos toggle on pressed",
        [] { return AnyView(ChaosToggleButton(model(2), 2, ChaosButtonColor::red)); }, size,
        pressed));
    c.push_back(cell(
        "narrow off", [] { return AnyView(ChaosToggleButtonNarrow(onOff(0), "L")); }, size));
    c.push_back(cell(
        "narrow on", [] { return AnyView(ChaosToggleButtonNarrow(onOff(1), "L")); }, size));
    c.push_back(cell(
        "narrow on pressed", [] { return AnyView(ChaosToggleButtonNarrow(onOff(1), "L")); }, size,
        pressed));
    c.push_back(cell(
        "arrow left", [] { return AnyView(LeftRightArrowButton(onOff(1), 1)); }, size));
    c.push_back(cell(
        "arrow right", [] { return AnyView(LeftRightArrowButton(onOff(0), 1)); }, size));
    c.push_back(cell(
        "arrow pressed", [] { return AnyView(LeftRightArrowButton(onOff(0), 1)); }, size, pressed));
    for (auto style : {ToggleButtonStyle::modern, ToggleButtonStyle::retro}) {
        const std::string prefix = style == ToggleButtonStyle::modern ? "modern " : "retro ";
        auto make = [style](float value) {
            return [style, value] {
                return AnyView(ModeToggleButton(model(value), 1, orreryPluginYellow(), style, 12));
            };
        };
        c.push_back(cell(prefix + "selected", make(1), size));
        c.push_back(cell(prefix + "unselected", make(0), size));
        c.push_back(cell(prefix + "selected pressed", make(1), size, pressed));
        c.push_back(cell(prefix + "unselected pressed", make(0), size, pressed));
    }
    auto toggle = [](float value, std::optional<std::string> name) {
        return [value, name] {
            return AnyView(ToggleButton(onOff(value), orreryPluginYellow(), name, 12));
        };
    };
    c.push_back(cell("toggle on", toggle(1, std::nullopt), size));
    c.push_back(cell("toggle off", toggle(0, std::nullopt), size));
    c.push_back(cell("toggle off pressed", toggle(0, std::nullopt), size, pressed));
    c.push_back(cell("toggle named", toggle(1, "TAP"), size));
    auto chaos = [] { return AnyView(ChaosButton("RESET", ChaosButtonColor::yellow, [] {})); };
    c.push_back(cell("chaos button", chaos, size));
    c.push_back(cell("chaos button pressed", chaos, size, pressed));
    auto image = [] {
        return AnyView(ImageButton(orreryImage("chaos-button-grey-off"),
                                   orreryImage("chaos-button-grey-off-down"), [](bool) {}));
    };
    c.push_back(cell("image button", image, size));
    c.push_back(cell("image button pressed", image, size, pressed));
    auto hold = [] {
        return AnyView(ParameterHoldButton(onOff(0), OrreryResources::image("chaos-button-yellow"),
                                           OrreryResources::image("chaos-button-yellow-down")));
    };
    c.push_back(cell("hold button", hold, size));
    c.push_back(cell("hold button held", hold, size, pressed));
    return sheet;
}

GallerySheet styles() {
    const CGSize size{160, 56};
    GallerySheet sheet{"styles", 4, {}};
    auto& c = sheet.cells;
    auto modern = [](bool on) {
        return [on] {
            // The face stretches to the label: the label brings its own margins.
            return AnyView(
                Button([] {}, rocketFont(Text("FEEDBACK HOLD"), 12).padding(Edge::horizontal, 12))
                    .buttonStyle(ModernButtonStyle{on, orreryPluginYellow()}));
        };
    };
    c.push_back(cell("modern on", modern(true), size));
    c.push_back(cell("modern off", modern(false), size));
    c.push_back(cell("modern on pressed", modern(true), size, pressed));
    c.push_back(cell("modern off pressed", modern(false), size, pressed));
    auto settings = [](OrreryFont font) {
        return [font] {
            return AnyView(Button([] {}, orreryFont(Text("SET"), font, 12))
                               .buttonStyle(SettingsButtonStyle{font}));
        };
    };
    c.push_back(cell("settings rocket", settings(OrreryFont::rocket), size));
    c.push_back(cell("settings dosis light", settings(OrreryFont::dosisLight), size));
    c.push_back(cell("settings pressed", settings(OrreryFont::rocket), size, pressed));
    auto update = [] {
        return AnyView(Button([] {}, Text("1.2.0 AVAILABLE")).buttonStyle(UpdateButtonStyle{}));
    };
    c.push_back(cell("update", update, size));
    c.push_back(cell("update pressed", update, size, pressed));
    return sheet;
}

GallerySheet header() {
    const CGSize size{640, 46};
    GallerySheet sheet{"header", 1, {}};
    auto tabs = [](float value) {
        return bound(AudioParameter::create(0, "page", "Page", Unit::indexed, {0, 2}, value,
                                            ValueIncrement::linear(),
                                            std::vector<std::string>{"Delay", "Chorus", "Reverb"}));
    };
    auto url = *URL::string("emberfall://openAndUpdate");
    auto menu = [] {
        return AnyView(orreryFont(Text("PRESETS"), OrreryFont::dosisMedium, 13)
                           .foregroundColor(orreryColor("tabUnselected"))
                           .padding(Edge::leading, 12));
    };
    sheet.cells.push_back(cell(
        "tabs, version, menu",
        [=] {
            return AnyView(PluginHeaderView(url, "1.0.3", tabs(1), OrreryFont::dosisMedium,
                                            std::nullopt, menu));
        },
        size));
    sheet.cells.push_back(cell(
        "update known, rocket",
        [=] {
            return AnyView(PluginHeaderView(url, "1.0.3", tabs(0), OrreryFont::rocket,
                                            UpdateAvailableDetails{"1.2.0"}, menu));
        },
        size));
    sheet.cells.push_back(cell(
        "no tabs, no menu",
        [=] {
            return AnyView(PluginHeaderView(
                url, "1.0.3", bound(AudioParameter::create(0, "p", "P", Unit::generic, {0, 1}, 0)),
                OrreryFont::dosisLight, std::nullopt));
        },
        size));
    return sheet;
}

LabelDisplayOptions dialOptions(OrreryFont font, std::optional<std::string> title = {}) {
    return {orreryColor("chaosToggleText"), 11, 15, 13, true, true, 64, font, std::move(title)};
}

std::shared_ptr<AudioParameter> cutoff(float value) {
    return AudioParameter::create(9, "lowCut", "Low Cut", Unit::hertz, {20, 20000}, value,
                                  ValueIncrement::logarithmic());
}

template <class Skin> AnyView largeDial(Skin skin, Color title, float value) {
    return AnyView(LargeDial<Skin>(bound(cutoff(value)), skin, title,
                                   dialOptions(OrreryFont::dosisMedium), nullptr, nullptr));
}

GallerySheet dials() {
    const CGSize size{112, 128};
    GallerySheet sheet{"dials", 6, {}};
    auto& c = sheet.cells;
    const std::pair<float, const char*> values[] = {{20, "min"}, {632.456f, "mid"}, {20000, "max"}};
    for (auto [value, name] : values) {
        const std::string n = name;
        c.push_back(cell(
            "red " + n, [v = value] { return largeDial(LargeDialRed(), orreryPluginRed(), v); },
            size));
        c.push_back(cell(
            "yellow " + n,
            [v = value] { return largeDial(LargeDialYellow(), orreryPluginYellow(), v); }, size));
        c.push_back(cell(
            "orange " + n,
            [v = value] { return largeDial(LargeDialOrange(), orreryPluginYellow(), v); }, size));
        c.push_back(cell(
            "blue " + n, [v = value] { return largeDial(LargeDialBlue(), orreryPluginBlue(), v); },
            size));
        c.push_back(cell(
            "chaos " + n,
            [v = value] {
                return AnyView(ChaosDial(bound(cutoff(v)), ModernDialColor::grey,
                                         dialOptions(OrreryFont::rocket), nullptr, nullptr));
            },
            size));
        c.push_back(cell(
            "chaos " + n + ", no name",
            [v = value] {
                auto o = dialOptions(OrreryFont::dosisMedium);
                o.showName = false;
                return AnyView(
                    ChaosDial(bound(cutoff(v)), ModernDialColor::grey, o, nullptr, nullptr));
            },
            size));
    }
    auto delay = [] {
        return AnyView(LargeDial<LargeDialOrange>(
            bound(AudioParameter::create(2, "delayMs", "Delay MS", Unit::milliseconds, {1, 5000},
                                         375, ValueIncrement::logarithmic(100))),
            LargeDialOrange(), orreryPluginYellow(), dialOptions(OrreryFont::rocket, "Time"),
            nullptr, nullptr));
    };
    c.push_back(cell("custom title, rocket", delay, size));
    c.push_back(cell("grabbed", delay, size, grabbedDial));
    c.push_back(cell("typing a value", delay, size, typing("1200")));
    c.push_back(cell(
        "value strings",
        [] {
            auto shape = AudioParameter::create(
                5, "lfoType", "Shape", Unit::indexed, {0, 3}, 1, ValueIncrement::linear(),
                std::vector<std::string>{"Tri", "Sine", "Square", "Random"});
            return AnyView(ChaosDial(bound(shape), ModernDialColor::grey,
                                     dialOptions(OrreryFont::dosisMedium),
                                     std::make_shared<LabelNameFormatter>(*shape), nullptr));
        },
        size));
    c.push_back(cell(
        "cents, two places",
        [] {
            auto depth =
                AudioParameter::create(3, "depth", "Depth", Unit::absoluteCents, {0, 10000}, 2550);
            return AnyView(LargeDial<LargeDialBlue>(
                bound(depth), LargeDialBlue(), orreryPluginBlue(),
                dialOptions(OrreryFont::dosisLight),
                std::make_shared<DefaultLabelFormatter>(*depth, 2), nullptr));
        },
        size));
    return sheet;
}

// The plug-in framework's controls.
const GalleryRegistration orrery([] {
    std::vector<GallerySheet> sheets{buttons(), styles(), header(), dials()};
    for (auto& sheet : sheets)
        sheet.library = false;
    return sheets;
});

} // namespace
