#include "Views/EditorDials.h"

#include "ChaosDial.h"
#include "LabelFormatter.h"
#include "LargeDialBlue.h"
#include "LargeDialOrange.h"
#include "LargeDialRed.h"
#include "LargeDialYellow.h"
#include "ParameterDefinitions.h"
#include "Settings.h"
#include "Views/EmberfallAssets.h"

#include "AppKit/NSWindow.h"

using namespace SwiftUI;

namespace {

using Parameter = std::shared_ptr<AudioParameter>;
using ParameterBinding = DialParts::ParameterBinding;

// Titles are printed on the knobs' caps: one size for all that the longest one-word
// title (FEEDBACK) fits in, so that none is shrunk on its own; the dials break longer
// titles ("DELAY NOTE", "HIGH CUT") into two lines rather than shrink them.
constexpr CGFloat titleSize = 9;

LabelDisplayOptions displayOptions() {
    return LabelDisplayOptions{
        Color(EmberfallAssets::values()), titleSize,   14, 14, true, true, 50,
        OrreryFont::dosisMedium,          std::nullopt};
}

// As the parameter's definition says the editor shows it: its value strings, or a
// number with a fixed count of decimals (the host prints values the same way).
std::shared_ptr<const LabelFormatter> formatter(const Parameter& p) {
    const int places = editorDecimalPlaces(*parameterDefinition(p->identifier));
    if (places < 0)
        return std::make_shared<LabelNameFormatter>(*p);
    return std::make_shared<DefaultLabelFormatter>(*p, places);
}

// After a value was typed into a dial's label the editor's main responder takes the
// keyboard back.
std::function<void()> returnFocus(const std::shared_ptr<Settings>& settings) {
    std::weak_ptr<Settings> weak = settings;
    return [weak] {
        auto s = weak.lock();
        if (!s)
            return;
        if (auto window = s->pluginWindow.lock())
            window->makeFirstResponder(s->pluginMainResponder.lock());
    };
}

template <class Skin>
AnyView largeDial(const std::shared_ptr<Settings>& settings, const Parameter& p) {
    return LargeDial<Skin>(ParameterBinding::constant(p), Skin(), Color(EmberfallAssets::values()),
                           displayOptions(), formatter(p), returnFocus(settings))
        .accessibilityIdentifier("dial-" + p->identifier);
}

AnyView chaosDial(const std::shared_ptr<Settings>& settings, const Parameter& p) {
    return ChaosDial(ParameterBinding::constant(p), ModernDialColor::grey, displayOptions(),
                     formatter(p), returnFocus(settings))
        .accessibilityIdentifier("dial-" + p->identifier);
}

} // namespace

AnyView DialRow::body(ViewContext& ctx) const {
    std::shared_ptr<Settings> s = ctx.environment<Settings>();
    // Different identities: a switch of the mode replaces the dial, ending a turn.
    AnyView delay = s->delayType->value.get() == 0
                        ? largeDial<LargeDialBlue>(s, s->delayNote).id("delayNote")
                        : largeDial<LargeDialBlue>(s, s->delayMs).id("delayMs");
    return HStack(VerticalAlignment::top(), CGFloat(14.5), Spacer(), delay,
                  largeDial<LargeDialBlue>(s, s->feedback),
                  largeDial<LargeDialYellow>(s, s->spread), largeDial<LargeDialOrange>(s, s->dirt),
                  largeDial<LargeDialRed>(s, s->mix), Spacer())
        .frame(std::nullopt, 144);
}

AnyView ChaosDialRow::body(ViewContext& ctx) const {
    std::shared_ptr<Settings> s = ctx.environment<Settings>();
    return HStack(VerticalAlignment::top(), CGFloat(16), chaosDial(s, s->modulationRate),
                  chaosDial(s, s->modulationDepth), chaosDial(s, s->lfoType),
                  chaosDial(s, s->width), chaosDial(s, s->lowCut), chaosDial(s, s->highCut))
        .padding(Edge::horizontal, 28)
        .frame(std::nullopt, 146)
        .offset(0, -1);
}
