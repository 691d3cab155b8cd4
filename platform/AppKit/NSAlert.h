#pragma once
// Stands in for NSAlert: a message, an informative text and buttons, run modally.
// The first button answers 1000 (alertFirstButtonReturn), the next 1001, and so on.
// No alert window is drawn here: a modal run asks the process's modal runner, which
// a program with a display (or a test) installs; without one the alert is answered
// with its first button, as pressing Return would.
// Thread: main thread.

#include <functional>
#include <string>
#include <vector>

#include "AppKit/NSWindow.h"

namespace NSAlertResponse {
inline constexpr NSModalResponse firstButtonReturn = 1000;
inline constexpr NSModalResponse secondButtonReturn = 1001;
inline constexpr NSModalResponse thirdButtonReturn = 1002;
} // namespace NSAlertResponse

class NSAlert : public NSObject {
  public:
    std::string messageText;
    std::string informativeText;
    const std::vector<std::string>& buttonTitles() const { return titles; }
    void addButton(std::string title) { titles.push_back(std::move(title)); }

    NSModalResponse runModal();

    // Answers every modal run (none: the first button answers).
    using ModalRunner = std::function<NSModalResponse(const NSAlert&)>;
    static void setModalRunner(ModalRunner runner);

  protected:
    NSAlert() = default;

  private:
    std::vector<std::string> titles;
};
