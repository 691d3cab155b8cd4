#pragma once
// Property lists: a value type for the platform's tree of strings, numbers,
// booleans, bytes, arrays and string-keyed dictionaries (the bundles' Info.plist,
// an audio unit's saved state), and its XML form.
//
// Thread: values are plain values; the reading and writing functions are pure and
// may be called from any thread.

#include "Foundation/Data.h"

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

class PropertyListValue;
using PropertyListArray = std::vector<PropertyListValue>;
using PropertyListDictionary = std::map<std::string, PropertyListValue>;

class PropertyListValue {
  public:
    enum class Kind { string, integer, real, boolean, data, array, dictionary };

    PropertyListValue() : storage(std::string()) {}
    PropertyListValue(std::string value) : storage(std::move(value)) {}
    PropertyListValue(const char* value) : storage(std::string(value)) {}
    // Any integer type; values beyond the signed 64-bit range do not fit.
    template <std::integral I>
    requires(!std::same_as<I, bool>) PropertyListValue(I value)
        : storage(static_cast<std::int64_t>(value)) {}
    PropertyListValue(double value) : storage(value) {}
    PropertyListValue(bool value) : storage(value) {}
    PropertyListValue(Data value) : storage(std::move(value)) {}
    PropertyListValue(PropertyListArray value) : storage(std::move(value)) {}
    PropertyListValue(PropertyListDictionary value) : storage(std::move(value)) {}

    Kind kind() const { return static_cast<Kind>(storage.index()); }

    // Each accessor answers only for its own kind (nullptr / nullopt otherwise),
    // except number(), which reads an integer or a real as a double.
    const std::string* string() const { return std::get_if<std::string>(&storage); }
    std::optional<std::int64_t> integer() const;
    std::optional<double> number() const;
    std::optional<bool> boolean() const;
    const Data* data() const { return std::get_if<Data>(&storage); }
    const PropertyListArray* array() const { return std::get_if<PropertyListArray>(&storage); }
    PropertyListArray* array() { return std::get_if<PropertyListArray>(&storage); }
    const PropertyListDictionary* dictionary() const {
        return std::get_if<PropertyListDictionary>(&storage);
    }
    PropertyListDictionary* dictionary() { return std::get_if<PropertyListDictionary>(&storage); }

    // A dictionary's entry, or nullptr (also when this is not a dictionary).
    const PropertyListValue* operator[](const std::string& key) const;

    // Same kind and equal contents; reals compare with ==, so NaN differs from itself.
    friend bool operator==(const PropertyListValue& a, const PropertyListValue& b) {
        return a.storage == b.storage;
    }

  private:
    // Order matches Kind.
    std::variant<std::string, std::int64_t, double, bool, Data, PropertyListArray,
                 PropertyListDictionary>
        storage;
};

namespace PropertyListSerialization {

// How deep dictionaries and arrays may nest in a document that is read.
inline constexpr std::size_t maxNestingDepth = 512;

// Parses an XML property list (<plist> around one value; dict, array, string,
// integer, real, true, false, data in base64). Returns nullopt on malformed XML,
// an unknown element, a dictionary entry without a key or value, a number that
// does not parse, or containers nested deeper than maxNestingDepth; `error`, when
// given, then holds the reason.
std::optional<PropertyListValue> read(std::string_view xml, std::string* error = nullptr);
std::optional<PropertyListValue> readFile(const std::string& path, std::string* error = nullptr);

// The XML form of a value. Returns nullopt when a string or key holds a character
// that XML cannot carry (a control character other than tab, newline, return).
std::optional<std::string> write(const PropertyListValue& value);
// Writes the XML form to `path` through a temporary file renamed into place, so a
// reader never sees half a file. Returns false (with `error`) when it cannot.
bool writeFile(const std::string& path, const PropertyListValue& value,
               std::string* error = nullptr);

} // namespace PropertyListSerialization
