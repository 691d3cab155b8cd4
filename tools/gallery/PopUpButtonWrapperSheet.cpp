// The pop-up button wrapper of the control library inside small declarative views: the
// wrapper bound to a state, and a line under it that shows the bound value.

#include "Sheets.h"
#include "Styles/TideglassResources.h"
#include "SwiftUISupport/StyledPopUpButtonWrapper.h"

namespace {

enum class DelayModel { bbd1, bbd2, pt1, pt2 };
std::vector<DelayModel> allCases(std::type_identity<DelayModel>) {
    return {DelayModel::bbd1, DelayModel::bbd2, DelayModel::pt1, DelayModel::pt2};
}
std::string displayText(DelayModel m) {
    static const char* const names[] = {"BBD 1", "BBD 2", "Tape 1", "Tape 2"};
    return names[int(m)];
}

using Item = PopupItem<DelayModel>;

// The models with a divider and the tapes in a submenu (the second tape disabled);
// `images` gives the bucket-brigade models a star.
std::vector<Item> models(bool images = false) {
    auto star = images ? TideglassResources::nsImage("organiser-icon-star") : nullptr;
    Item tapes(std::nullopt, "Tape");
    tapes.subMenu =
        std::vector<Item>{Item(DelayModel::pt1), Item(DelayModel::pt2, "Tape 2", nullptr, false)};
    return {Item(DelayModel::bbd1, star), Item(DelayModel::bbd2, star), Item::divider(), tapes};
}

// A form holding the model in its own state: the wrapper and a line showing the value.
struct ModelForm : SwiftUI::View<ModelForm> {
    DelayModel initial = DelayModel::bbd1;
    std::vector<Item> items;
    std::optional<std::string> label;
    std::optional<CGFloat> fixedWidth;
    SwiftUI::AnyView body(SwiftUI::ViewContext& ctx) const {
        auto model = ctx.state(initial);
        return SwiftUI::AnyView(SwiftUI::VStack(
            8,
            StyledPopUpButtonWrapper<DelayModel>(items, model.binding(), label, fixedWidth)
                .frame(fixedWidth.value_or(140), 22),
            SwiftUI::Text("Bound: " + displayText(model.get()))
                .foregroundColor(SwiftUI::ColorValue(0.7, 0.7, 0.7))));
    }
};

GalleryCell form(std::string caption, DelayModel initial, std::vector<Item> items,
                 std::optional<std::string> label = std::nullopt,
                 std::optional<CGFloat> fixedWidth = std::nullopt) {
    GalleryCell cell;
    cell.caption = std::move(caption);
    cell.size = {200, 64};
    cell.view = [=] {
        ModelForm f;
        f.initial = initial;
        f.items = items;
        f.label = label;
        f.fixedWidth = fixedWidth;
        return SwiftUI::AnyView(f);
    };
    return cell;
}

const GalleryRegistration popUpWrapper([] {
    return std::vector<GallerySheet>{{
        "pop-up-wrapper",
        3,
        {
            form("bound to a top-level item", DelayModel::bbd2, models()),
            form("bound to an item of a submenu", DelayModel::pt1, models()),
            form("bound to a disabled item", DelayModel::pt2, models()),
            form("with a label", DelayModel::bbd2, models(), "Model:", 170),
            form("items with images", DelayModel::bbd1, models(true)),
            form("no item of the value: the first item shows", DelayModel::pt2,
                 {Item(DelayModel::bbd1), Item(DelayModel::bbd2)}),
        },
    }};
});

} // namespace
