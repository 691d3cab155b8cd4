#include "DialLabel.h"

#include "Runtime/Runtime.h"
#include "Utilities/Utilities.h"

#include <algorithm>
#include <cmath>

using namespace SwiftUI;

DialLabel::DialLabel(ParameterBinding param, Color color, LabelDisplayOptions displayOptions,
                     OrreryFont font, std::shared_ptr<const LabelFormatter> formatter,
                     std::function<void()> onEditingEnded, std::optional<DialLabelFit> fit)
    : param(std::move(param)), displayOptions(std::move(displayOptions)),
      formatter(formatter ? std::move(formatter)
                          : std::make_shared<DefaultLabelFormatter>(*this->param.get(), 1)),
      onEditingEnded(std::move(onEditingEnded)), color(std::move(color)), font(font), fit(fit) {}

namespace {

// A fitted title and how its lines stand, kept while what it was fitted from stays.
struct FittedTitle {
    std::string title, face;
    CGFloat largestSize = 0, radius = 0;
    TitleFit fit;
    CGFloat lineSpacing = 0; // between the lines' boxes
    CGFloat drop = 0;        // of the capitals' centre below the middle of a line box
};

const FittedTitle& fitted(FittedTitle& memo, const std::string& title, const std::string& face,
                          CGFloat largestSize, CGFloat radius) {
    if (memo.title == title && memo.face == face && memo.largestSize == largestSize &&
        memo.radius == radius && memo.fit.size > 0)
        return memo;
    memo = {title, face, largestSize, radius, fitTitle(title, face, largestSize, radius)};
    const CGFont f = Font::custom(face, memo.fit.size).resolve();
    memo.lineSpacing = memo.fit.lineGap - f.lineHeight();
    // A line box holds the ascent over the descent; capitals stand on the baseline.
    memo.drop = (f.ascent() - f.descent() - f.capHeight()) / 2;
    return memo;
}

} // namespace

AnyView DialLabel::body(ViewContext& ctx) const {
    State<bool> isEditing = ctx.state(false);
    State<std::string> valueString = ctx.state(std::string());
    FocusState<bool> editingFieldFocussed = ctx.focusState();
    // Not view state: only a cache of the title's measurements.
    State<std::shared_ptr<FittedTitle>> titleMemo = ctx.state(std::make_shared<FittedTitle>());

    auto p = param.get();
    const float value = p->value.get();
    const std::string face = fontName(font);
    const LabelDisplayOptions& options = displayOptions;

    std::vector<AnyView> rows;
    const std::string title = uppercased(options.customTitle.value_or(p->name));
    if (fit && options.showName) {
        const FittedTitle& t =
            fitted(**titleMemo, title, face, options.labelFontSize, fit->titleRadius);
        std::vector<AnyView> lines;
        for (const std::string& line : t.fit.lines)
            lines.push_back(Text(line));
        // The lines and the gap between them are one place to click.
        rows.push_back(VStack(HorizontalAlignment::center(), t.lineSpacing, std::move(lines))
                           .font(Font::custom(face, t.fit.size))
                           .foregroundColor(color)
                           .contentShape(Rectangle())
                           .offset(0, -t.drop)
                           .frame(std::nullopt, fit->titleBand));
    } else if (fit) {
        rows.push_back(Spacer().frame(0, fit->titleBand));
    } else if (options.showName) {
        rows.push_back(
            Text(title).font(Font::custom(face, options.labelFontSize)).foregroundColor(color));
    }

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
        // The whole row takes the click, the gap between value and suffix included.
        rows.push_back(HStack(VerticalAlignment::center(), 4.0, std::move(texts))
                           .font(Font::custom(face, options.valueFontSize))
                           .foregroundColor(options.valueColor)
                           .frame(std::nullopt, valueRowHeight)
                           .contentShape(Rectangle()));
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
                           .frame(options.labelWidth, valueRowHeight));
    }

    auto startEditing = [isEditing, editingFieldFocussed] {
        Runtime::assertMainThread("DialLabel tap");
        if (*isEditing)
            return;
        isEditing = true;
        editingFieldFocussed = true;
    };
    const std::optional<CGFloat> spacing =
        fit ? std::optional<CGFloat>(fit->spacing) : std::nullopt;
    return VStack(HorizontalAlignment::center(), spacing, std::move(rows))
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
