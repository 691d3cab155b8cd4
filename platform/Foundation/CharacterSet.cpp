#include "Foundation/CharacterSet.h"

#include <glib.h>

namespace {

bool isAlphanumeric(char32_t c) {
    switch (g_unichar_type(gunichar(c))) {
    case G_UNICODE_LOWERCASE_LETTER:
    case G_UNICODE_MODIFIER_LETTER:
    case G_UNICODE_OTHER_LETTER:
    case G_UNICODE_TITLECASE_LETTER:
    case G_UNICODE_UPPERCASE_LETTER:
    case G_UNICODE_SPACING_MARK:
    case G_UNICODE_ENCLOSING_MARK:
    case G_UNICODE_NON_SPACING_MARK:
    case G_UNICODE_DECIMAL_NUMBER:
    case G_UNICODE_LETTER_NUMBER:
    case G_UNICODE_OTHER_NUMBER:
        return true;
    default:
        return false;
    }
}

// Calls `each` with every character of well-formed UTF-8; false when it is not.
template <class Each> bool forEachCharacter(std::string_view utf8, Each each) {
    if (!g_utf8_validate(utf8.data(), gssize(utf8.size()), nullptr))
        return false;
    for (const char* p = utf8.data(); p < utf8.data() + utf8.size(); p = g_utf8_next_char(p))
        if (!each(char32_t(g_utf8_get_char(p))))
            return false;
    return true;
}

} // namespace

CharacterSet CharacterSet::alphanumerics() {
    CharacterSet set;
    set.alphanumeric = true;
    return set;
}

CharacterSet CharacterSet::characters(std::string_view utf8) {
    CharacterSet set;
    forEachCharacter(utf8, [&](char32_t c) {
        set.listed.push_back(c);
        return true;
    });
    return set;
}

CharacterSet CharacterSet::united(const CharacterSet& other) const {
    CharacterSet set = *this;
    set.alphanumeric = alphanumeric || other.alphanumeric;
    set.listed += other.listed;
    return set;
}

bool CharacterSet::contains(char32_t character) const {
    return (alphanumeric && isAlphanumeric(character)) ||
           listed.find(character) != std::u32string::npos;
}

bool CharacterSet::containsEveryCharacter(std::string_view utf8) const {
    return forEachCharacter(utf8, [this](char32_t c) { return contains(c); });
}
