#pragma once
// Stands in for NSFormatter and NSNumberFormatter: objects that turn a text field's
// object value into text (for display and for editing) and typed text back into a
// value, and that can refuse partial input while it is typed. Object values are
// std::any: a std::string for text, an arithmetic type for numbers, empty for none.
// Left out: coder initialisers, attributed strings, number styles other than none,
// grouping, locales other than the C locale, rounding modes.
//
// Thread: a formatter belongs to the thread that uses it (the main thread for text
// fields); the text helpers at the end are plain functions (any thread).

#include <any>
#include <optional>
#include <string>
#include <string_view>

#include "Runtime/Runtime.h"

class NSFormatter : public NSObject {
  public:
    // string(for:): the text shown for an object, or none.
    virtual std::optional<std::string> stringFor(const std::any& object) const = 0;
    // editingString(for:): the text to edit; by default the shown text.
    virtual std::optional<std::string> editingStringFor(const std::any& object) const {
        return stringFor(object);
    }
    // getObjectValue(_:for:errorDescription:): the value of typed text. `object` and
    // `errorDescription` may be null (not asked for).
    virtual bool getObjectValue(std::any* object, const std::string& string,
                                std::string* errorDescription) const = 0;
    // isPartialStringValid(_:newEditingString:errorDescription:); every text by default.
    virtual bool isPartialStringValid(const std::string& partialString,
                                      std::string* newEditingString,
                                      std::string* errorDescription) const {
        return true;
    }
};

class NSNumberFormatter : public NSFormatter {
  public:
    enum class Behavior : int { defaultBehavior = 0, behavior10_0 = 1000, behavior10_4 = 1040 };

    Behavior formatterBehavior = Behavior::defaultBehavior;
    std::string positivePrefix, positiveSuffix;
    std::string negativePrefix = "-", negativeSuffix;
    int maximumFractionDigits = 0;
    bool isLenient() const { return lenient; }
    void setLenient(bool value) { lenient = value; }

    // A number as prefix, digits (rounded half to even at maximumFractionDigits) and
    // suffix of its sign; anything but a number gives none.
    std::optional<std::string> stringFor(const std::any& object) const override;
    // The text without its sign's prefix and suffix (optional when lenient), read
    // wholly in the C locale as a double; otherwise false with "Invalid number".
    bool getObjectValue(std::any* object, const std::string& string,
                        std::string* errorDescription) const override;

  private:
    bool lenient = false;
};

// The number an object holds (an arithmetic type), or none.
std::optional<double> numberValue(const std::any& object);

// The first occurrence of `needle` in `text` by the locale-aware standard search
// (ignoring case and the accents of Latin letters), as byte offsets [begin, end) of
// `text`; none when it is absent.
std::optional<std::pair<size_t, size_t>> localizedStandardRange(std::string_view text,
                                                                std::string_view needle);
