#pragma once
// Stands in for NSColor: a reference-counted colour object over a CGColor, with the
// named colours of an asset catalogue (see NSAssetCatalog.h), the few system colours
// the controls use (dark appearance values) and setting the fill / stroke colour of
// the current graphics context. Left out: dynamic (appearance-dependent) colours,
// colour lists, catalogue and pattern colours, colour-space conversion.
// Thread: any for making colours; set()/setFill()/setStroke() on the drawing thread.

#include <memory>
#include <string>

#include "CoreGraphics/CGColor.h"
#include "Runtime/Runtime.h"

class Bundle;

class NSColor : public NSObject {
  public:
    static std::shared_ptr<NSColor> withCGColor(const CGColor& color);
    // sRGB components, 0…1.
    static std::shared_ptr<NSColor> rgb(CGFloat r, CGFloat g, CGFloat b, CGFloat a = 1);
    static std::shared_ptr<NSColor> white(CGFloat white, CGFloat a = 1);
    // A new colour object for the colour asset `name` of the bundle's asset catalogue
    // (the main bundle's when `bundle` is null); nullptr when there is no such asset.
    static std::shared_ptr<NSColor> named(const std::string& name,
                                          const std::shared_ptr<Bundle>& bundle = nullptr);

    // System colours (shared objects), dark appearance.
    static const std::shared_ptr<NSColor>& clear();
    static const std::shared_ptr<NSColor>& black();
    static const std::shared_ptr<NSColor>& whiteColor();
    static const std::shared_ptr<NSColor>& labelColor();
    static const std::shared_ptr<NSColor>& secondaryLabelColor();
    static const std::shared_ptr<NSColor>& textColor();
    static const std::shared_ptr<NSColor>& controlTextColor();
    static const std::shared_ptr<NSColor>& disabledControlTextColor();
    static const std::shared_ptr<NSColor>& windowBackgroundColor();
    static const std::shared_ptr<NSColor>& controlBackgroundColor();
    static const std::shared_ptr<NSColor>& controlAccentColor();
    static const std::shared_ptr<NSColor>& keyboardFocusIndicatorColor();
    static const std::shared_ptr<NSColor>& selectedContentBackgroundColor();
    static const std::shared_ptr<NSColor>& separatorColor();
    static const std::shared_ptr<NSColor>& textBackgroundColor();
    static const std::shared_ptr<NSColor>& placeholderTextColor();
    static const std::shared_ptr<NSColor>& selectedTextBackgroundColor();
    static const std::shared_ptr<NSColor>& selectedTextColor();

    const CGColor& cgColor() const { return color; }
    CGFloat redComponent() const { return color.rgba().r; }
    CGFloat greenComponent() const { return color.rgba().g; }
    CGFloat blueComponent() const { return color.rgba().b; }
    CGFloat alphaComponent() const { return color.alpha(); }
    // The asset name of a catalogue colour, or the system colour's name.
    const std::string& name() const { return color.assetName(); }

    std::shared_ptr<NSColor> withAlphaComponent(CGFloat alpha) const;

    // Sets the current graphics context's fill and stroke colour (set), or one of them.
    void set() const;
    void setFill() const;
    void setStroke() const;

  protected:
    explicit NSColor(CGColor color) : color(std::move(color)) {}

  private:
    CGColor color;
};
