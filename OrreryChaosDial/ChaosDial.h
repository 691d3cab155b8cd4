#pragma once
// The small grey dial: a KnobControl over the grey 51-frame strip (56 × 64 points,
// shifted 16 points up) of the bundle "Orrery_OrreryChaosDial.bundle", with a
// DialLabel laid over it whose title is in the framework's grey and whose face is
// always Dosis-Medium. Thread: main.

#include "DialParts.h"
#include "SwiftUI/SwiftUI.h"

#include <functional>
#include <memory>

class Bundle;

enum class ModernDialColor { grey };

// The grey knob's frames: 56 × 64 points with the knob's centre at (28, 25), the cap
// clear for the title within 13.3 points of it, and the value row from 16 points below
// it, under the ring.
inline constexpr KnobArtwork chaosDialKnob{{56, 64}, {28, 25}, 13.3, 16};

// Frame `index` (1...51): "knobs/chaos-dial-grey_" + two digits.
SwiftUI::Image chaosDialFrame(ModernDialColor color, int index);

// The module's resource bundle, found once; the program ends when it is missing.
const std::shared_ptr<Bundle>& chaosDialBundle();

struct ChaosDial : SwiftUI::View<ChaosDial>, DialParts {
    ChaosDial(ParameterBinding param, ModernDialColor color,
              LabelDisplayOptions labelDisplayOptions,
              std::shared_ptr<const LabelFormatter> formatter, std::function<void()> onEditingEnded)
        : DialParts{std::move(param), std::move(labelDisplayOptions), std::move(formatter),
                    std::move(onEditingEnded)},
          color(color) {}

    SwiftUI::AnyView body() const;

    ModernDialColor color;
};
