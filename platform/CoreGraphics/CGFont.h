#pragma once
// Stands in for the font and text-layout services the drawing code uses (the parts
// of CGFont/CoreText it needs): a font found by name through fontconfig, its metrics,
// and measuring text with pango. Drawing text is CGContext::drawText.
//
// Names resolve as the platform resolves them: a PostScript name ("Dosis-Light"),
// a full name ("Dosis Light"), a family ("Dosis"), or an alias that an application's
// font configuration defines. Application fonts ship inside the bundles: every
// "*.conf" file and every font file of a folder "Fonts" is loaded before fonts are
// looked up — the running program's (next to the executable, or Contents/Resources/
// Fonts for a program in a bundle's Contents/MacOS) and that of the bundle of every
// loaded module in Contents/MacOS (an extension a host loads brings its own fonts).
//
// Left out: attributed strings, font features, vertical text, font descriptors.
// Thread: main thread for making fonts and measuring (pango's font map is per thread).

#include <optional>
#include <string>
#include <vector>

#include "CoreGraphics/CGGeometry.h"

class CGFont {
  public:
    // Font weights on the OpenType scale.
    enum Weight : int {
        ultraLight = 100,
        thin = 200,
        light = 300,
        regular = 400,
        medium = 500,
        semibold = 600,
        bold = 700,
        heavy = 800,
        black = 900
    };

    // The installed face that answers to `name`; none when nothing does (then the
    // caller substitutes a font of its own, as the platform does).
    static std::optional<CGFont> named(const std::string& name, CGFloat pointSize);
    // The user-interface font (fontconfig's "sans-serif") at a size and weight.
    static CGFont system(CGFloat pointSize, Weight weight = regular);

    // The name asked for ("Dosis-Light", "Rocket", or "System").
    const std::string& name() const { return name_; }
    CGFloat pointSize() const { return size; }
    // The family and weight handed to pango after resolving the name.
    const std::string& family() const { return family_; }
    int weight() const { return weight_; }
    bool italic() const { return italic_; }
    // The pango description text, e.g. "Dosis weight=300 13px".
    std::string pangoDescription() const;
    // The family of the face that fontconfig finally picks for this font.
    std::string resolvedFamily() const;

    CGFont withSize(CGFloat pointSize) const;

    // Ascent and descent of the face (positive), and their sum, in points.
    CGFloat ascent() const;
    CGFloat descent() const;
    CGFloat lineHeight() const { return ascent() + descent(); }
    // Height of the capitals above the baseline (the ink of "H"), in points.
    CGFloat capHeight() const;

    friend bool operator==(const CGFont& a, const CGFont& b) {
        return a.name_ == b.name_ && a.size == b.size && a.family_ == b.family_ &&
               a.weight_ == b.weight_ && a.italic_ == b.italic_;
    }

  private:
    std::string name_;
    CGFloat size = 12;
    std::string family_;
    int weight_ = regular;
    bool italic_ = false;
};

// Text layout options shared by measuring and drawing.
struct CGTextOptions {
    enum class Alignment { left, center, right };
    Alignment alignment = Alignment::left;
    // Wraps at word boundaries within this width; none lays out one line per paragraph,
    // and so does a width too large for pango's integer units (DBL_MAX: unbounded).
    std::optional<CGFloat> width;
    // With a width: at most this many lines, the last one shortened with an ellipsis
    // where `truncation` says (0: any number of lines).
    int maximumLines = 0;
    enum class Truncation { head, middle, tail };
    Truncation truncation = Truncation::tail;
    // Extra space between characters, in points (tracking), measured and drawn.
    CGFloat letterSpacing = 0;
};

// The size of `text` laid out in `font`, in points (the logical extents, so a run's
// height is the font's line height even for text without descenders).
CGSize CGTextMeasure(const std::string& text, const CGFont& font,
                     const CGTextOptions& options = {});

// The horizontal offset of the caret before each character of `text` and after the
// last, on one line in `font`, in points: one entry per code point plus one.
std::vector<CGFloat> CGTextCaretOffsets(const std::string& text, const CGFont& font);

namespace CGFontRegistry {
// Loads the "*.conf" files and font files of `folder` into the process's font
// configuration (a module bundle's fonts). Main thread.
void addFontFolder(const std::string& folder);
} // namespace CGFontRegistry
