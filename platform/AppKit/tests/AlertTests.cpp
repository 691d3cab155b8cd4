#include "AppKit/NSAlert.h"

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

} // namespace
