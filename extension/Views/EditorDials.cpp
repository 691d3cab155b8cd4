#include "Views/EditorDials.h"

#include "ChaosDial.h"
#include "LabelFormatter.h"
#include "LargeDialBlue.h"
#include "LargeDialOrange.h"
#include "LargeDialRed.h"
#include "LargeDialYellow.h"
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

std::shared_ptr<const LabelFormatter> decimals(const Parameter& p, int places) {
    return std::make_shared<DefaultLabelFormatter>(*p, places);
}

std::shared_ptr<const LabelFormatter> names(const Parameter& p) {
    return std::make_shared<LabelNameFormatter>(*p);
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
AnyView largeDial(const std::shared_ptr<Settings>& settings, const Parameter& p,
                  std::shared_ptr<const LabelFormatter> formatter) {
    return LargeDial<Skin>(ParameterBinding::constant(p), Skin(), Color(EmberfallAssets::values()),
                           displayOptions(), std::move(formatter), returnFocus(settings))
        .accessibilityIdentifier("dial-" + p->identifier);
}

AnyView chaosDial(const std::shared_ptr<Settings>& settings, const Parameter& p,
                  std::shared_ptr<const LabelFormatter> formatter) {
    return ChaosDial(ParameterBinding::constant(p), ModernDialColor::grey, displayOptions(),
                     std::move(formatter), returnFocus(settings))
        .accessibilityIdentifier("dial-" + p->identifier);
}

} // namespace

AnyView DialRow::body(ViewContext& ctx) const {
    std::shared_ptr<Settings> s = ctx.environment<Settings>();
    // Different identities: a switch of the mode replaces the dial, ending a turn.
    AnyView delay =
        s->delayType->value.get() == 0
            ? largeDial<LargeDialBlue>(s, s->delayNote, names(s->delayNote)).id("delayNote")
            : largeDial<LargeDialBlue>(s, s->delayMs, decimals(s->delayMs, 1)).id("delayMs");
    return HStack(VerticalAlignment::top(), CGFloat(14.5), Spacer(), delay,
                  largeDial<LargeDialBlue>(s, s->feedback, decimals(s->feedback, 0)),
                  largeDial<LargeDialYellow>(s, s->spread, decimals(s->spread, 2)),
                  largeDial<LargeDialOrange>(s, s->dirt, decimals(s->dirt, 0)),
                  largeDial<LargeDialRed>(s, s->mix, decimals(s->mix, 0)), Spacer())
        .frame(std::nullopt, 144);
}

AnyView ChaosDialRow::body(ViewContext& ctx) const {
    std::shared_ptr<Settings> s = ctx.environment<Settings>();
    return HStack(VerticalAlignment::top(), CGFloat(16),
                  chaosDial(s, s->modulationRate, decimals(s->modulationRate, 2)),
                  chaosDial(s, s->modulationDepth, nullptr),
                  chaosDial(s, s->lfoType, names(s->lfoType)), chaosDial(s, s->width, nullptr),
                  chaosDial(s, s->lowCut, decimals(s->lowCut, 0)),
                  chaosDial(s, s->highCut, decimals(s->highCut, 0)))
        .padding(Edge::horizontal, 28)
        .frame(std::nullopt, 146)
        .offset(0, -1);
}
