#pragma once
// Alerts the library and the application show: a basic modal alert, a new alert
// with its texts, and a confirmation that calls back only when confirmed.
// Thread: main thread only.

#include <functional>
#include <memory>
#include <string>

#include "AppKit/NSAlert.h"

// A modal alert with one button; the response is not used.
void showBasicModalAlert(const std::string& message, const std::string& informativeText,
                         const std::string& buttonTitle);
// A new alert with the two texts, not shown.
std::shared_ptr<NSAlert> makeAlert(const std::string& message, const std::string& informativeText);
// Buttons `confirmTitle` then "Cancel"; `onActionConfirmed` runs only for the first.
void showConfirmationAlert(const std::string& message, const std::string& informativeText,
                           const std::string& confirmTitle,
                           const std::function<void()>& onActionConfirmed);
