#include "CoreAudioKit/AUViewController.h"

// Out of line: the protocol's type information lives in this library, one copy for
// hosts and extensions.
AUAudioUnitFactory::~AUAudioUnitFactory() = default;

void AUViewController::viewDidAppearOnScreen() {
    Runtime::assertMainThread("AUViewController::viewDidAppearOnScreen");
    loadViewIfNeeded();
    viewDidAppear();
}
