#include "AudioUnitViewController.h"

#include "EmberfallAudioUnit.h"
#include "Settings.h"

#include "Views/MainView.h"

#include "AppKit/NSWindow.h"
#include "Dispatch/Dispatch.h"
#include "SwiftUI/NSHostingView.h"
#include "Views/AnchorToAllSides.h"

AudioUnitViewController::AudioUnitViewController() : viewModel(Settings::create()) {}

std::shared_ptr<AUAudioUnit>
AudioUnitViewController::createAudioUnit(const AudioComponentDescription& description,
                                         AUError* error) {
    // On the main thread the body runs at once: a synchronous dispatch of the main
    // queue to itself would never start.
    if (Runtime::isMainThread())
        return createOnMainThread(description, error);
    return DispatchQueue::main().sync([&] { return createOnMainThread(description, error); });
}

std::shared_ptr<AUAudioUnit>
AudioUnitViewController::createOnMainThread(const AudioComponentDescription& description,
                                            AUError* error) {
    auto created = AUAudioUnit::instantiate<EmberfallAudioUnit>(description, 0, error);
    if (!created)
        return nullptr;
    unit = created;
    viewModel->configureAudioUnit(created);
    std::weak_ptr<AudioUnitViewController> weakSelf = weakAs<AudioUnitViewController>();
    created->setOnParamValueUpdate([weakSelf](AUParameterAddress address, AUValue value) {
        if (auto self = weakSelf.lock())
            self->viewModel->applyRenderEcho(address, value);
    });
    viewModel->setupParameterTreeListeners();
    return created;
}

void AudioUnitViewController::viewDidLoad() {
    AUViewController::viewDidLoad();
    hosting = make<SwiftUI::NSHostingController>(MainView().environment(viewModel));
    view()->addSubview(hosting->view());
    anchorToAllSidesOf(hosting->view(), view());
    setPreferredContentSize(preferredSize);
}

void AudioUnitViewController::viewDidAppear() {
    AUViewController::viewDidAppear();
    std::shared_ptr<NSWindow> window = view()->window();
    viewModel->pluginWindow = window;
    viewModel->pluginMainResponder = window ? window->firstResponder() : nullptr;
}
