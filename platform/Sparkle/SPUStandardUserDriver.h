#pragma once
// The update framework's standard user interface: one small dark window, "Software
// Update", that says what the check is doing — checking, a newer version with its
// number, up to date, or that the check could not be made and why — with an OK button
// that closes it (the default button: Return presses it, and Space while it has the
// focus); Escape closes it too. It is shown through the application
// (NSApplication::presentWindow), and a display takes it off the screen when it closes.
// Thread: main thread.

#include <memory>
#include <string>

#include "Sparkle/SPUUpdater.h"

class NSWindow;

class SPUStandardUserDriver : public SPUUserDriver {
  public:
    void showUserInitiatedUpdateCheck() override;
    void showUpdateFound(const std::string& version) override;
    void showUpdateNotFound() override;
    void showUpdaterError(const std::string& message) override;

    // The window while it is shown, and its two lines.
    std::shared_ptr<NSWindow> window() const { return window_; }
    const std::string& headline() const { return headline_; }
    const std::string& detail() const { return detail_; }

  private:
    void show(std::string headline, std::string detail);
    std::shared_ptr<NSWindow> window_;
    std::string headline_, detail_;
};
