#include "AppKit/NSDocumentController.h"

#include <algorithm>
#include <filesystem>

NSDocumentController& NSDocumentController::shared() {
    Runtime::assertMainThread("NSDocumentController.shared");
    static std::shared_ptr<NSDocumentController> controller = make<NSDocumentController>();
    return *controller;
}

void NSDocumentController::noteNewRecentDocumentURL(const URL& url) {
    Runtime::assertMainThread("NSDocumentController.noteNewRecentDocumentURL");
    recent.erase(std::remove(recent.begin(), recent.end(), url), recent.end());
    recent.insert(recent.begin(), url);
    if (recent.size() > maximumRecentDocumentCount)
        recent.erase(recent.begin() + long(maximumRecentDocumentCount), recent.end());
}

void NSDocumentController::clearRecentDocuments(NSObject*) {
    Runtime::assertMainThread("NSDocumentController.clearRecentDocuments");
    recent.clear();
}

void NSDocumentController::openDocument(
    const URL& url, bool display,
    const std::function<void(const URL*, const std::string&)>& completionHandler) {
    Runtime::assertMainThread("NSDocumentController.openDocument");
    std::error_code error;
    if (!url.isFileURL() || !std::filesystem::is_regular_file(url.path(), error)) {
        if (completionHandler)
            completionHandler(nullptr, "The file \"" + url.lastPathComponent() +
                                           "\" couldn't be opened because there is no such file.");
        return;
    }
    auto it =
        std::find_if(open.begin(), open.end(), [&](const Document& d) { return d.fileURL == url; });
    if (it == open.end())
        it = open.insert(open.end(), Document{url, false});
    it->isShown = it->isShown || display;
    noteNewRecentDocumentURL(url);
    if (completionHandler)
        completionHandler(&it->fileURL, {});
}
