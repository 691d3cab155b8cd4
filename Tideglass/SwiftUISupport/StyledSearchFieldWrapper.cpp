#include "SwiftUISupport/StyledSearchFieldWrapper.h"

#include "AppKit/NSAppearance.h"
#include "Runtime/Runtime.h"

std::shared_ptr<StyledSearchFieldCoordinator> StyledSearchFieldWrapper::makeCoordinator() const {
    return make<StyledSearchFieldCoordinator>(*this);
}

std::shared_ptr<StyledSearchField> StyledSearchFieldWrapper::makeNSView(Context&) const {
    Runtime::assertMainThread("StyledSearchFieldWrapper.makeNSView");
    auto field = make<StyledSearchField>(CGRect{});
    field->setControlSize(NSControlSize::small);
    field->setFont(NSFont::systemFont(11));
    field->setPlaceholderString(placeholderString);
    field->bezelStyle = NSTextField::BezelStyle::rounded;
    field->appearance = NSAppearance::named(NSAppearanceName::darkAqua);
    field->setVerticallyCenter(false);
    return field;
}

void StyledSearchFieldWrapper::updateNSView(StyledSearchField& field, Context& context) const {
    Runtime::assertMainThread("StyledSearchFieldWrapper.updateNSView");
    auto& coordinator = *context.coordinator;
    coordinator.parent = *this;
    const std::string value = searchText.get();
    if (value != coordinator.lastWritten) {
        field.setStringValue(value);
        coordinator.lastWritten = value;
    }
    field.setTarget(context.coordinator);
    field.setAction(&StyledSearchFieldCoordinator::filterContents);
}

void StyledSearchFieldCoordinator::filterContents(NSObject* sender) {
    Runtime::assertMainThread("StyledSearchFieldWrapper.Coordinator.filterContents");
    auto* field = dynamic_cast<NSControl*>(sender);
    if (!field)
        return;
    const std::string text = field->stringValue();
    lastWritten = text;
    parent.searchText.set(text);
}

std::shared_ptr<StyledSearchFieldCoordinator> StyledSearchFieldCoordinator::plain() {
    unimplementedInitializer("Tideglass.StyledSearchFieldWrapper.Coordinator", "init()");
}
