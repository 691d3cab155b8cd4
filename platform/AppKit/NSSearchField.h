#pragma once
// Stands in for NSSearchField and NSSearchFieldCell: a text field with a search button
// at its leading end and a cancel button at its trailing end, which sends its action as
// the person types.
//
// Geometry, in the control's coordinates, for bounds b (tests call these without
// drawing):
//   search button  (b.minX, b.minY, 26, b.height) with a search button cell, else zero;
//   cancel button  (b.maxX − 22, b.minY, 22, b.height) with a cancel button cell, else
//                  zero;
//   search text    between the two: from the search button's maximum x (b.minX
//                  without one) to the cancel button's minimum x (b.maxX without one),
//                  over b's height.
// Drawing: the text field's frame, then the search button's cell, the text (or the
// placeholder) in the search-text rectangle, and the cancel button's cell while there
// is text. The field editor is placed as in a text field (the title rectangle); a cell
// that wants it in the search-text rectangle passes that rectangle to edit or select.
//
// The action: typing sends it a quarter of a second after the last change (at once
// with sendsSearchStringImmediately; only on Return with sendsWholeSearchString);
// Return sends it at once; a click on the cancel button while there is text clears the
// text and sends it. A change made in code sends nothing.
// The field is flipped (y grows downwards).
// Left out: recent searches and their menu, the search menu template, centred
// placeholders. Thread: main thread.

#include <memory>

#include "AppKit/NSButtonCell.h"
#include "AppKit/NSTextField.h"
#include "Foundation/Timer.h"

class NSSearchFieldCell : public NSTextFieldCell {
  public:
    // The two buttons' cells, each a plain button cell with the platform's image; set
    // to null for no button.
    std::shared_ptr<NSButtonCell> searchButtonCell;
    std::shared_ptr<NSButtonCell> cancelButtonCell;
    bool sendsSearchStringImmediately = false;
    bool sendsWholeSearchString = false;

    // Puts back a new button cell of the platform's kind.
    void resetSearchButtonCell();
    void resetCancelButtonCell();

    virtual CGRect searchButtonRectForBounds(CGRect bounds) const;
    virtual CGRect cancelButtonRectForBounds(CGRect bounds) const;
    virtual CGRect searchTextRectForBounds(CGRect bounds) const;

    void drawInteriorWithFrame(CGRect cellFrame, NSView& controlView) override;

  protected:
    NSSearchFieldCell() = default;
    void didInit() override;
};

class NSSearchField : public NSTextField {
  public:
    explicit NSSearchField(CGRect frame = {}) : NSTextField(frame) {}
    ~NSSearchField() override;

    // The cell as a search-field cell (null when a cell of another kind was installed).
    std::shared_ptr<NSSearchFieldCell> searchFieldCell() const;
    // How long after the last change typing sends the action.
    static constexpr double searchDelay = 0.25;

    // Search fields draw with y growing downwards.
    bool isFlipped() const override { return true; }
    void mouseDown(const NSEvent& event) override;
    void textDidChange(const Notification& notification) override;
    void textDidEndEditing(const Notification& notification) override;

  protected:
    std::shared_ptr<NSCell> makeCell() override;

  private:
    void sendSearch();
    std::shared_ptr<Timer> pending;
};
