#pragma once
// Fills a recent-documents submenu each time it is about to open: one item per
// recent document that still exists (its file name, a small icon), then a separator
// and "Clear Recent Documents", which travels the responder chain to the shared
// document controller. Stateless: the menu is rebuilt from the document
// controller's list every time. Whoever creates the delegate keeps it alive while a
// menu uses it (a menu holds its delegate weakly; a TGMenuType holds it strongly).
// Thread: main thread only.

#include <memory>

#include "AppKit/NSMenu.h"

class RecentDocumentsMenuDelegate : public NSObject, public NSMenuDelegate {
  public:
    // Replaces every item of the menu.
    void menuNeedsUpdate(NSMenu& menu) override;
    // Action method ("openRecentDocument:"): opens and shows the item's URL.
    void openRecentDocument(NSObject* sender);
    // Action method ("clearRecentDocuments:"): the document controller's.
    void clearRecentDocuments(NSObject* sender);

  protected:
    RecentDocumentsMenuDelegate() = default;
};
