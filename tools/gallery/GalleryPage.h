#pragma once
// The gallery's interactive page: the control library's controls of the sheets, AppKit
// and declarative, live in one window (emberfall-gallery --window), so that a person
// can click through them. One section per library sheet that has live cells: the
// sheet's name, then those of its cells that need no events to reach their state
// (pressed and focused cells are for the PNG sheets), each control at its frame — or
// the cell's declarative views in a hosting view — in a box of the cell's size with its
// caption underneath. The sections scroll (the wheel over the page, `wheelStep` points
// a notch) in a window no higher than `visibleHeight`, so the whole page fits a
// 1024-point screen however many sheets it shows; a status line under them shows the
// last line of the action log (GalleryActionLog).
// Thread: main.

#include "Sheets.h"

#include "AppKit/NSScrollView.h"
#include "AppKit/NSWindow.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class GalleryPage {
  public:
    static constexpr CGFloat width = 960;
    // The most of the sections the window shows at once.
    static constexpr CGFloat visibleHeight = 820;
    // What one notch of the wheel scrolls the sections: three lines of text.
    static constexpr CGFloat wheelStep = 48;

    // The page of the sheets named in `only` (every sheet when it is empty).
    explicit GalleryPage(const std::vector<GallerySheet>& sheets,
                         const std::vector<std::string>& only = {});
    // The action log stops reporting to the page.
    ~GalleryPage();
    GalleryPage(const GalleryPage&) = delete;
    GalleryPage& operator=(const GalleryPage&) = delete;

    const std::shared_ptr<NSWindow>& window() const { return window_; }
    // The control of a cell, by sheet name and caption; none when the page has none.
    std::shared_ptr<NSView> control(const std::string& sheet, const std::string& caption) const;
    // What the status line shows.
    const std::string& status() const { return status_; }
    // The scroll view holding the sections.
    const std::shared_ptr<NSScrollView>& sections() const { return scroll; }
    // Scrolls the sections so that `view` (one of the page's) is in sight, in the middle
    // when it was not.
    void reveal(const NSView& view);

  private:
    std::shared_ptr<NSWindow> window_;
    std::shared_ptr<NSScrollView> scroll;
    std::map<std::pair<std::string, std::string>, std::shared_ptr<NSView>> controls;
    std::string status_;
};

// The sheets the page can show: the library's, with at least one live cell.
std::vector<std::string> liveSheetNames(const std::vector<GallerySheet>& sheets);
// Why the page cannot show the sheets named in `only` (a name that is no sheet, or a
// sheet with nothing live), naming the first such; empty when it can show them all.
std::string whyNotShown(const std::vector<GallerySheet>& sheets,
                        const std::vector<std::string>& only);

// Shows the page in a real window and runs until the person closes it (or `seconds`
// pass), printing each action; the exit status (1 without a display).
int runGalleryWindow(const std::vector<std::string>& only, std::optional<double> seconds);
