#pragma once
// The resource-bundle lookup every module that ships resources uses: the bundle
// named "<Package>_<Module>.bundle" is searched, in this order, in
//   1. the main bundle's resources folder,
//   2. the resources folder of the bundle holding the module's code (found from an
//      address inside the module with dladdr),
//   3. the main bundle's own folder;
// the first candidate that opens is the module's bundle, and when none does the
// program ends with "unable to find bundle named <Package>_<Module>" (reported from
// the module's accessor's file and line when it names them).
//
// Build layout: emberfall_add_resource_bundle (cmake/EmberfallHelpers.cmake) builds
// each module's bundle into build/bin, beside every test and tool, where rule 1
// finds it (a program outside an .app is its own main bundle, its folder the
// resources). Inside an .app or an .appex the bundles lie in Contents/Resources.
//
// A module keeps the result for the process, so the search runs once:
//   const std::shared_ptr<Bundle>& moduleBundle() {
//       static const auto bundle = findResourceBundle("Package_Module", (const
//       void*)&moduleBundle); return bundle;
//   }
// Thread: any.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class Bundle;

// The three candidate folders for code at `codeAddress`, in search order (folders
// that do not exist are left out).
std::vector<std::string> resourceBundleCandidates(const void* codeAddress);
// The first "<name>.bundle" in `candidates` that opens, or nullptr.
std::shared_ptr<Bundle> findResourceBundle(const std::string& name,
                                           const std::vector<std::string>& candidates);
// The module's bundle by the rule above; ends the program when there is none, with
// the report coming from `reportFile` at `reportLine` when a file is given.
std::shared_ptr<Bundle> findResourceBundle(const std::string& name, const void* codeAddress,
                                           std::string_view reportFile = {},
                                           unsigned reportLine = 0);
