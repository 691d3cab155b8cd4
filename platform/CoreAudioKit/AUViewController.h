#pragma once
// The audio-unit view controller base an extension's principal class derives from,
// and the factory protocol through which a host asks that class for an audio unit.
// Main thread, except createAudioUnit, which a host may call on any thread.

#include "AppKit/NSViewController.h"
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

// The controller of a plug-in's editor: a view controller (its view loaded on first
// request, loadView then viewDidLoad) with the preferred size a host gives the
// plug-in's window; a host puts the view in its window and reports it on screen.
// The hooks run on the main thread.
class AUViewController : public NSViewController {
  public:
    struct Size {
        double width = 0;
        double height = 0;
    };

    // Loads the view if needed, then runs viewDidAppear.
    void viewDidAppearOnScreen();

    Size preferredContentSize() const {
        return {NSViewController::preferredContentSize.width,
                NSViewController::preferredContentSize.height};
    }
    void setPreferredContentSize(Size size) {
        NSViewController::preferredContentSize = {size.width, size.height};
    }

  protected:
    AUViewController() = default;
};
