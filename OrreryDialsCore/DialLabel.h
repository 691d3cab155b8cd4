#pragma once
// The text part of every dial: an optional upper-case title above the parameter's
// value (with its unit suffix), which a click turns into a text field for typing an
// exact value. The click may land on the title (its lines as one block) or anywhere in
// the value row, the gap before the suffix included. Return applies the typed value (read by the
// formatter, scaled to the parameter's units, clamped to its range; text that is not a finite
// number is dropped) as one change; Escape leaves without applying; both call onEditingEnded.
// Losing the focus leaves too, keeping the typed text for the next edit.
// Given a fit (a dial gives one), the title is fitted into the knob's cap (TitleFit.h),
// centred by its capitals in a row of fixed height that stays when the title is
// hidden, so that the value row keeps its place below the ring.
// Thread: main, every member.

#include "LabelFormatter.h"
#include "Parameters/AudioParameter.h"
#include "SwiftUI/SwiftUI.h"
#include "TitleFit.h"
#include "Utilities/OrreryFont.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

// How a dial presents its label.
struct LabelDisplayOptions {
    SwiftUI::Color valueColor; // the value, and the text typed while editing
    CGFloat labelFontSize;     // the title
    CGFloat valueFontSize;     // the value and its suffix
    CGFloat editingFontSize;   // inside the text field
    bool showSuffix;
    bool showName;
    CGFloat labelWidth; // of the text field
    OrreryFont font;
    std::optional<std::string> customTitle; // instead of the parameter's name
};

struct DialLabel : SwiftUI::View<DialLabel> {
    using ParameterBinding = SwiftUI::Binding<std::shared_ptr<AudioParameter>>;

    // Without a formatter the label shows the value with one decimal place.
    DialLabel(ParameterBinding param, SwiftUI::Color color, LabelDisplayOptions displayOptions,
              OrreryFont font, std::shared_ptr<const LabelFormatter> formatter,
              std::function<void()> onEditingEnded, std::optional<DialLabelFit> fit = {});

    SwiftUI::AnyView body(SwiftUI::ViewContext& ctx) const;

    // Height of the row of the value (or of the text field while editing).
    static constexpr CGFloat valueRowHeight = 40;

    ParameterBinding param;
    LabelDisplayOptions displayOptions;
    std::shared_ptr<const LabelFormatter> formatter;
    std::function<void()> onEditingEnded;
    SwiftUI::Color color; // of the title
    OrreryFont font;
    std::optional<DialLabelFit> fit;
};
