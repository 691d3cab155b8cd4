#pragma once
// BaseStyle, the root of every style and the library's one Style, and ControlStyle,
// the superclass of every control's style: fonts, per-state text and background
// colours, per-state bezel images and the insets that place them, and the rules
// that pick the colour or image for a StyledControlState.
//
// A style is a shared, mutable object: every control of a class draws with the one
// style of its class (its class style, StyledControl.h), so a change shows on all of
// them the next time they draw. Every property has a virtual getter and setter
// (StyleProperty.h), and the per-state rules read through the getters, so a subclass
// that overrides a getter changes what the rules answer.
// Thread: main thread.

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "AppKit/NSAppearance.h"
#include "CoreGraphics/CGGeometry.h"
#include "Styles/StyleProperty.h"
#include "Styles/StyleProtocols.h"
#include "Styles/Styles.h"
#include "SwiftUI/Layout.h"
#include "SwiftUI/Views.h"

class NSFont;

// View-layer images keyed by state, for declarative drawing code.
using SwiftUIStateImages = std::unordered_map<StyledControlState, SwiftUI::Image>;

class BaseStyle : public Style {
    TIDEGLASS_STYLE_PROPERTY(std::optional<std::string>, appearanceName, setAppearanceName,
                             std::string(NSAppearanceName::darkAqua))
    TIDEGLASS_STYLE_PROPERTY(NSBackgroundStyle, backgroundStyle, setBackgroundStyle,
                             NSBackgroundStyle::emphasized)
    TIDEGLASS_STYLE_PROPERTY(NSBackgroundStyle, interiorBackgroundStyle, setInteriorBackgroundStyle,
                             NSBackgroundStyle::emphasized)
    TIDEGLASS_STYLE_PROPERTY(bool, opaque, setOpaque, false)
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSColor>, backgroundColor, setBackgroundColor,
                             TideglassResources::nsColor("Background/Normal"))

  public:
    // Dark aqua, emphasized backgrounds, not opaque, the "Background/Normal" colour.
    BaseStyle() = default;

    // The image for `state`: the exact key; else, among the keys that are subsets of
    // `state`, the one with most options set (the first met, in the table's order, on
    // a tie); else the `default_` image; else none. The empty state goes straight to
    // the `default_` image.
    std::shared_ptr<NSImage> findImage(StyledControlState state,
                                       const StateImages& images) const override;
};

class ControlStyle : public BaseStyle {
    // The defaults of every control style (Styles::Control), no bezel images, zero
    // insets.
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSFont>, font, setFont, Styles::Control::font())
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSColor>, textColor, setTextColor,
                             Styles::Control::textColor())
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSColor>, textBackgroundColor, setTextBackgroundColor,
                             Styles::Control::background())
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSFont>, selectedFont, setSelectedFont,
                             Styles::Control::font())
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSColor>, selectedTextColor, setSelectedTextColor,
                             Styles::Control::selectedTextColor())
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSColor>, selectedBackgroundColor,
                             setSelectedBackgroundColor,
                             TideglassResources::nsColor("Highlight/System"))
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSColor>, disabledTextColor, setDisabledTextColor,
                             Styles::Control::disabledTextColor())
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSColor>, disabledBackgroundColor,
                             setDisabledBackgroundColor, Styles::Control::disabledBackground())
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSColor>, highlightedTextColor,
                             setHighlightedTextColor, Styles::Control::highlightedTextColor())
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSColor>, highlightedBackgroundColor,
                             setHighlightedBackgroundColor,
                             Styles::Control::highlightedBackground())
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSColor>, invalidTextColor, setInvalidTextColor,
                             Styles::Control::errorTextColor())
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSColor>, invalidBackgroundColor,
                             setInvalidBackgroundColor, Styles::Control::errorBackground())
    TIDEGLASS_STYLE_PROPERTY(StateImages, bezelImages, setBezelImages)
    TIDEGLASS_STYLE_PROPERTY(NSEdgeInsets, bezelImageCapInsets, setBezelImageCapInsets)
    TIDEGLASS_STYLE_PROPERTY(NSImageResizingMode, bezelImageResizingMode, setBezelImageResizingMode,
                             NSImageResizingMode::tile)
    TIDEGLASS_STYLE_PROPERTY(SwiftUIStateImages, swiftUIBezelImages, setSwiftUIBezelImages)
    TIDEGLASS_STYLE_PROPERTY(SwiftUI::EdgeInsets, swiftUIBezelImageCapInsets,
                             setSwiftUIBezelImageCapInsets)
    TIDEGLASS_STYLE_PROPERTY(SwiftUI::Image::ResizingMode, swiftUIBezelImageResizingMode,
                             setSwiftUIBezelImageResizingMode,
                             SwiftUI::Image::ResizingMode::stretch)
    TIDEGLASS_STYLE_PROPERTY(NSEdgeInsets, alignmentRectInsets, setAlignmentRectInsets)
    TIDEGLASS_STYLE_PROPERTY(NSEdgeInsets, edgeInsets, setEdgeInsets)
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSColor>, focusRingColor, setFocusRingColor,
                             TideglassResources::nsColor("Highlight/System"))
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSColor>, invalidFocusRingColor,
                             setInvalidFocusRingColor, Styles::Control::errorFocusRingColor())

  public:
    ControlStyle() = default;

    // invalid → invalidFocusRingColor; otherwise focusRingColor.
    virtual std::shared_ptr<NSColor> focusRingColor(StyledControlState state) const;
    // disabled, then invalid, selected, any of highlighted/on/mixed; else textColor.
    virtual std::shared_ptr<NSColor> textColor(StyledControlState state) const;
    // invalid, then any of highlighted/on/mixed, selected, disabled; else the style's
    // backgroundColor (not textBackgroundColor).
    virtual std::shared_ptr<NSColor> textBackgroundColor(StyledControlState state) const;
    // findImage over bezelImages.
    virtual std::shared_ptr<NSImage> bezelImage(StyledControlState state) const;
};
