#pragma once
// The yellow skin of the large dial: frames "knobs/chaos-dial-large-yellow_01" to "_51"
// of the bundle "Orrery_OrreryLargeDialYellow.bundle". Thread: main.

#include "LargeDial.h"

struct LargeDialYellow final : LargeDialColor {
    SwiftUI::Image image(int index) const override;
};

// The module's resource bundle, found once; the program ends when it is missing.
const std::shared_ptr<Bundle>& largeDialYellowBundle();
