#include "GalleryPage.h"

#include "AppKit/NSBox.h"
#include "AppKit/NSColor.h"
#include "AppKit/NSFont.h"
#include "AppKit/NSStringDrawing.h"
#include "Display/DisplayServer.h"
#include "SwiftUI/NSHostingView.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr CGFloat margin = 16, gap = 12, headerHeight = 28, captionHeight = 16, statusHeight = 28;

// A flipped view: frames and drawing read from the top-left, as the sheets' cells do.
class TopLeftView : public NSView {
  public:
    using NSView::NSView;
    bool isFlipped() const override { return true; }
};

// One line of text.
class LabelView : public TopLeftView {
  public:
    LabelView(CGRect frame, std::string text, CGFloat size, std::shared_ptr<NSColor> color)
        : TopLeftView(frame), text(std::move(text)), size(size), color(std::move(color)) {}
    void setText(std::string t) {
        text = std::move(t);
        setNeedsDisplay();
    }
    void drawRect(CGRect) override {
        NSStringDraw(text, bounds(),
                     {NSFont::systemFont(size), color, NSTextAlignment::left,
                      NSLineBreakMode::byTruncatingTail});
    }

  private:
    std::string text;
    CGFloat size;
    std::shared_ptr<NSColor> color;
};

bool live(const GalleryCell& cell) {
    return !cell.pose && (cell.view || cell.control);
}

bool hasLiveCells(const GallerySheet& sheet) {
    return sheet.library && std::any_of(sheet.cells.begin(), sheet.cells.end(), live);
}

// The cell's control, or its declarative views in a hosting view of the cell's size.
std::shared_ptr<NSView> liveView(const GalleryCell& cell) {
    if (!cell.view)
        return cell.control();
    auto host = make<SwiftUI::NSHostingView>(cell.view());
    host->setFrame({{0, 0}, cell.size});
    return host;
}

} // namespace

GalleryPage::GalleryPage(const std::vector<GallerySheet>& sheets,
                         const std::vector<std::string>& only) {
    auto content = make<TopLeftView>(CGRect{0, 0, width, 100}); // the sections, scrolled
    CGFloat y = margin;
    for (const auto& sheet : sheets) {
        if (!sheet.library ||
            (!only.empty() && std::find(only.begin(), only.end(), sheet.name) == only.end()))
            continue;
        std::vector<const GalleryCell*> cells;
        CGSize pitch{0, 0};
        for (const auto& cell : sheet.cells)
            if (live(cell)) {
                cells.push_back(&cell);
                pitch.width = std::max(pitch.width, cell.size.width + gap);
                pitch.height = std::max(pitch.height, cell.size.height + captionHeight + gap);
            }
        if (cells.empty())
            continue;
        content->addSubview(make<LabelView>(CGRect{margin, y, width - 2 * margin, headerHeight},
                                            sheet.name, 15, NSColor::labelColor()));
        y += headerHeight;
        const int columns = std::max(1, int((width - 2 * margin + gap) / pitch.width));
        for (size_t i = 0; i < cells.size(); ++i) {
            const GalleryCell& cell = *cells[i];
            const CGPoint origin{margin + CGFloat(i % size_t(columns)) * pitch.width,
                                 y + CGFloat(i / size_t(columns)) * pitch.height};
            auto box = make<TopLeftView>(CGRect{origin, cell.size});
            auto control = liveView(cell);
            if (control->identifier.empty())
                control->identifier = cell.caption;
            box->addSubview(control);
            content->addSubview(box);
            content->addSubview(make<LabelView>(
                CGRect{origin.x, origin.y + cell.size.height + 1, cell.size.width, captionHeight},
                cell.caption, 10, NSColor::secondaryLabelColor()));
            controls[{sheet.name, cell.caption}] = control;
        }
        y += CGFloat((cells.size() + size_t(columns) - 1) / size_t(columns)) * pitch.height + gap;
    }
    content->setFrameSize({width, y});
    const CGFloat shown = std::min(y, visibleHeight);
    scroll = make<NSScrollView>(CGRect{0, 0, width, shown});
    scroll->drawsBackground = false;
    scroll->hasVerticalScroller = y > shown;
    scroll->lineScroll = wheelStep;
    scroll->setDocumentView(content);
    const bool scrolls = y > shown;
    auto status = make<LabelView>(CGRect{margin, shown + 4, width - 2 * margin, statusHeight},
                                  scrolls ? "Scroll for more. Click a control: its action "
                                            "shows here."
                                          : "Click a control: its action shows here.",
                                  12, NSColor::labelColor());
    // A line between the scrolled sections and the status line.
    auto divider = make<NSBox>(CGRect{0, shown, width, 1});
    divider->boxType = NSBox::BoxType::separator;
    auto page = make<TopLeftView>(CGRect{0, 0, width, shown + statusHeight + margin});
    page->addSubview(scroll);
    page->addSubview(divider);
    page->addSubview(status);
    window_ = make<NSWindow>(CGRect{0, 0, width, shown + statusHeight + margin},
                             uint64_t(NSWindow::titled | NSWindow::closable));
    window_->title = "Emberfall gallery";
    window_->setContentView(page);
    std::weak_ptr<LabelView> weakStatus = status;
    GalleryActionLog::shared()->onLine = [this, weakStatus](const std::string& line) {
        status_ = line;
        if (auto label = weakStatus.lock())
            label->setText(line);
    };
}

GalleryPage::~GalleryPage() {
    GalleryActionLog::shared()->onLine = nullptr;
}

void GalleryPage::reveal(const NSView& view) {
    const auto clip = scroll->contentView();
    const auto document = scroll->documentView();
    const CGRect r = document->convertFromView(view.convertToView(view.bounds(), nullptr), nullptr);
    const CGRect visible = scroll->documentVisibleRect();
    if (r.minY() >= visible.minY() && r.maxY() <= visible.maxY())
        return;
    clip->scrollToPoint({visible.minX(), r.midY() - visible.height() / 2});
}

std::shared_ptr<NSView> GalleryPage::control(const std::string& sheet,
                                             const std::string& caption) const {
    auto it = controls.find({sheet, caption});
    return it == controls.end() ? nullptr : it->second;
}

std::vector<std::string> liveSheetNames(const std::vector<GallerySheet>& sheets) {
    std::vector<std::string> names;
    for (const auto& sheet : sheets)
        if (hasLiveCells(sheet))
            names.push_back(sheet.name);
    return names;
}

std::string whyNotShown(const std::vector<GallerySheet>& sheets,
                        const std::vector<std::string>& only) {
    for (const auto& name : only) {
        auto sheet = std::find_if(sheets.begin(), sheets.end(),
                                  [&](const GallerySheet& s) { return s.name == name; });
        if (sheet == sheets.end())
            return "there is no sheet '" + name + "'";
        if (!hasLiveCells(*sheet))
            return "the sheet '" + name + "' has nothing to show live; it is drawn only";
    }
    return {};
}

int runGalleryWindow(const std::vector<std::string>& only, std::optional<double> seconds) {
    std::string why;
    auto server = DisplayServer::connect(&why);
    if (!server) {
        std::fprintf(stderr, "emberfall-gallery: no window can be shown: %s\n", why.c_str());
        return 1;
    }
    GalleryPage page(gallerySheets(), only);
    auto& log = GalleryActionLog::shared()->onLine;
    auto show = log;
    log = [show](const std::string& line) {
        show(line);
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    };
    page.window()->setBackingScaleFactor(server->scaleFactor());
    server->show(page.window());
    page.window()->makeKeyAndOrderFront();
    server->run({.timeLimit = seconds});
    return 0;
}
