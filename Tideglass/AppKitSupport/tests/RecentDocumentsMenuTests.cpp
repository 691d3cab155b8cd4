#include "AppKitSupport/MenuDescriptions.h"
#include "AppKitSupport/RecentDocumentsMenuDelegate.h"

#include "AppKit/NSDocumentController.h"
#include "AppKit/NSImage.h"
#include "AppKit/NSImageRep.h"
#include "AppKit/NSWorkspace.h"

#include "TestSupport/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

// Recent documents in a folder of each test's own; the shared list is cleared around it.
struct RecentFiles : ::testing::Test {
    TemporaryDirectory folder{"tideglass-recent-documents"};
    NSDocumentController& documents = NSDocumentController::shared();
    std::shared_ptr<RecentDocumentsMenuDelegate> delegate = make<RecentDocumentsMenuDelegate>();
    std::shared_ptr<NSMenu> menu;

    void SetUp() override {
        documents.clearRecentDocuments(nullptr);
        documents.closeAllDocuments();
        TGMenuItem recent;
        recent.title = "Open Recent";
        recent.menuType = TGMenuType::recentDocuments(delegate);
        menu = recent.asMenuItem()->submenu();
    }
    void TearDown() override {
        documents.clearRecentDocuments(nullptr);
        documents.closeAllDocuments();
    }
    URL file(const std::string& name) {
        auto path = folder / name;
        std::ofstream(path) << name;
        return URL::fileURL(path.string());
    }
    std::vector<std::string> titles() {
        std::vector<std::string> t;
        for (auto& item : menu->itemArray())
            t.push_back(item->isSeparatorItem() ? "---" : item->title);
        return t;
    }
};

TEST_F(RecentFiles, WithNoDocumentsOnlyTheSeparatorAndClearRemain) {
    menu->update();
    EXPECT_EQ(titles(), (std::vector<std::string>{"---", "Clear Recent Documents"}));
    auto clear = menu->item(1);
    EXPECT_EQ(clear->target.lock(), nullptr);
    EXPECT_EQ(clear->keyEquivalent, "");
}

TEST_F(RecentFiles, DocumentsGoneFromDiskAreLeftOutAndTheRestKeepTheirOrder) {
    auto a = file("a.txt"), b = file("b.txt"), c = file("c.txt");
    for (auto& url : {c, b, a})
        documents.noteNewRecentDocumentURL(url); // newest first: a, b, c
    fs::remove(b.path());
    menu->update();
    EXPECT_EQ(titles(),
              (std::vector<std::string>{"a.txt", "c.txt", "---", "Clear Recent Documents"}));
    EXPECT_EQ(std::any_cast<URL>(menu->item(1)->representedObject), c);
    EXPECT_EQ(menu->item(0)->target.lock(), delegate);
    EXPECT_EQ(menu->item(0)->keyEquivalent, "");

    // Opened again, the list is fresh: the folder's files were rebuilt each time.
    fs::remove(a.path());
    menu->update();
    EXPECT_EQ(titles(), (std::vector<std::string>{"c.txt", "---", "Clear Recent Documents"}));
}

TEST_F(RecentFiles, OnlyTheSmallRenditionsOfAnIconAreKept) {
    auto generic = file("generic.txt");
    auto large = file("large.txt");
    auto big = NSImage::empty();
    for (CGFloat side : {32.0, 128.0})
        big->addRepresentation(
            make<NSBitmapImageRep>(CGImage::blank(size_t(side), size_t(side)), CGSize{side, side}));
    big->addRepresentation(make<NSBitmapImageRep>(CGImage::blank(64, 16), CGSize{64, 16}));
    big->addRepresentation(make<NSBitmapImageRep>(CGImage::blank(16, 64), CGSize{16, 64}));
    auto allLarge = NSImage::empty();
    allLarge->addRepresentation(make<NSBitmapImageRep>(CGImage::blank(32, 32), CGSize{32, 32}));
    NSWorkspace::shared()->setIcon(allLarge, large.path());
    documents.noteNewRecentDocumentURL(large);
    documents.noteNewRecentDocumentURL(generic);
    menu->update();
    ASSERT_EQ(menu->numberOfItems(), 4);
    auto sizes = [](const std::shared_ptr<NSMenuItem>& item) {
        std::vector<CGFloat> widths;
        if (!item || !item->image) {
            ADD_FAILURE() << "a recent document's item has no image";
            return widths;
        }
        for (auto& rep : item->image->representations())
            widths.push_back(rep->size.width);
        return widths;
    };
    EXPECT_EQ(sizes(menu->item(0)), (std::vector<CGFloat>{16}));
    EXPECT_TRUE(sizes(menu->item(1)).empty()); // an empty image, not none
    NSWorkspace::shared()->setIcon(big, large.path());
    menu->update();
    EXPECT_EQ(sizes(menu->item(1)),
              (std::vector<CGFloat>{64, 16})); // 16 on one side is small enough
    NSWorkspace::shared()->setIcon(nullptr, large.path());
}

TEST_F(RecentFiles, ChoosingAnItemOpensAndShowsItsDocumentAndClearEmptiesTheList) {
    auto song = file("song.txt");
    documents.noteNewRecentDocumentURL(song);
    menu->update();
    EXPECT_TRUE(menu->performActionForItem(0));
    ASSERT_EQ(documents.documents().size(), 1u);
    EXPECT_EQ(documents.documents()[0].fileURL, song);
    EXPECT_TRUE(documents.documents()[0].isShown);

    auto stray = NSMenuItem::make("stray");
    delegate->openRecentDocument(stray.get()); // no URL: nothing happens
    delegate->openRecentDocument(nullptr);
    EXPECT_EQ(documents.documents().size(), 1u);

    EXPECT_TRUE(menu->performActionForItem(menu->numberOfItems() - 1));
    EXPECT_TRUE(documents.recentDocumentURLs().empty());
    documents.noteNewRecentDocumentURL(song);
    delegate->clearRecentDocuments(nullptr);
    EXPECT_TRUE(documents.recentDocumentURLs().empty());
}

TEST_F(RecentFiles, EveryEntryPointRefusesToRunOffTheMainThread) {
    auto offMain = [](auto work) { std::thread(work).join(); };
    const char* message = "Tideglass/RecentDocumentsMenuDelegate must be used from the main thread";
    EXPECT_DEATH(offMain([&] { delegate->menuNeedsUpdate(*menu); }), message);
    EXPECT_DEATH(offMain([&] { delegate->openRecentDocument(nullptr); }), message);
    EXPECT_DEATH(offMain([&] { delegate->clearRecentDocuments(nullptr); }), message);
}

} // namespace
