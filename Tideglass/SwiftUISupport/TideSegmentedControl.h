#pragma once
// A declarative segmented control: a row of tab-like buttons over an observable
// model that holds the items, the selected item and whether the selection is shown.
// Tapping a segment selects it; tapping the selected segment again clears the
// selection; a hidden selection is revealed by the next tap.
// Thread: main (the view, its buttons and the model by use).

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Observation/Observation.h"
#include "SwiftUI/SwiftUI.h"

// One segment. Equality compares ids only.
class TideSegmentItem {
  public:
    TideSegmentItem(int id, std::string title) : id(id), title(std::move(title)) {}
    const int id;
    const std::string title;
    bool isHidden = false; // kept for the caller; the control shows every item

    friend bool operator==(const TideSegmentItem& a, const TideSegmentItem& b) {
        return a.id == b.id;
    }
};

using TideSegmentItemRef = std::shared_ptr<TideSegmentItem>;

class TideSegmentedControlModel {
  public:
    explicit TideSegmentedControlModel(std::vector<TideSegmentItemRef> items)
        : items_(std::move(items)) {}

    // Observable properties; each setter notifies only on a real change (items: a
    // different count or a different id at some position; the selection: exactly
    // one side none or different ids). Setting onSelectionChanged always notifies.
    const std::vector<TideSegmentItemRef>& items() const;
    void setItems(std::vector<TideSegmentItemRef> items);
    bool hideSelection() const { return hideSelection_.get(); }
    void setHideSelection(bool hide) { hideSelection_.set(hide); }
    const TideSegmentItemRef& selectedItem() const;
    void setSelectedItem(TideSegmentItemRef item);
    // Called after every tap with the new selection.
    using SelectionHandler = std::function<void(const TideSegmentItemRef&)>;
    const SelectionHandler& onSelectionChanged() const;
    void setOnSelectionChanged(SelectionHandler handler);

    // Selects the first item with the id; no match changes nothing. Neither touches
    // hideSelection nor calls onSelectionChanged.
    void select(int itemWithId);
    // The tap on a segment.
    void segmentTapped(const TideSegmentItemRef& item);

    const ObservationRegistrar& registrar() const { return observation; }

  private:
    std::vector<TideSegmentItemRef> items_;
    Observed<bool> hideSelection_{false};
    TideSegmentItemRef selectedItem_;
    SelectionHandler onSelectionChanged_;
    ObservationRegistrar observation;
};

// The look of one segment: 12 pt medium, padded 16 × 6, with the window-tab
// artwork of its state (pressed first, then selected).
struct SegmentedButtonStyle {
    bool isSelected = false;
    SwiftUI::AnyView makeBody(const SwiftUI::ButtonStyleConfiguration& configuration) const;
};

struct TideSegmentedControl : SwiftUI::View<TideSegmentedControl> {
    std::shared_ptr<TideSegmentedControlModel> model;
    SwiftUI::AnyView body() const;
};
