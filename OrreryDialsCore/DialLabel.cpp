#include "DialLabel.h"

#include "Runtime/Runtime.h"
#include "Utilities/Utilities.h"

#include <algorithm>
#include <cmath>

using namespace SwiftUI;

DialLabel::DialLabel(ParameterBinding param, Color color, LabelDisplayOptions displayOptions,
                     OrreryFont font, std::shared_ptr<const LabelFormatter> formatter,
                     std::function<void()> onEditingEnded)
    : param(std::move(param)), displayOptions(std::move(displayOptions)),
      formatter(formatter ? std::move(formatter)
                          : std::make_shared<DefaultLabelFormatter>(*this->param.get(), 1)),
      onEditingEnded(std::move(onEditingEnded)), color(std::move(color)), font(font) {}

AnyView DialLabel::body(ViewContext& ctx) const {
    State<bool> isEditing = ctx.state(false);
    State<std::string> valueString = ctx.state(std::string());
    FocusState<bool> editingFieldFocussed = ctx.focusState();

    auto p = param.get();
    const float value = p->value.get();
    const std::string face = fontName(font);
    const LabelDisplayOptions& options = displayOptions;

    std::vector<AnyView> rows;
    if (options.showName)
        rows.push_back(Text(uppercased(options.customTitle.value_or(p->name)))
                           .font(Font::custom(face, options.labelFontSize))
                           .foregroundColor(color));

    auto binding = param;
    auto formatter = this->formatter;
    auto ended = onEditingEnded;
    // Leaves the field: the caller hears of it, the text shows the current value.
    auto finish = [binding, formatter, ended, valueString, isEditing] {
        if (ended)
            ended();
        valueString = formatter->format(binding.get()->value.peek());
        isEditing = false;
    };

    if (!*isEditing) {
        std::vector<AnyView> texts{Text(formatter->format(value))};
        const std::string suffix = p->displayableSuffix();
        if (options.showSuffix && !suffix.empty())
            texts.push_back(Text(suffix));
        rows.push_back(HStack(VerticalAlignment::center(), 4.0, std::move(texts))
                           .font(Font::custom(face, options.valueFontSize))
                           .foregroundColor(options.valueColor)
                           .frame(std::nullopt, 40));
    } else {
        auto submit = [binding, formatter, valueString, finish] {
            Runtime::assertMainThread("DialLabel submit");
            auto p = binding.get();
            if (auto typed = formatter->value(*valueString)) {
                const float v = *typed * p->displayScaleFactor();
                // A formatter may read "nan" or "inf"; such values are refused.
                if (std::isfinite(v))
                    p->setValue(std::clamp(v, p->valueRange.lowerBound, p->valueRange.upperBound),
                                ParameterEditor::ui, ParameterEditorState::change);
            }
            finish();
        };
        auto keys = [finish](const KeyPress& press) {
            Runtime::assertMainThread("DialLabel key");
            if (press.key != KeyEquivalent::escape)
                return KeyPressResult::ignored;
            finish();
            return KeyPressResult::handled;
        };
        rows.push_back(TextField("", valueString.binding())
                           .textFieldStyle(TextFieldStyle::roundedBorder)
                           .multilineTextAlignment(TextAlignment::center)
                           .font(Font::custom(face, options.editingFontSize))
                           .foregroundColor(options.valueColor)
                           .focused(editingFieldFocussed)
                           .onKeyPress(KeyPress::down | KeyPress::repeat, keys)
                           .onSubmit(submit)
                           .frame(options.labelWidth, 40));
    }

    auto startEditing = [isEditing, editingFieldFocussed] {
        Runtime::assertMainThread("DialLabel tap");
        if (*isEditing)
            return;
        isEditing = true;
        editingFieldFocussed = true;
    };
    return VStack(HorizontalAlignment::center(), std::nullopt, std::move(rows))
        .onTapGesture(startEditing)
        .onChange(value, true,
                  [formatter, valueString](const float&, const float& v) {
                      valueString = formatter->format(v);
                  })
        .onChange(*editingFieldFocussed, false, [isEditing](const bool&, const bool& focussed) {
            if (!focussed && *isEditing)
                isEditing = false;
        });
}
