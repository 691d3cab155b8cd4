#include "Views/EditorDials.h"

#include "Settings.h"

using namespace SwiftUI;

AnyView DialRow::body(ViewContext&) const {
    return Spacer().frame(std::nullopt, 144);
}

AnyView ChaosDialRow::body(ViewContext&) const {
    return Spacer().padding(Edge::horizontal, 28).frame(std::nullopt, 146).offset(0, -1);
}
