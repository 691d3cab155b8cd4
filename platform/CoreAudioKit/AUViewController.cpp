#include "CoreAudioKit/AUViewController.h"

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
