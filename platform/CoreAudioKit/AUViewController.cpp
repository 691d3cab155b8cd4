#include "CoreAudioKit/AUViewController.h"

// Out of line: the protocol's type information lives in this library, one copy for
// hosts and extensions.
AUAudioUnitFactory::~AUAudioUnitFactory() = default;

void AUViewController::loadViewIfNeeded() {
    Runtime::assertMainThread("AUViewController::loadViewIfNeeded");
    if (viewLoaded)
        return;
    viewLoaded = true;
    viewDidLoad();
}

void AUViewController::viewDidAppearOnScreen() {
    loadViewIfNeeded();
    viewDidAppear();
}
