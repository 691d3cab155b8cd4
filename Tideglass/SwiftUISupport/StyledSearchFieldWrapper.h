#pragma once
// StyledSearchFieldWrapper: a styled search field (StyledSearchField) inside
// declarative views, its search text held in a two-way binding.
//
// The field is made small, in the 11-point system font, with the placeholder, a rounded
// bezel, the dark appearance and its text not centred vertically. Round trip: the field
// sends its action ("filterContents:", on the search field's usual schedule) to the
// coordinator, which writes the field's text into the binding; an update installs the
// coordinator as target again, refreshes the coordinator's copy of the wrapper (so the
// action reaches the newest binding), and writes the binding into the field only when
// it differs from what the coordinator last wrote — so an update that arrives between a
// keystroke and the delayed action leaves the typed text alone, while a binding changed
// from outside (cleared, say) shows in the field.
// Thread: main.

#include <memory>
#include <optional>
#include <string>

#include "Controls/StyledSearchField.h"
#include "SwiftUI/SwiftUI.h"
#include "SwiftUI/ViewRepresentable.h"

class StyledSearchFieldCoordinator;

class StyledSearchFieldWrapper
    : public SwiftUI::NSViewRepresentable<StyledSearchFieldWrapper, StyledSearchField,
                                          StyledSearchFieldCoordinator> {
  public:
    using Coordinator = StyledSearchFieldCoordinator;

    StyledSearchFieldWrapper(SwiftUI::Binding<std::string> searchText,
                             std::string placeholderString)
        : searchText(std::move(searchText)), placeholderString(std::move(placeholderString)) {}

    SwiftUI::Binding<std::string> searchText;
    std::string placeholderString;

    std::shared_ptr<Coordinator> makeCoordinator() const;
    std::shared_ptr<StyledSearchField> makeNSView(Context& context) const;
    void updateNSView(StyledSearchField& field, Context& context) const;
};

class StyledSearchFieldCoordinator : public NSObject {
  public:
    // The wrapper it was made from; every update replaces it with the newest.
    StyledSearchFieldWrapper parent;
    // What the coordinator last wrote into the binding (or an update into the field).
    std::optional<std::string> lastWritten;

    // The action: the sender's text into the parent's binding.
    void filterContents(NSObject* sender);
    // init(): not available; ends the program.
    [[noreturn]] static std::shared_ptr<StyledSearchFieldCoordinator> plain();

  protected:
    explicit StyledSearchFieldCoordinator(StyledSearchFieldWrapper parent)
        : parent(std::move(parent)) {}
};
