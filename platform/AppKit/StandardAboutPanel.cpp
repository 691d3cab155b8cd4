#include "AppKit/StandardAboutPanel.h"

#include <fstream>
#include <sstream>

#include "AppKit/NSColor.h"
#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSImage.h"
#include "AppKit/NSWindow.h"
#include "Foundation/Bundle.h"

namespace {

std::string infoString(const Bundle& bundle, const char* key) {
    const PropertyListValue* value = bundle.object(key);
    const std::string* text = value ? value->string() : nullptr;
    return text ? *text : std::string();
}

struct AboutContents {
    std::shared_ptr<NSImage> icon;
    std::string name, version, credits, copyright;
};

AboutContents contentsOf(const Bundle& bundle) {
    AboutContents c;
    c.name = infoString(bundle, "CFBundleDisplayName");
    if (c.name.empty())
        c.name = infoString(bundle, "CFBundleName");
    std::string shortVersion = infoString(bundle, "CFBundleShortVersionString");
    std::string build = infoString(bundle, "CFBundleVersion");
    c.version = "Version " + shortVersion + (build.empty() ? "" : " (" + build + ")");
    c.copyright = infoString(bundle, "NSHumanReadableCopyright");
    if (auto url = bundle.url("Credits", "txt")) {
        std::ifstream file(url->path());
        std::stringstream text;
        text << file.rdbuf();
        c.credits = text.str();
        while (!c.credits.empty() && (c.credits.back() == '\n' || c.credits.back() == ' '))
            c.credits.pop_back();
    }
    const std::string iconFile = infoString(bundle, "CFBundleIconFile");
    if (!iconFile.empty())
        for (const char* extension : {"png", "svg", ""})
            if (auto url = bundle.url(iconFile, extension)) {
                c.icon = NSImage::contentsOfFile(url->path());
                if (c.icon)
                    break;
            }
    return c;
}

constexpr CGFloat width = 300, iconSize = 72, margin = 20;

class AboutPanelView : public NSView {
  public:
    AboutPanelView(CGRect frame, AboutContents contents) : NSView(frame), c(std::move(contents)) {}
    bool isFlipped() const override { return true; }

    static CGFloat height(const AboutContents& c) {
        CGFloat h = margin + iconSize + 12 + 20 + 6 + 16;
        if (!c.credits.empty())
            h += 14 + creditsSize(c).height;
        if (!c.copyright.empty())
            h += 10 + 14;
        return h + margin;
    }

    void drawRect(CGRect) override {
        auto context = NSGraphicsContext::current();
        if (!context)
            return;
        CGContext& cg = context->cgContext();
        CGTextOptions centred;
        centred.alignment = CGTextOptions::Alignment::center;
        centred.width = width - 2 * margin;
        CGFloat y = margin;
        if (c.icon)
            c.icon->draw(CGRect{(width - iconSize) / 2, y, iconSize, iconSize});
        y += iconSize + 12;
        cg.drawText(c.name, CGFont::system(15, CGFont::bold), CGColor::rgb(0.95, 0.93, 0.89),
                    {margin, y, width - 2 * margin, 20}, centred);
        y += 20 + 6;
        cg.drawText(c.version, CGFont::system(11), CGColor::rgb(0.70, 0.67, 0.62),
                    {margin, y, width - 2 * margin, 16}, centred);
        y += 16;
        if (!c.credits.empty()) {
            y += 14;
            CGSize size = creditsSize(c);
            cg.drawText(c.credits, CGFont::system(11), CGColor::rgb(0.80, 0.77, 0.72),
                        {margin, y, width - 2 * margin, size.height}, centred);
            y += size.height;
        }
        if (!c.copyright.empty())
            cg.drawText(c.copyright, CGFont::system(10), CGColor::rgb(0.55, 0.52, 0.48),
                        {margin, y + 10, width - 2 * margin, 14}, centred);
    }

  private:
    static CGSize creditsSize(const AboutContents& c) {
        CGTextOptions wrapped;
        wrapped.width = width - 2 * margin;
        wrapped.alignment = CGTextOptions::Alignment::center;
        return CGTextMeasure(c.credits, CGFont::system(11), wrapped);
    }
    AboutContents c;
};

} // namespace

std::shared_ptr<NSWindow> makeStandardAboutPanel(const Bundle& bundle) {
    AboutContents contents = contentsOf(bundle);
    const CGSize size{width, AboutPanelView::height(contents)};
    auto window =
        make<NSWindow>(CGRect{{0, 0}, size}, uint64_t(NSWindow::titled | NSWindow::closable));
    window->title = contents.name.empty() ? "About" : "About " + contents.name;
    window->identifier = "about";
    window->backgroundColor = NSColor::rgb(0.09, 0.082, 0.075);
    window->appearance = NSAppearance::named(NSAppearanceName::darkAqua);
    window->setContentView(make<AboutPanelView>(CGRect{{0, 0}, size}, std::move(contents)));
    return window;
}

std::shared_ptr<NSWindow> makeStandardAboutPanel() {
    return makeStandardAboutPanel(*Bundle::main());
}
