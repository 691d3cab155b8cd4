#pragma once
// Internal to the drawing layer: pango layouts for measuring and drawing text, and
// the one-time loading of the application's font configuration. Main thread.

#include <pango/pangocairo.h>

#include <string>

#include "CoreGraphics/CGFont.h"

namespace CGTextLayout {

// Loads the application font folders once; every use of fontconfig or pango in the
// layer calls it first.
void ensureFontsLoaded();

// Configures a pango context the way the layer lays out text: one user unit per
// point, no hinting of metrics, unrounded glyph positions (so sizes do not depend
// on the scale a context draws at).
void configure(PangoContext* context);

// The measuring context of the calling thread.
PangoContext* measuringContext();

// The font's pango description; free with pango_font_description_free.
PangoFontDescription* describe(const CGFont& font);

// A layout of `text` in `font`; release with g_object_unref.
PangoLayout* makeLayout(PangoContext* context, const std::string& text, const CGFont& font,
                        const CGTextOptions& options);

} // namespace CGTextLayout
