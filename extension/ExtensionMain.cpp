// The extension's one entry point: the extension service asks it for the principal
// class named in the Info.plist, the editor's view controller, which is also the
// audio-unit factory.
#include "AudioUnitViewController.h"

#include "ExtensionKit/ExtensionEntryPoint.h"

#include <string_view>

EXTENSIONKIT_EXPORT int ExtensionKitMakePrincipalObject(const char* principalClassName,
                                                        std::shared_ptr<NSObject>* result) {
    if (!principalClassName || !result ||
        std::string_view(principalClassName) != "EmberfallExtension.AudioUnitViewController")
        return 1;
    *result = make<AudioUnitViewController>();
    return 0;
}
