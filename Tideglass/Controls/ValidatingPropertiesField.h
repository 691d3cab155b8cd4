#pragma once
// ValidatingPropertiesField: the compact numeric input of a properties panel. A plain
// view that draws the text-field bezel itself around a borderless first-responder-aware
// text field, optionally preceded by a small tracking-slider icon that changes the value
// when dragged and focuses the text field when clicked.
//
// Layout. Without an icon the text field fills the view edge to edge. With one: 3 points,
// the 14 × 24 icon (centred vertically), 8 points, the text field (centred vertically),
// 3 points.
// Drawing, into r = the bounds widened by 2 points on each side:
//   selected (the text field has keyboard focus): the "tgui-textfield" bezel, then a ring
//     on r inset by 2 (radius 3, width 2, round caps and joins) filled with the ring
//     colour at alpha 0.3 and stroked in it — "Highlight/System" while valid, the error
//     focus-ring colour while invalid;
//   otherwise: "tgui-textfield" while valid, "tgui-textfield-error" while invalid.
// The text is Styles::TextInput's text colour while valid, its error text colour while
// invalid, its line centred in the text field's height, selected in Styles::TextInput's
// selection colours. Changing the validity redraws the field at once.
// The message shows in a pop-over above the field (its max-Y edge) while the text field
// has keyboard focus; it appears, is refreshed in place or closes when the focus changes
// or `isSelected` is set — typing does not update it.
// Made in code only: from an archive or with a frame it ends the program.
// Style members read: none (the palette's colours and the text-field art).
// Thread: main.

#include <memory>
#include <optional>
#include <string>

#include "AppKit/NSImage.h"
#include "AppKit/NSView.h"
#include "Combine/Combine.h"
#include "Controls/FirstResponderAwareTextField.h"
#include "Controls/SimpleTextViewPopover.h"
#include "Controls/TrackingSlider.h"
#include "Styles/StyleProtocols.h"

class ValidatingPropertiesField : public NSView, public ValidatingField, public Selectable {
  public:
    // init(frame:) and init(coder:): not available; both end the program.
    [[noreturn]] static std::shared_ptr<ValidatingPropertiesField> withFrame(CGRect frame);
    [[noreturn]] static std::shared_ptr<ValidatingPropertiesField> fromArchive();

    bool isValid() const override { return valid; }
    // Stores the flag, recolours the text and redraws.
    void setValid(bool value) override;
    bool isSelected() const override { return selected; }
    // Stores the flag, updates the message pop-over and redraws.
    void setSelected(bool value) override;
    std::optional<std::string> message() const override { return message_; }
    void setMessage(std::optional<std::string> message) override { message_ = std::move(message); }
    // The view's own tool tip.
    std::optional<std::string> toolTip() const override;
    void setToolTip(std::optional<std::string> toolTip) override;
    // Kept for the client; the field never reads it.
    std::optional<std::string> override;

    std::shared_ptr<FirstResponderAwareTextField> textField() const override { return field; }
    const std::shared_ptr<TrackingSlider>& icon() const { return icon_; }
    const std::shared_ptr<SimpleTextViewPopoverController>& popoverController() const {
        return controller;
    }

    bool isFlipped() const override { return false; }
    void drawRect(CGRect dirtyRect) override;
    // Fills the ring's path with `backgroundColor` when given, then strokes it in `color`.
    void drawFocusRing(const std::shared_ptr<NSColor>& color,
                       const std::shared_ptr<NSColor>& backgroundColor);
    // Shows, refreshes or closes the message pop-over for the text field's focus now.
    void updateMessagePopover();

    // The rectangle the bezel is drawn into: the bounds widened by 2 points on each side.
    CGRect bezelRect() const { return bounds().insetBy(-2, 0); }

  protected:
    // make<ValidatingPropertiesField>(): the text field alone; with an image: a
    // continuous tracking slider showing it before the text field (init(trackingSliderIcon:)).
    explicit ValidatingPropertiesField(std::shared_ptr<NSImage> trackingSliderIcon = nullptr);
    void didInit() override;

  private:
    void setUpTextField();
    void applyTextColor();

    bool valid = true;
    bool selected = false;
    std::optional<std::string> message_;
    std::shared_ptr<FirstResponderAwareTextField> field;
    std::shared_ptr<TrackingSlider> icon_;
    AnyCancellableSet cancellables;
    std::shared_ptr<SimpleTextViewPopoverController> controller;
};
