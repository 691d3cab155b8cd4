#pragma once
// Stands in for NSWindowController: an object that owns one window, shows it
// (ordered front and made key) and keeps its frame under an autosave name.
// Left out: nibs, documents, window cascading, the shouldCascade and close
// behaviours. Thread: main thread.

#include <memory>
#include <string>

#include "AppKit/NSWindow.h"

class NSWindowController : public NSResponder {
  public:
    const std::shared_ptr<NSWindow>& window() const { return window_; }
    void setWindow(std::shared_ptr<NSWindow> window);

    // Shows the window: ordered front and made key. Nothing without a window.
    virtual void showWindow(NSObject* sender);

    // The name the window's frame is kept under ("" for none); applied to the
    // window now and to any later one.
    const std::string& windowFrameAutosaveName() const { return autosaveName; }
    void setWindowFrameAutosaveName(std::string name);

  protected:
    explicit NSWindowController(std::shared_ptr<NSWindow> window = nullptr)
        : window_(std::move(window)) {}

  private:
    std::shared_ptr<NSWindow> window_;
    std::string autosaveName;
};
