#include "Utilities/Formatters.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <string_view>

#include "Foundation/Bundle.h"
#include "Foundation/CharacterSet.h"
#include "Foundation/StringFormat.h"

// ---- ConstantNameFormatter

std::string ConstantNameFormatter::invalidCharactersMessage() const {
    // Error message shown when user-entered constant name contains invalid characters.
    // It names two of the four allowed punctuation characters; the other two ("-",
    // ".") are accepted all the same. No translations ship yet.
    const std::string message = Bundle::main()->localizedString(
        "Constant names must only contain A-Z, a-z, 0-9 and the characters _ and $");
    return stringWithFormat(message, {requiredPrefix});
}

bool ConstantNameFormatter::isValidName(const std::string& name) {
    static const CharacterSet allowed =
        CharacterSet::alphanumerics().united(CharacterSet::characters("$_-."));
    return allowed.containsEveryCharacter(name);
}

std::optional<std::string> ConstantNameFormatter::stringFor(const std::any& object) const {
    auto s = std::any_cast<std::string>(&object);
    if (!s)
        return std::nullopt;
    return s->starts_with(requiredPrefix) ? *s : requiredPrefix + *s;
}

std::optional<std::string> ConstantNameFormatter::editingStringFor(const std::any& object) const {
    auto s = std::any_cast<std::string>(&object);
    if (!s)
        return std::nullopt;
    if (auto range = localizedStandardRange(*s, requiredPrefix))
        return s->substr(range->second);
    return *s;
}

namespace {

// The character test both entry points share: false with the message when asked for.
bool checkName(const ConstantNameFormatter& formatter, const std::string& name,
               std::string* errorDescription) {
    if (ConstantNameFormatter::isValidName(name))
        return true;
    if (errorDescription)
        *errorDescription = formatter.invalidCharactersMessage();
    return false;
}

} // namespace

bool ConstantNameFormatter::getObjectValue(std::any* object, const std::string& string,
                                           std::string* errorDescription) const {
    if (!checkName(*this, string, errorDescription))
        return false;
    if (object)
        *object = string;
    return true;
}

bool ConstantNameFormatter::isPartialStringValid(const std::string& partialString,
                                                 std::string* newEditingString,
                                                 std::string* errorDescription) const {
    if (!checkName(*this, partialString, errorDescription))
        return false;
    if (newEditingString)
        *newEditingString = partialString;
    return true;
}

// ---- ExpressionFormatter

void ExpressionFormatter::didInit() {
    NSNumberFormatter::didInit();
    formatterBehavior = Behavior::defaultBehavior;
    setLenient(true);
}

bool ExpressionFormatter::isNumeric(const std::string& text) {
    if (text.empty())
        return false;
    switch (text.front()) {
    case '\0':
    case '\t':
    case '\n':
    case '\v':
    case '\f':
    case '\r':
    case ' ':
        return false;
    default:
        break;
    }
    static locale_t c = newlocale(LC_NUMERIC_MASK, "C", locale_t(0));
    char* end = nullptr;
    strtod_l(text.c_str(), &end, c);
    return end == text.c_str() + text.size();
}

namespace {

// A String object that is empty or not numeric: the text as it is.
const std::string* passThrough(const std::any& object) {
    auto s = std::any_cast<std::string>(&object);
    return s && !ExpressionFormatter::isNumeric(*s) ? s : nullptr;
}

} // namespace

std::optional<std::string> ExpressionFormatter::stringFor(const std::any& object) const {
    if (auto s = passThrough(object))
        return *s;
    std::optional<std::string> result = NSNumberFormatter::stringFor(object);
    if (!result)
        if (auto s = std::any_cast<std::string>(&object))
            result = *s;
    if (result && formatterBehavior != Behavior::behavior10_0 && !result->empty() &&
        !positiveSuffix.empty() && !result->ends_with(positiveSuffix))
        *result += positiveSuffix;
    return result;
}

std::optional<std::string> ExpressionFormatter::editingStringFor(const std::any& object) const {
    if (auto s = passThrough(object))
        return *s;
    std::optional<std::string> result = NSNumberFormatter::editingStringFor(object);
    if (result && formatterBehavior != Behavior::behavior10_0 && !positiveSuffix.empty())
        if (auto range = localizedStandardRange(*result, positiveSuffix))
            result->erase(range->first);
    return result;
}

bool ExpressionFormatter::getObjectValue(std::any* object, const std::string& string,
                                         std::string* errorDescription) const {
    if (isNumeric(string))
        return NSNumberFormatter::getObjectValue(object, string, errorDescription);
    if (object)
        *object = string;
    return true;
}
