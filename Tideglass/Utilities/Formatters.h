#pragma once
// Text formatters for AppKit text fields, offered to clients of the library.
// - ConstantNameFormatter keeps a field to constant-name syntax (letters, marks and
//   numbers of any script and "$", "_", "-", ".") and shows the name with its
//   required prefix.
// - ExpressionFormatter is a number formatter that lets non-numeric text (an
//   expression) through untouched, while numbers are formatted as usual and carry
//   the positive suffix.
// Thread: main (the text-field machinery calls them there).

#include <string>

#include "Foundation/Formatter.h"

class ConstantNameFormatter : public NSFormatter {
  public:
    std::string requiredPrefix = "$";

    // "Constant names must only contain …", shown when a name has a character
    // outside the allowed set: looked up for the user's language, then formatted
    // with the prefix as its one argument.
    std::string invalidCharactersMessage() const;
    // Whether `name` is UTF-8 whose every character is alphanumeric in the Unicode
    // sense (a letter, mark or number of any script) or one of "$", "_", "-", ".".
    static bool isValidName(const std::string& name);

    // A String s: s when it begins with the prefix, else prefix + s; others: none.
    std::optional<std::string> stringFor(const std::any& object) const override;
    // A String s: what follows the first match of the prefix (case- and
    // accent-insensitive), else s; others: none.
    std::optional<std::string> editingStringFor(const std::any& object) const override;
    // The string itself when valid (the prefix is neither added nor removed).
    bool getObjectValue(std::any* object, const std::string& string,
                        std::string* errorDescription) const override;
    bool isPartialStringValid(const std::string& partialString, std::string* newEditingString,
                              std::string* errorDescription) const override;
};

class ExpressionFormatter : public NSNumberFormatter {
  public:
    // Text is numeric when it is not empty, does not begin with white space or NUL
    // and reads wholly as a double in the C locale.
    static bool isNumeric(const std::string& text);

    std::optional<std::string> stringFor(const std::any& object) const override;
    std::optional<std::string> editingStringFor(const std::any& object) const override;
    // Numeric text is read as a number; any other text is the value itself.
    bool getObjectValue(std::any* object, const std::string& string,
                        std::string* errorDescription) const override;

  protected:
    // The default behaviour, lenient.
    void didInit() override;
};
