#pragma once
// Stands in for NSDocumentController as far as recent documents go: the shared
// controller keeps the list of recently opened document URLs (newest first, each
// once, at most maximumRecentDocumentCount), clears it, and opens documents: an
// opened document is one the controller now lists (shown when asked to display it)
// and becomes the newest recent document.
// Left out: document classes and types, open panels, saving, autosaving, the
// persistence of the list between launches. Thread: main thread.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AppKit/NSResponder.h"
#include "Foundation/URL.h"

class NSDocumentController : public NSResponder {
  public:
    static NSDocumentController& shared();

    const std::vector<URL>& recentDocumentURLs() const { return recent; }
    void noteNewRecentDocumentURL(const URL& url);
    size_t maximumRecentDocumentCount = 10;
    // Action method ("clearRecentDocuments:").
    void clearRecentDocuments(NSObject* sender);

    struct Document {
        URL fileURL;
        bool isShown = false;
    };
    const std::vector<Document>& documents() const { return open; }
    // Opens the document at `url` (an error text when no file is there), then calls
    // the handler with the document's URL (none on failure) and the error text.
    void openDocument(const URL& url, bool display,
                      const std::function<void(const URL* document, const std::string& error)>&
                          completionHandler);
    // Closes every document (for tests and quitting).
    void closeAllDocuments() { open.clear(); }

  protected:
    NSDocumentController() = default;

  private:
    std::vector<URL> recent;
    std::vector<Document> open;
};
