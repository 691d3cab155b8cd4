#pragma once
// The audio-unit view controller base an extension's principal class derives from,
// and the factory protocol through which a host asks that class for an audio unit.
// Main thread, except createAudioUnit, which a host may call on any thread.

#include "AppKit/NSView.h"
#include "AudioToolbox/AUAudioUnit.h"
#include "Runtime/Runtime.h"

#include <memory>

// The extension's side of audio-unit creation.
class AUAudioUnitFactory {
  public:
    virtual ~AUAudioUnitFactory();
    // The new unit, or null with the reason in `error` (when given). Thread: any.
    virtual std::shared_ptr<AUAudioUnit>
    createAudioUnit(const AudioComponentDescription& description, AUError* error) = 0;
};

// The controller of a plug-in's editor. The view is loaded on first request: a plain
// view of the preferred content size (loadView), then viewDidLoad; a host puts it in
// its window and reports it on screen. The hooks run on the main thread.
class AUViewController : public NSObject {
  public:
    struct Size {
        double width = 0;
        double height = 0;
    };

    // Loads the view once (loadView, then viewDidLoad), then reports it on screen.
    void loadViewIfNeeded();
    bool isViewLoaded() const { return viewLoaded; }
    void viewDidAppearOnScreen();
    // The controller's view, loaded on first request.
    const std::shared_ptr<NSView>& view();

    Size preferredContentSize() const { return contentSize; }
    void setPreferredContentSize(Size size) { contentSize = size; }

  protected:
    AUViewController() = default;
    // Makes the view; the default is an empty view of the preferred content size.
    virtual std::shared_ptr<NSView> loadView();
    virtual void viewDidLoad() {}
    virtual void viewDidAppear() {}

  private:
    bool viewLoaded = false;
    std::shared_ptr<NSView> view_;
    Size contentSize;
};
