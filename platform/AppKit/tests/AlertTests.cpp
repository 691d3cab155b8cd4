#include "AppKit/NSAlert.h"
#include "AppKit/NSSlider.h"

#include <gtest/gtest.h>

namespace {

TEST(AlertTest, AModalRunIsAnsweredByTheRunnerOrTheFirstButton) {
    auto alert = make<NSAlert>();
    alert->messageText = "Delete?";
    alert->addButton("Delete");
    alert->addButton("Cancel");
    EXPECT_EQ(alert->runModal(), NSAlertResponse::firstButtonReturn);
    std::string seen;
    NSAlert::setModalRunner([&](const NSAlert& a) {
        seen = a.messageText + "/" + a.buttonTitles().back();
        return NSAlertResponse::secondButtonReturn;
    });
    EXPECT_EQ(alert->runModal(), NSAlertResponse::secondButtonReturn);
    EXPECT_EQ(seen, "Delete?/Cancel");
    NSAlert::setModalRunner({});
}

TEST(SliderTest, ClampedValuesStayWithinTheRange) {
    auto slider = make<NSSlider>(CGRect{0, 0, 100, 20});
    slider->minValue = -1;
    slider->maxValue = 2;
    for (auto [in, out] : {std::pair{5.0, 2.0}, {-3.0, -1.0}, {0.5, 0.5}}) {
        slider->setClampedDoubleValue(in);
        EXPECT_EQ(slider->doubleValue(), out);
    }
}

} // namespace
