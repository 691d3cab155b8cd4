#include "AppKit/NSAlert.h"

namespace {
NSAlert::ModalRunner& runner() {
    static NSAlert::ModalRunner installed;
    return installed;
}
} // namespace

NSModalResponse NSAlert::runModal() {
    Runtime::assertMainThread("NSAlert.runModal");
    if (auto& run = runner())
        return run(*this);
    return NSAlertResponse::firstButtonReturn;
}

void NSAlert::setModalRunner(ModalRunner r) {
    Runtime::assertMainThread("NSAlert.setModalRunner");
    runner() = std::move(r);
}
