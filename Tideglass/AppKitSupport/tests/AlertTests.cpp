#include "AppKitSupport/Alerts.h"

#include <gtest/gtest.h>

namespace {

// Answers alerts with a chosen button and remembers what they showed.
struct AnsweredAlerts : ::testing::Test {
    NSModalResponse answer = NSAlertResponse::firstButtonReturn;
    std::vector<std::string> shown;
    void SetUp() override {
        NSAlert::setModalRunner([this](const NSAlert& alert) {
            std::string line = alert.messageText + " | " + alert.informativeText;
            for (auto& title : alert.buttonTitles())
                line += " [" + title + "]";
            shown.push_back(line);
            return answer;
        });
    }
    void TearDown() override { NSAlert::setModalRunner({}); }
};

TEST_F(AnsweredAlerts, ABasicAlertShowsItsTextsAndOneButton) {
    showBasicModalAlert("Saved", "All presets were written.", "Understood");
    EXPECT_EQ(shown, (std::vector<std::string>{"Saved | All presets were written. [Understood]"}));
    auto alert = makeAlert("A", "B");
    EXPECT_EQ(alert->messageText, "A");
    EXPECT_TRUE(alert->buttonTitles().empty());
    EXPECT_EQ(shown.size(), 1u); // made, not shown
}

TEST_F(AnsweredAlerts, AConfirmationCallsBackOnlyForItsFirstButton) {
    struct Case {
        NSModalResponse answer;
        bool confirmed;
    };
    for (const Case& c : {Case{NSAlertResponse::firstButtonReturn, true},
                          Case{NSAlertResponse::secondButtonReturn, false},
                          Case{NSModalResponseValue::stop, false}}) {
        answer = c.answer;
        bool confirmed = false;
        showConfirmationAlert("Reset?", "", "Reset", [&] { confirmed = true; });
        EXPECT_EQ(confirmed, c.confirmed) << c.answer;
    }
    EXPECT_EQ(shown.back(), "Reset? |  [Reset] [Cancel]");
}

} // namespace
