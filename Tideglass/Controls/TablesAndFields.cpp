#include "Controls/TablesAndFields.h"

#include "Styles/TideglassResources.h"

namespace {
// An image button: its art, and the art shown while pressed.
std::shared_ptr<NSButton> imageButton(std::string_view image, std::string_view pressed) {
    auto button = make<NSButton>();
    button->setImage(TideglassResources::nsImage(image));
    button->alternateImage = TideglassResources::nsImage(pressed);
    return button;
}
} // namespace

ActionableTableHeaderView::ActionableTableHeaderView(CGRect frame)
    : NSTableHeaderView(frame),
      addItemButton(imageButton("properties-table-add", "properties-table-add-down")),
      optionButton(
          imageButton("properties-tableheader-overflow", "properties-tableheader-overflow-down")) {}
