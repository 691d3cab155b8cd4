#pragma once
// BaseStyle, the root of every style and the library's one Style, and ControlStyle,
// the superclass of every control's style: fonts, per-state text and background
// colours, per-state bezel images and the insets that place them, and the rules
// that pick the colour or image for a StyledControlState.
//
// A style is a shared, mutable object: every control of a class draws with the one
// style of its class (StyledView::style), so a change shows on all of them the next
// time they draw. Every property has a virtual getter and setter, and the per-state
// rules read through the getters, so a subclass that overrides a getter changes
// what the rules answer.
// Thread: main thread.

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "AppKit/NSAppearance.h"
#include "CoreGraphics/CGGeometry.h"
#include "Styles/StyleProtocols.h"
#include "SwiftUI/Layout.h"
#include "SwiftUI/Views.h"

class NSFont;

// View-layer images keyed by state, for declarative drawing code.
using SwiftUIStateImages = std::unordered_map<StyledControlState, SwiftUI::Image>;

class BaseStyle : public Style {
  public:
    // Dark aqua, emphasized backgrounds, not opaque, the "Background/Normal" colour.
    BaseStyle();

    std::optional<std::string> appearanceName() const override { return appearanceName_; }
    virtual void setAppearanceName(std::optional<std::string> name) {
        appearanceName_ = std::move(name);
    }
    NSBackgroundStyle backgroundStyle() const override { return backgroundStyle_; }
    virtual void setBackgroundStyle(NSBackgroundStyle style) { backgroundStyle_ = style; }
    NSBackgroundStyle interiorBackgroundStyle() const override { return interiorBackgroundStyle_; }
    virtual void setInteriorBackgroundStyle(NSBackgroundStyle style) {
        interiorBackgroundStyle_ = style;
    }
    virtual bool opaque() const { return opaque_; }
    virtual void setOpaque(bool opaque) { opaque_ = opaque; }
    std::shared_ptr<NSColor> backgroundColor() const override { return backgroundColor_; }
    virtual void setBackgroundColor(std::shared_ptr<NSColor> color) {
        backgroundColor_ = std::move(color);
    }

    // The image for `state`: the exact key; else, among the keys that are subsets of
    // `state`, the one with most options set (the first met, in the table's order, on
    // a tie); else the `default_` image; else none. The empty state goes straight to
    // the `default_` image.
    std::shared_ptr<NSImage> findImage(StyledControlState state,
                                       const StateImages& images) const override;

  private:
    std::optional<std::string> appearanceName_;
    NSBackgroundStyle backgroundStyle_;
    NSBackgroundStyle interiorBackgroundStyle_;
    bool opaque_;
    std::shared_ptr<NSColor> backgroundColor_;
};

class ControlStyle : public BaseStyle {
  public:
    // The defaults of every control style (Styles::Control), no bezel images, zero
    // insets.
    ControlStyle();

    virtual std::shared_ptr<NSFont> font() const { return font_; }
    virtual void setFont(std::shared_ptr<NSFont> v) { font_ = std::move(v); }
    virtual std::shared_ptr<NSColor> textColor() const { return textColor_; }
    virtual void setTextColor(std::shared_ptr<NSColor> v) { textColor_ = std::move(v); }
    virtual std::shared_ptr<NSColor> textBackgroundColor() const { return textBackgroundColor_; }
    virtual void setTextBackgroundColor(std::shared_ptr<NSColor> v) {
        textBackgroundColor_ = std::move(v);
    }
    virtual std::shared_ptr<NSFont> selectedFont() const { return selectedFont_; }
    virtual void setSelectedFont(std::shared_ptr<NSFont> v) { selectedFont_ = std::move(v); }
    virtual std::shared_ptr<NSColor> selectedTextColor() const { return selectedTextColor_; }
    virtual void setSelectedTextColor(std::shared_ptr<NSColor> v) {
        selectedTextColor_ = std::move(v);
    }
    virtual std::shared_ptr<NSColor> selectedBackgroundColor() const {
        return selectedBackgroundColor_;
    }
    virtual void setSelectedBackgroundColor(std::shared_ptr<NSColor> v) {
        selectedBackgroundColor_ = std::move(v);
    }
    virtual std::shared_ptr<NSColor> disabledTextColor() const { return disabledTextColor_; }
    virtual void setDisabledTextColor(std::shared_ptr<NSColor> v) {
        disabledTextColor_ = std::move(v);
    }
    virtual std::shared_ptr<NSColor> disabledBackgroundColor() const {
        return disabledBackgroundColor_;
    }
    virtual void setDisabledBackgroundColor(std::shared_ptr<NSColor> v) {
        disabledBackgroundColor_ = std::move(v);
    }
    virtual std::shared_ptr<NSColor> highlightedTextColor() const { return highlightedTextColor_; }
    virtual void setHighlightedTextColor(std::shared_ptr<NSColor> v) {
        highlightedTextColor_ = std::move(v);
    }
    virtual std::shared_ptr<NSColor> highlightedBackgroundColor() const {
        return highlightedBackgroundColor_;
    }
    virtual void setHighlightedBackgroundColor(std::shared_ptr<NSColor> v) {
        highlightedBackgroundColor_ = std::move(v);
    }
    virtual std::shared_ptr<NSColor> invalidTextColor() const { return invalidTextColor_; }
    virtual void setInvalidTextColor(std::shared_ptr<NSColor> v) {
        invalidTextColor_ = std::move(v);
    }
    virtual std::shared_ptr<NSColor> invalidBackgroundColor() const {
        return invalidBackgroundColor_;
    }
    virtual void setInvalidBackgroundColor(std::shared_ptr<NSColor> v) {
        invalidBackgroundColor_ = std::move(v);
    }
    virtual const StateImages& bezelImages() const { return bezelImages_; }
    virtual void setBezelImages(StateImages v) { bezelImages_ = std::move(v); }
    virtual NSEdgeInsets bezelImageCapInsets() const { return bezelImageCapInsets_; }
    virtual void setBezelImageCapInsets(NSEdgeInsets v) { bezelImageCapInsets_ = v; }
    virtual NSImageResizingMode bezelImageResizingMode() const { return bezelImageResizingMode_; }
    virtual void setBezelImageResizingMode(NSImageResizingMode v) { bezelImageResizingMode_ = v; }
    virtual const SwiftUIStateImages& swiftUIBezelImages() const { return swiftUIBezelImages_; }
    virtual void setSwiftUIBezelImages(SwiftUIStateImages v) { swiftUIBezelImages_ = std::move(v); }
    virtual SwiftUI::EdgeInsets swiftUIBezelImageCapInsets() const {
        return swiftUIBezelImageCapInsets_;
    }
    virtual void setSwiftUIBezelImageCapInsets(SwiftUI::EdgeInsets v) {
        swiftUIBezelImageCapInsets_ = v;
    }
    virtual SwiftUI::Image::ResizingMode swiftUIBezelImageResizingMode() const {
        return swiftUIBezelImageResizingMode_;
    }
    virtual void setSwiftUIBezelImageResizingMode(SwiftUI::Image::ResizingMode v) {
        swiftUIBezelImageResizingMode_ = v;
    }
    virtual NSEdgeInsets alignmentRectInsets() const { return alignmentRectInsets_; }
    virtual void setAlignmentRectInsets(NSEdgeInsets v) { alignmentRectInsets_ = v; }
    virtual NSEdgeInsets edgeInsets() const { return edgeInsets_; }
    virtual void setEdgeInsets(NSEdgeInsets v) { edgeInsets_ = v; }
    virtual std::shared_ptr<NSColor> focusRingColor() const { return focusRingColor_; }
    virtual void setFocusRingColor(std::shared_ptr<NSColor> v) { focusRingColor_ = std::move(v); }
    virtual std::shared_ptr<NSColor> invalidFocusRingColor() const {
        return invalidFocusRingColor_;
    }
    virtual void setInvalidFocusRingColor(std::shared_ptr<NSColor> v) {
        invalidFocusRingColor_ = std::move(v);
    }

    // invalid → invalidFocusRingColor; otherwise focusRingColor.
    virtual std::shared_ptr<NSColor> focusRingColor(StyledControlState state) const;
    // disabled, then invalid, selected, any of highlighted/on/mixed; else textColor.
    virtual std::shared_ptr<NSColor> textColor(StyledControlState state) const;
    // invalid, then any of highlighted/on/mixed, selected, disabled; else the style's
    // backgroundColor (not textBackgroundColor).
    virtual std::shared_ptr<NSColor> textBackgroundColor(StyledControlState state) const;
    // findImage over bezelImages.
    virtual std::shared_ptr<NSImage> bezelImage(StyledControlState state) const;

  private:
    std::shared_ptr<NSFont> font_;
    std::shared_ptr<NSColor> textColor_;
    std::shared_ptr<NSColor> textBackgroundColor_;
    std::shared_ptr<NSFont> selectedFont_;
    std::shared_ptr<NSColor> selectedTextColor_;
    std::shared_ptr<NSColor> selectedBackgroundColor_;
    std::shared_ptr<NSColor> disabledTextColor_;
    std::shared_ptr<NSColor> disabledBackgroundColor_;
    std::shared_ptr<NSColor> highlightedTextColor_;
    std::shared_ptr<NSColor> highlightedBackgroundColor_;
    std::shared_ptr<NSColor> invalidTextColor_;
    std::shared_ptr<NSColor> invalidBackgroundColor_;
    StateImages bezelImages_;
    NSEdgeInsets bezelImageCapInsets_;
    NSImageResizingMode bezelImageResizingMode_ = NSImageResizingMode::tile;
    SwiftUIStateImages swiftUIBezelImages_;
    SwiftUI::EdgeInsets swiftUIBezelImageCapInsets_;
    SwiftUI::Image::ResizingMode swiftUIBezelImageResizingMode_ =
        SwiftUI::Image::ResizingMode::stretch;
    NSEdgeInsets alignmentRectInsets_;
    NSEdgeInsets edgeInsets_;
    std::shared_ptr<NSColor> focusRingColor_;
    std::shared_ptr<NSColor> invalidFocusRingColor_;
};
