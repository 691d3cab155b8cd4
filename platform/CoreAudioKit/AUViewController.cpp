#include "CoreAudioKit/AUViewController.h"

// Out of line: the protocol's type information lives in this library, one copy for
// hosts and extensions.
AUAudioUnitFactory::~AUAudioUnitFactory() = default;

void AUViewController::loadViewIfNeeded() {
    Runtime::assertMainThread("AUViewController::loadViewIfNeeded");
    if (viewLoaded)
        return;
    viewLoaded = true;
    view_ = loadView();
    viewDidLoad();
}

std::shared_ptr<NSView> AUViewController::loadView() {
    return make<NSView>(CGRect{0, 0, contentSize.width, contentSize.height});
}

const std::shared_ptr<NSView>& AUViewController::view() {
    loadViewIfNeeded();
    return view_;
}

void AUViewController::viewDidAppearOnScreen() {
    loadViewIfNeeded();
    viewDidAppear();
}
