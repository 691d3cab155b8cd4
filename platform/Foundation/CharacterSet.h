#pragma once
// Stands in for CharacterSet: a set of Unicode characters (scalars) that texts are
// tested against. `alphanumerics` holds the letters, marks and numbers in the Unicode
// sense (the general categories L*, M* and N*: "é" precomposed or as "e" and a
// combining accent, "²", "中"), read from GLib's Unicode tables; a set of listed
// characters holds just those. Left out: inversion, the other predefined sets,
// bitmap representations, mutation.
// Thread: any (a plain value).

#include <string>
#include <string_view>

class CharacterSet {
  public:
    // Letters, marks and numbers of every script.
    static CharacterSet alphanumerics();
    // The characters of a UTF-8 text (charactersIn:).
    static CharacterSet characters(std::string_view utf8);

    // The characters of both sets.
    CharacterSet united(const CharacterSet& other) const;
    bool contains(char32_t character) const;
    // Whether `utf8` is well-formed UTF-8 and each of its characters is in the set.
    bool containsEveryCharacter(std::string_view utf8) const;

  private:
    bool alphanumeric = false;
    std::u32string listed;
};
