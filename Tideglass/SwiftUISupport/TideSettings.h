#pragma once
// Building blocks for settings panes: a form of fixed width whose rows are labelled
// sections sharing one label-column width, dividers between groups, and a layout that
// puts each child of a section's content on a row of its own, leading-aligned at full
// width. Thread: main (bodies and the configuration's properties).

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Observation/Observation.h"
#include "SwiftUI/SwiftUI.h"

// The label-column width that a TideSettings form hands to its sections through the
// view environment. Observable; the setter notifies only on a change.
class TideSettingsConfig {
  public:
    explicit TideSettingsConfig(CGFloat labelWidth) : labelWidth_(labelWidth) {}
    CGFloat labelWidth() const { return labelWidth_.get(); }
    void setLabelWidth(CGFloat width) { labelWidth_.set(width); }

  private:
    Observed<CGFloat> labelWidth_;
};

// A form `settingsWidth` wide, centred, whose content sees a new TideSettingsConfig.
struct TideSettings : SwiftUI::View<TideSettings> {
    TideSettings(CGFloat labelWidth, CGFloat settingsWidth,
                 const std::function<SwiftUI::AnyView()>& content);
    SwiftUI::AnyView content;
    CGFloat settingsWidth;
    SwiftUI::AnyView body() const;
};

// A labelled row: the label in a column of the form's label width, then the content,
// each child on a row of its own, 4 points apart, stretched to the full width.
struct TideSettingsSection : SwiftUI::View<TideSettingsSection> {
    TideSettingsSection(std::string label, SwiftUI::AnyView content)
        : label(std::move(label)), content(std::move(content)) {}
    std::string label;
    SwiftUI::AnyView content;
    // Reads the TideSettingsConfig of the environment (the program stops without one).
    SwiftUI::AnyView body(SwiftUI::ViewContext& ctx) const;
};

// A divider between groups of sections, padded 16 left and right and 8 above and below.
struct TideSettingsDivider : SwiftUI::View<TideSettingsDivider> {
    SwiftUI::AnyView body() const;
};

// Each child of the content on a centre-aligned row of its own followed by a flexible
// spacer, so every child starts at the leading edge and the row fills the width. The
// rows keep the identities of their children.
struct FillEachChildLeading : SwiftUI::View<FillEachChildLeading> {
    explicit FillEachChildLeading(SwiftUI::AnyView content) : content(std::move(content)) {}
    SwiftUI::AnyView content;
    // The rows, for a stack to take as its own children.
    std::vector<SwiftUI::AnyView> rows() const;
    // The rows as a group of views.
    SwiftUI::AnyView body() const { return SwiftUI::Group(rows()); }
};
