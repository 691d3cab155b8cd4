#pragma once
// The one C entry point through which the extension service creates an
// extension's principal class. Every extension's shared object defines it:
//
//   EXTENSIONKIT_EXPORT int ExtensionKitMakePrincipalObject(
//       const char* principalClassName, std::shared_ptr<NSObject>* result) {
//       if (std::string_view(principalClassName) == "MyModule.MyClass") {
//           *result = make<MyClass>();
//           return 0;
//       }
//       return 1;
//   }
//
// `principalClassName` is the Info.plist's NSExtension / NSExtensionPrincipalClass.
// Return 0 after storing a new object in *result, or non-zero (leaving *result
// alone) for a name the extension does not know. An exception thrown out of it is
// caught by the host side and reported as an error. Called on the main thread.
//
// The platform libraries are shared objects, so the extension and its host see
// one main thread, one run loop and one copy of every platform object.

#include "Runtime/Runtime.h"

#include <memory>

#define EXTENSIONKIT_EXPORT extern "C" __attribute__((visibility("default")))
#define EXTENSIONKIT_ENTRY_POINT_NAME "ExtensionKitMakePrincipalObject"

EXTENSIONKIT_EXPORT int ExtensionKitMakePrincipalObject(const char* principalClassName,
                                                        std::shared_ptr<NSObject>* result);

using ExtensionKitEntryPoint = int (*)(const char*, std::shared_ptr<NSObject>*);
