#pragma once
// What a dial's label shows for a parameter's value and how it reads typed text
// back. DefaultLabelFormatter is numeric; LabelNameFormatter shows the value strings
// of an indexed parameter. Both copy what they need from the parameter when they are
// made and keep no reference to it. Thread: any; pure.

#include <memory>
#include <optional>
#include <string>
#include <vector>

class AudioParameter;

class LabelFormatter {
  public:
    virtual ~LabelFormatter() = default;
    // The text shown for a value.
    virtual std::string format(float value) const = 0;
    // The value of typed text; none when the text is not acceptable.
    virtual std::optional<float> value(const std::string& text) const = 0;
};

class DefaultLabelFormatter final : public LabelFormatter {
  public:
    DefaultLabelFormatter(const AudioParameter& param, int decimalPlaces);

    // value × saveScaleFactor with `decimalPlaces` digits after the point ("%.0f",
    // "%0.2lf", ...); a negative count counts as 0.
    std::string format(float value) const override;
    // The whole text as a finite number in the C locale; none for empty text, white
    // space around the number, trailing characters, or a value that is not finite.
    // The label applies the parameter's display scale itself.
    std::optional<float> value(const std::string& text) const override;

    const int decimalPlaces;
    const float saveScaleFactor;
};

class LabelNameFormatter final : public LabelFormatter {
  public:
    explicit LabelNameFormatter(const AudioParameter& param);

    // The value string at the value rounded half away from zero. A value with no
    // string ends the program with "Unable to format value <v>, no value string
    // found": the formatter is only used where the strings cover the range.
    std::string format(float value) const override;
    // The index of the first value string equal to the text, case ignored.
    std::optional<float> value(const std::string& text) const override;

    const std::vector<std::string> valueStrings;
};
