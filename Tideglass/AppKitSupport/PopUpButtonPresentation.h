#pragma once
// Pop-up buttons that show the values of a MenuPresentable type: the items of the
// type's menu structure, the item of a value selected, the selected value read back,
// and a two-way binding to a published model value. Two action methods move the
// selection to the next or previous usable item, for another control to send.
// The item of a value is recognised by its represented object (the value's raw
// value) or, in the binding, by its tag (an integer raw value).
// Thread: main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

#include "AppKit/NSPopUpButton.h"
#include "AppKitSupport/MenuDescriptions.h"
#include "AppKitSupport/NSControlActions.h"
#include "Combine/Combine.h"

// Selects the first item whose represented object is the value's raw value; nothing
// changes without a menu or a match.
template <class Value>
void selectItemMatchingRawRepresentableValue(NSPopUpButton& button, const Value& value) {
    Runtime::assertMainThread("Tideglass/NSPopupButton+Presentable");
    auto menu = button.menu();
    if (!menu)
        return;
    const auto& items = menu->itemArray();
    for (size_t i = 0; i < items.size(); ++i)
        if (representedObjectAs<typename Value::RawValue>(items[i]->representedObject) ==
            value.rawValue()) {
            button.selectItem(long(i));
            return;
        }
}

// The button's items become those of the type's menu structure; the value's is selected.
template <class Value>
void configureWithMenuPresentableValue(NSPopUpButton& button, const Value& value) {
    Runtime::assertMainThread("Tideglass/NSPopupButton+Presentable");
    button.removeAllItems();
    button.setMenu(Value::menuStructure().menu(nullptr, {}));
    selectItemMatchingRawRepresentableValue(button, value);
}

// The value of the selected item's represented object; none without a selected item,
// a represented object of the raw type, or a case of that raw value.
template <class Value>
std::optional<Value> selectedRawRepresentableValue(const NSPopUpButton& button) {
    auto item = button.selectedItem();
    if (!item)
        return std::nullopt;
    auto raw = representedObjectAs<typename Value::RawValue>(item->representedObject);
    if (!raw)
        return std::nullopt;
    return Value::fromRawValue(*raw);
}

template <class Value>
Value selectedRawRepresentableValue(const NSPopUpButton& button, Value replacingNilWithDefault) {
    if (auto value = selectedRawRepresentableValue<Value>(button))
        return *value;
    return replacingNilWithDefault;
}

// Configures the button for `value`, then binds it both ways: every value the model
// publishes selects the item of its tag; every action of the button reports the
// value of the selected item's tag. Tags are integers: with raw values of another
// type (strings) both ways drop every value, and only the configured selection shows. The
// subscriptions go into `cancellables`, which the caller releases before the button goes away (the
// model side holds the button unowned). The button's target and action now belong to its event
// publisher.
template <class Value, class ModelPublisher>
void bindMenu(const std::shared_ptr<NSPopUpButton>& button, const Value& value,
              const ModelPublisher& publisher, AnyCancellableSet& cancellables,
              std::type_identity_t<std::function<void(const Value&)>> onValueChanged) {
    Runtime::assertMainThread("Tideglass/NSPopupButton+Presentable");
    using Raw = typename Value::RawValue;
    configureWithMenuPresentableValue(*button, value);
    NSPopUpButton* unowned = button.get();
    publisher
        .compactMap([](const Value& v) -> std::optional<long> {
            if constexpr (std::is_integral_v<Raw>) {
                if (std::in_range<long>(v.rawValue()))
                    return long(v.rawValue());
            }
            return std::nullopt;
        })
        .sink([unowned](long tag) {
            Runtime::assertMainThread("Tideglass/NSPopupButton+Presentable");
            unowned->selectItemWithTag(tag);
        })
        .store(cancellables);
    controlEventPublisher(button)
        ->map(&NSPopUpButton::selectedItem)
        .compactMap([](const std::shared_ptr<NSMenuItem>& item) -> std::optional<Value> {
            if constexpr (std::is_integral_v<Raw>) {
                if (item && std::in_range<Raw>(item->tag))
                    return Value::fromRawValue(static_cast<Raw>(item->tag));
            }
            return std::nullopt;
        })
        .sink([onValueChanged = std::move(onValueChanged)](const Value& v) {
            Runtime::assertMainThread("Tideglass/NSPopupButton+Presentable");
            onValueChanged(v);
        })
        .store(cancellables);
}

// Action methods ("selectNextItem:", "selectPreviousItem:"): the next (previous)
// enabled item that is not a separator, wrapping to the first (last) item of the
// menu whatever it is; then the button's action is sent, also when the selection
// did not change.
void selectNextItem(NSPopUpButton& button, NSObject* sender);
void selectPreviousItem(NSPopUpButton& button, NSObject* sender);
inline NSAction selectNextItemAction() {
    return NSAction::extensionMethod<NSPopUpButton>(&selectNextItem);
}
inline NSAction selectPreviousItemAction() {
    return NSAction::extensionMethod<NSPopUpButton>(&selectPreviousItem);
}
