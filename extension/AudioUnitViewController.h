#pragma once
// The extension's principal class: the editor's view controller and the factory the
// host asks for the audio unit. It owns the view model from its creation, creates
// the unit and wires the two together.
//
// Threads: creation and the view hooks on the main thread; createAudioUnit on any
// thread (its body always runs on the main thread while the caller waits).

#include "CoreAudioKit/AUViewController.h"

#include <memory>

class EmberfallAudioUnit;
class Settings;
namespace SwiftUI {
class NSHostingController;
}

class AudioUnitViewController : public AUViewController, public AUAudioUnitFactory {
  public:
    // Creates the unit, configures the view model with it, routes the unit's
    // render-event echoes to the view model and installs the tree's listeners.
    std::shared_ptr<AUAudioUnit> createAudioUnit(const AudioComponentDescription& description,
                                                 AUError* error) override;

    const std::shared_ptr<AUAudioUnit>& audioUnit() const { return unit; }
    const std::shared_ptr<Settings>& settings() const { return viewModel; }
    // The controller of the hosted editor, made when the view loads.
    const std::shared_ptr<SwiftUI::NSHostingController>& hostingController() const {
        return hosting;
    }

    static constexpr Size preferredSize{472, 672};

  protected:
    AudioUnitViewController();
    // Hosts MainView with the view model in its environment, pinned to all four
    // sides of this controller's view.
    void viewDidLoad() override;
    // Hands the window and its first responder to the view model.
    void viewDidAppear() override;

  private:
    std::shared_ptr<AUAudioUnit> createOnMainThread(const AudioComponentDescription& description,
                                                    AUError* error);

    std::shared_ptr<AUAudioUnit> unit;
    std::shared_ptr<Settings> viewModel;
    std::shared_ptr<SwiftUI::NSHostingController> hosting;
};
