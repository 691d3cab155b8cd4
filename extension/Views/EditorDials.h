#pragma once
// The editor's two rows of dials: the large dials (delay time, feedback, spread,
// dirt, mix), where the delay-time dial follows the delay mode (the note division in
// note mode, milliseconds in ms mode: two different views, so a switch replaces the
// dial and ends a turn in progress), and the six small dials of the modulation,
// width and filters. They find Settings in the environment. Thread: main.

#include "SwiftUI/SwiftUI.h"

struct DialRow : SwiftUI::View<DialRow> {
    SwiftUI::AnyView body(SwiftUI::ViewContext& ctx) const;
};

struct ChaosDialRow : SwiftUI::View<ChaosDialRow> {
    SwiftUI::AnyView body(SwiftUI::ViewContext& ctx) const;
};
