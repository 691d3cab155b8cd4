#pragma once
// Settings layouts: a form of rows, sections of a form, a row with a label part and a
// content part, and the children of a view one by one (a list of views, a Group or a
// ForEach gives several). Thread: main.

#include <functional>
#include <vector>

#include "SwiftUI/Modifiers.h"
#include "SwiftUI/Views.h"

namespace SwiftUI {

// The views a view stands for in a list of siblings: a Group's or ForEach's elements,
// nothing for EmptyView, else the view itself.
std::vector<AnyView> subviewsOf(const AnyView& content);
// The same, each made into another view by `transform`, which keeps the identity the
// child had (a ForEach id stays the id of what the child became).
std::vector<AnyView> subviewsOf(const AnyView& content,
                                const std::function<AnyView(const AnyView&)>& transform);

// Rows from the top, leading-aligned.
struct Form : View<Form> {
    std::vector<AnyView> rows;
    template <ViewLike... Vs>
    requires detail::ChildViews<Form, Vs...>
    explicit Form(Vs&&... views) : rows(detail::viewList(views...)) {}
    AnyView body() const { return VStack(HorizontalAlignment::leading(), CGFloat(8), rows); }
};

struct Section : View<Section> {
    std::vector<AnyView> rows;
    template <ViewLike... Vs>
    requires detail::ChildViews<Section, Vs...>
    explicit Section(Vs&&... views) : rows(detail::viewList(views...)) {}
    AnyView body() const { return VStack(HorizontalAlignment::leading(), CGFloat(4), rows); }
};

// A label part followed by a content part, centred on each other vertically.
struct LabeledContent : View<LabeledContent> {
    AnyView content;
    AnyView label;
    LabeledContent(AnyView content, AnyView label)
        : content(std::move(content)), label(std::move(label)) {}
    AnyView body() const { return HStack(VerticalAlignment::center(), 8, label, content); }
};

} // namespace SwiftUI
