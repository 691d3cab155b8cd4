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

class AudioUnitViewController : public AUViewController, public AUAudioUnitFactory {
  public:
    // Creates the unit, configures the view model with it, routes the unit's
    // render-event echoes to the view model and installs the tree's listeners.
    std::shared_ptr<AUAudioUnit> createAudioUnit(const AudioComponentDescription& description,
                                                 AUError* error) override;

    const std::shared_ptr<AUAudioUnit>& audioUnit() const { return unit; }
    const std::shared_ptr<Settings>& settings() const { return viewModel; }

    static constexpr Size preferredSize{472, 672};

  protected:
    AudioUnitViewController();
    void viewDidLoad() override;

  private:
    std::shared_ptr<AUAudioUnit> createOnMainThread(const AudioComponentDescription& description,
                                                    AUError* error);

    std::shared_ptr<AUAudioUnit> unit;
    std::shared_ptr<Settings> viewModel;
};
