#pragma once
// Bundle: a folder of code and resources. A bundle in the platform's layout holds
// Contents/Info.plist, Contents/MacOS/<executable> and Contents/Resources/; any
// other folder is a plain bundle whose resources are the folder itself (tests and
// tools run from a build folder).
//
// Thread: any. A bundle reads its Info.plist once, when it is opened, and is
// immutable afterwards.

#include "Foundation/PropertyList.h"
#include "Foundation/URL.h"
#include "Runtime/Runtime.h"

#include <memory>
#include <optional>
#include <string>

class Bundle : public NSObject {
  public:
    // The bundle of the running program: the folder three levels above an
    // executable that lies in <bundle>/Contents/MacOS/, else the executable's own
    // folder. Found once per process. A test may stand a bundle of its own in for it
    // (TestSupport/MainBundleResources.h).
    static std::shared_ptr<Bundle> main();
    // For tests only: main() answers `bundle` from now on (the program's own bundle again
    // for nullptr); returns the bundle that stood in before (nullptr for none).
    static std::shared_ptr<Bundle> standInForMain(std::shared_ptr<Bundle> bundle);
    // The bundle at a folder; nullptr when the path is not an existing folder.
    static std::shared_ptr<Bundle> atPath(const std::string& path);
    static std::shared_ptr<Bundle> atURL(const URL& url);
    // The bundle that holds the code at `address` (any function or object of a
    // module): found from the shared object or executable that contains it, by the
    // same rule as main(). nullptr when the address lies in no loaded module.
    static std::shared_ptr<Bundle> containing(const void* address);

    // The bundle folder for an executable or shared object at `path` (absolute):
    // the rule main() and containing() share.
    static std::string bundlePathForExecutable(const std::string& path);

    URL bundleURL() const { return URL::fileURL(path, true); }
    const std::string& bundlePath() const { return path; }
    // Contents/Resources for a bundle in the platform layout, the folder itself
    // for a plain folder.
    URL resourceURL() const;
    // Contents/MacOS/<CFBundleExecutable>; nullopt without that key or when its
    // value is not a plain file name (a slash, "." or "..").
    std::optional<URL> executableURL() const;

    // The parsed Contents/Info.plist; nullptr when it is missing or unreadable.
    const PropertyListDictionary* infoDictionary() const {
        return info ? info->dictionary() : nullptr;
    }
    // An entry of the info dictionary, or nullptr.
    const PropertyListValue* object(const std::string& infoDictionaryKey) const;
    // CFBundleIdentifier, when it is a string.
    std::optional<std::string> bundleIdentifier() const;

    // The text for `key` in the user's language from a string table (`table`, or the
    // default one when empty). Tables are not read here: the answer is `value` when
    // it is not empty, else the key itself, as for the development language.
    std::string localizedString(const std::string& key, const std::string& value = {},
                                const std::string& table = {}) const;

    // The resource "<name>.<extension>" (just <name> when the extension is empty),
    // optionally inside a sub-folder of the resources; nullopt when no such file
    // or folder exists.
    std::optional<URL> url(const std::string& forResource, const std::string& withExtension,
                           const std::string& subdirectory = "") const;

  protected:
    explicit Bundle(std::string folder);

  private:
    std::string path;
    bool platformLayout;
    std::optional<PropertyListValue> info;
};
