#include "SwiftUISupport/TideSegmentedControl.h"

#include "Runtime/Runtime.h"
#include "Styles/TideglassResources.h"

using namespace SwiftUI;

const std::vector<TideSegmentItemRef>& TideSegmentedControlModel::items() const {
    observation.access(&items_);
    return items_;
}

void TideSegmentedControlModel::setItems(std::vector<TideSegmentItemRef> items) {
    bool same = items.size() == items_.size() &&
                std::equal(items.begin(), items.end(), items_.begin(),
                           [](const auto& a, const auto& b) { return a->id == b->id; });
    items_ = std::move(items);
    if (!same)
        observation.didChange(&items_);
}

const TideSegmentItemRef& TideSegmentedControlModel::selectedItem() const {
    observation.access(&selectedItem_);
    return selectedItem_;
}

void TideSegmentedControlModel::setSelectedItem(TideSegmentItemRef item) {
    bool same =
        (!item && !selectedItem_) || (item && selectedItem_ && item->id == selectedItem_->id);
    selectedItem_ = std::move(item);
    if (!same)
        observation.didChange(&selectedItem_);
}

const TideSegmentedControlModel::SelectionHandler&
TideSegmentedControlModel::onSelectionChanged() const {
    observation.access(&onSelectionChanged_);
    return onSelectionChanged_;
}

void TideSegmentedControlModel::setOnSelectionChanged(SelectionHandler handler) {
    onSelectionChanged_ = std::move(handler);
    observation.didChange(&onSelectionChanged_);
}

void TideSegmentedControlModel::select(int itemWithId) {
    for (const auto& item : items_)
        if (item->id == itemWithId) {
            setSelectedItem(item);
            return;
        }
}

void TideSegmentedControlModel::segmentTapped(const TideSegmentItemRef& item) {
    Runtime::assertMainThread("TideSegmentedControlModel.segmentTapped");
    if (!selectedItem_ || selectedItem_->id != item->id) {
        if (hideSelection_.peek())
            setHideSelection(false);
        setSelectedItem(item);
    } else if (hideSelection_.peek()) {
        setHideSelection(false); // the tap only reveals the selection
    } else {
        setSelectedItem(nullptr);
    }
    if (auto handler = onSelectionChanged_)
        handler(selectedItem_);
}

AnyView SegmentedButtonStyle::makeBody(const ButtonStyleConfiguration& configuration) const {
    const char* art = configuration.isPressed ? "tgui-window-tab-down"
                      : isSelected            ? "tgui-window-tab-selected"
                                              : "tgui-window-tab";
    const Color& color = configuration.isPressed ? TGColors::grey50()
                         : isSelected            ? TGColors::grey85()
                                                 : TGColors::grey70();
    return configuration.label.font(Font::system(12, Font::Weight::medium))
        .padding(EdgeInsets{6, 16, 6, 16})
        .foregroundColor(color)
        .background(Image(TideglassResources::image(art)).resizable(), Alignment::center());
}

AnyView TideSegmentedControl::body() const {
    Runtime::assertMainThread("TideSegmentedControl.body");
    auto m = model;
    bool hide = m->hideSelection();
    const TideSegmentItemRef& selected = m->selectedItem();
    return HStack(VerticalAlignment::center(),
                  ForEach(
                      m->items(), [](const TideSegmentItemRef& item) { return item->id; },
                      [&](const TideSegmentItemRef& item) {
                          bool isSelected = !hide && selected && selected->id == item->id;
                          return Button([m, item] { m->segmentTapped(item); }, Text(item->title))
                              .buttonStyle(SegmentedButtonStyle{isSelected});
                      }));
}
