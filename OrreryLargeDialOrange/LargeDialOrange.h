#pragma once
// The orange skin of the large dial: frames "knobs/chaos-dial-large-orange_01" to "_51"
// of the bundle "Orrery_OrreryLargeDialOrange.bundle". Thread: main.

#include "LargeDial.h"

struct LargeDialOrange final : LargeDialColor {
    SwiftUI::Image image(int index) const override;
};

// The module's resource bundle, found once; the program ends when it is missing.
const std::shared_ptr<Bundle>& largeDialOrangeBundle();
