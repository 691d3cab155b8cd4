#include "AppKitSupport/Alerts.h"

std::shared_ptr<NSAlert> makeAlert(const std::string& message, const std::string& informativeText) {
    Runtime::assertMainThread("Tideglass/NSAlert");
    auto alert = make<NSAlert>();
    alert->messageText = message;
    alert->informativeText = informativeText;
    return alert;
}

void showBasicModalAlert(const std::string& message, const std::string& informativeText,
                         const std::string& buttonTitle) {
    auto alert = makeAlert(message, informativeText);
    alert->addButton(buttonTitle);
    alert->runModal();
}

void showConfirmationAlert(const std::string& message, const std::string& informativeText,
                           const std::string& confirmTitle,
                           const std::function<void()>& onActionConfirmed) {
    auto alert = makeAlert(message, informativeText);
    alert->addButton(confirmTitle);
    alert->addButton("Cancel");
    if (alert->runModal() == NSAlertResponse::firstButtonReturn && onActionConfirmed)
        onActionConfirmed();
}
