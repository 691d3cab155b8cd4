#pragma once
// The environment: values a view hands down to everything inside it (font, colour,
// enabled state, button style, focus binding, submit actions, display scale) and
// shared objects found by their type (a view model placed with .environment(_:)).
// Thread: main.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <typeindex>
#include <vector>

#include "SwiftUI/Color.h"
#include "SwiftUI/ControlSizes.h"
#include "SwiftUI/State.h"

class NSView;

namespace SwiftUI {

namespace detail {
class AnyButtonStyle;
}

enum class ColorScheme { light, dark };

enum class TextFieldStyle { automatic, plain, roundedBorder };
// How a scroll view fades its content at its edges; none set: the automatic style.
enum class ScrollEdgeEffectStyle { automatic, hard, soft };
// Whether lists and tables draw alternating row backgrounds.
enum class AlternatingRowBackgroundsBehavior { automatic, enabled, disabled };
enum class TextAlignment { leading, center, trailing };

// Every value is compared in sameAs(): a value added here is added there too.
struct EnvironmentValues {
    std::optional<Font> font;
    std::optional<ColorValue> foregroundColor;
    bool isEnabled = true;
    // Points to pixels of the window the views are shown in.
    CGFloat displayScale = 1;
    // The look the views are drawn for (the stand-in draws dark only).
    ColorScheme colorScheme = ColorScheme::dark;
    // The AppKit view that hosts the tree (embedded AppKit views become its subviews).
    std::weak_ptr<NSView> hostingView;
    std::shared_ptr<const detail::AnyButtonStyle> buttonStyle;
    TextFieldStyle textFieldStyle = TextFieldStyle::automatic;
    TextAlignment textAlignment = TextAlignment::leading;
    // How text that does not fit is shortened, whether it may be tightened first, and
    // the most lines it takes (none: no limit).
    TruncationMode truncationMode = TruncationMode::tail;
    bool allowsTightening = false;
    std::optional<int> lineLimit;
    // Extra space between the characters of text inside, in points (.tracking(_:)).
    CGFloat tracking = 0;
    // The focus state a focusable view inside binds to (.focused(_:)).
    std::optional<Binding<bool>> focusBinding;
    // Carried for the scroll views and lists inside (the stand-in draws neither
    // effect): the edge-effect style per edge (a set of Edge bits) and the row
    // backgrounds.
    ScrollEdgeEffectStyle scrollEdgeEffectStyle = ScrollEdgeEffectStyle::automatic;
    uint8_t scrollEdgeEffectEdges = 0;
    AlternatingRowBackgroundsBehavior alternatingRowBackgrounds =
        AlternatingRowBackgroundsBehavior::automatic;
    // Actions a text field inside runs when Return is pressed (.onSubmit(_:)).
    std::vector<std::function<void()>> submitActions;

    // The shared object of type T, or nullptr.
    template <class T> std::shared_ptr<T> object() const {
        auto it = objects.find(typeid(T));
        return it == objects.end() ? nullptr : std::static_pointer_cast<T>(it->second);
    }
    template <class T> void setObject(std::shared_ptr<T> object) {
        objects[typeid(T)] = std::move(object);
    }

    // Whether the views inside could not tell the two apart: every value equal and the
    // same shared objects. Closures cannot be compared, so an environment holding a
    // focus binding or submit actions is never the same as another.
    bool sameAs(const EnvironmentValues& other) const {
        return font == other.font && foregroundColor == other.foregroundColor &&
               isEnabled == other.isEnabled && displayScale == other.displayScale &&
               colorScheme == other.colorScheme && !hostingView.owner_before(other.hostingView) &&
               !other.hostingView.owner_before(hostingView) && buttonStyle == other.buttonStyle &&
               textFieldStyle == other.textFieldStyle && textAlignment == other.textAlignment &&
               truncationMode == other.truncationMode &&
               allowsTightening == other.allowsTightening && lineLimit == other.lineLimit &&
               tracking == other.tracking && !focusBinding && !other.focusBinding &&
               scrollEdgeEffectStyle == other.scrollEdgeEffectStyle &&
               scrollEdgeEffectEdges == other.scrollEdgeEffectEdges &&
               alternatingRowBackgrounds == other.alternatingRowBackgrounds &&
               submitActions.empty() && other.submitActions.empty() && objects == other.objects;
    }

  private:
    std::map<std::type_index, std::shared_ptr<void>> objects;
};
// A view kept whole because its environment is the same must not miss a changed value.
static_assert(
    sizeof(EnvironmentValues) == 432,
    "EnvironmentValues changed: compare the new value in sameAs(), then update this size");

} // namespace SwiftUI
