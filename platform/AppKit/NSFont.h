#pragma once
// Stands in for NSFont: a font object by name and point size over CGFont (fontconfig
// and pango underneath), and the system fonts the controls use. Left out: font
// descriptors and traits, font manager, bounding rectangles of glyphs.
// Thread: main thread (see CGFont).

#include <memory>
#include <string>

#include "CoreGraphics/CGFont.h"
#include "Runtime/Runtime.h"

class NSFont : public NSObject {
  public:
    using Weight = CGFont::Weight;

    // The font `name` (PostScript name, full name, family or configured alias) at
    // `size` points; nullptr when no installed font answers to the name.
    static std::shared_ptr<NSFont> named(const std::string& name, CGFloat size);
    static std::shared_ptr<NSFont> systemFont(CGFloat size, Weight weight = CGFont::regular);
    static std::shared_ptr<NSFont> boldSystemFont(CGFloat size) {
        return systemFont(size, CGFont::bold);
    }
    // The system font with digits of equal width (the fallback face's digits are
    // already; the font is marked as such).
    static std::shared_ptr<NSFont> monospacedDigitSystemFont(CGFloat size, Weight weight);
    static std::shared_ptr<NSFont> withCGFont(const CGFont& font);

    const std::string& fontName() const { return font.name(); }
    CGFloat pointSize() const { return font.pointSize(); }
    Weight weight() const { return Weight(font.weight()); }
    bool isMonospacedDigits() const { return monospacedDigits; }
    const CGFont& cgFont() const { return font; }
    // pango's description of the font, e.g. "Dosis weight=300 13px".
    std::string pangoDescription() const { return font.pangoDescription(); }
    CGFloat ascender() const { return font.ascent(); }
    CGFloat descender() const { return -font.descent(); }

    std::shared_ptr<NSFont> withSize(CGFloat size) const;

  protected:
    explicit NSFont(CGFont font, bool monospacedDigits = false)
        : font(std::move(font)), monospacedDigits(monospacedDigits) {}

  private:
    CGFont font;
    bool monospacedDigits;
};
