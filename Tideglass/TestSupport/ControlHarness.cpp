#include "TestSupport/ControlHarness.h"

#include <algorithm>

namespace {
// The container of a held control: flipped, so that a frame reads from the top-left
// as every point of the harness does.
class TopLeftView : public NSView {
  public:
    using NSView::NSView;
    bool isFlipped() const override { return true; }
};

std::shared_ptr<NSWindow> keyWindow(CGSize size, CGFloat scale) {
    auto window = make<NSWindow>(CGRect{{0, 0}, size});
    window->setBackingScaleFactor(scale);
    window->makeKeyWindow();
    return window;
}
} // namespace

ControlHarness::ControlHarness(std::shared_ptr<NSWindow> w, std::shared_ptr<NSView> content)
    : window(std::move(w)) {
    window->setContentView(content);
    host = SwiftUI::NSHostingView::firstIn(content);
    turn();
}

ControlHarness ControlHarness::holding(std::shared_ptr<NSView> view, CGSize size, CGFloat scale) {
    auto container = make<TopLeftView>(CGRect{{0, 0}, size});
    container->addSubview(std::move(view));
    return ControlHarness(keyWindow(size, scale), container);
}

ControlHarness::ControlHarness(std::shared_ptr<NSView> contentView, CGSize size, CGFloat scale)
    : ControlHarness(keyWindow(size, scale), std::move(contentView)) {}

ControlHarness::ControlHarness(SwiftUI::AnyView root, CGSize size, CGFloat scale)
    : ControlHarness(keyWindow(size, scale), make<SwiftUI::NSHostingView>(std::move(root))) {}

void ControlHarness::turn() {
    RunLoop::main().runUntilIdle();
    window->layoutIfNeeded();
}

CGPoint ControlHarness::toWindow(CGPoint topLeft) const {
    return {topLeft.x, window->contentSize().height - topLeft.y};
}

CGRect ControlHarness::rectOf(const NSView& view) const {
    CGRect inWindow = view.convertToView(view.bounds(), nullptr);
    return {{inWindow.minX(), window->contentSize().height - inWindow.maxY()}, inWindow.size};
}

CGPoint ControlHarness::centre(const NSView& view) const {
    CGRect r = rectOf(view);
    return {r.midX(), r.midY()};
}

bool ControlHarness::focus(const std::shared_ptr<NSView>& view) {
    bool taken = window->makeFirstResponder(view);
    turn();
    return taken;
}

void ControlHarness::mouse(Type type, CGPoint p, uint64_t flags, int clicks) {
    // Stamped with the main run loop's clock, which a test can advance between events.
    window->sendEvent(NSEvent::mouse(type, toWindow(p), flags, clicks, RunLoop::main().now()));
    turn();
}

void ControlHarness::dragFromTo(CGPoint from, CGPoint to, int steps, uint64_t flags) {
    press(from, flags);
    steps = std::max(steps, 1);
    for (int i = 1; i <= steps; ++i) {
        CGFloat t = CGFloat(i) / steps;
        drag({from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t}, flags);
    }
    release(to, flags);
}

void ControlHarness::keyDown(const std::string& characters, uint64_t flags, uint16_t keyCode) {
    window->sendEvent(NSEvent::key(Type::keyDown, characters, keyCode, flags));
    turn();
}

void ControlHarness::keyUp(const std::string& characters, uint64_t flags, uint16_t keyCode) {
    window->sendEvent(NSEvent::key(Type::keyUp, characters, keyCode, flags));
    turn();
}

void ControlHarness::key(const std::string& characters, uint64_t flags, uint16_t keyCode) {
    keyDown(characters, flags, keyCode);
    keyUp(characters, flags, keyCode);
}

void ControlHarness::key(NSEventSpecialKey special, uint64_t flags) {
    // The key's character, its value as one code point in UTF-8.
    const auto code = unsigned(special);
    std::string characters;
    if (code < 0x80)
        characters = {char(code)};
    else if (code < 0x800)
        characters = {char(0xC0 | (code >> 6)), char(0x80 | (code & 0x3F))};
    else
        characters = {char(0xE0 | (code >> 12)), char(0x80 | ((code >> 6) & 0x3F)),
                      char(0x80 | (code & 0x3F))};
    key(characters, flags);
}

void ControlHarness::type(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        // One UTF-8 sequence: its length from the lead byte.
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80 ? 1 : lead >> 5 == 0x6 ? 2 : lead >> 4 == 0xE ? 3 : 4;
        key(text.substr(i, length));
        i += length;
    }
}

void ControlHarness::scroll(CGPoint p, CGFloat deltaX, CGFloat deltaY, bool precise, uint64_t flags,
                            bool inverted) {
    window->sendEvent(NSEvent::scroll(toWindow(p), deltaX, deltaY, precise, flags, inverted));
    turn();
}

std::vector<CGDisplayItem> ControlHarness::drawn() {
    turn();
    return window->snapshot(true)->displayList();
}

std::vector<CGDisplayItem> ControlHarness::drawnBy(NSView& view) {
    turn();
    return view.cacheDisplay(window->backingScaleFactor(), true)->displayList();
}

std::vector<CGDisplayItem> ControlHarness::items(Kind kind) {
    return itemsOfKind(drawn(), kind);
}

std::vector<std::string> ControlHarness::images() {
    std::vector<std::string> names;
    for (const auto& item : items(Kind::image))
        names.push_back(item.imageName);
    return names;
}

std::vector<CGDisplayItem> ControlHarness::texts() {
    return items(Kind::text);
}

std::optional<CGDisplayItem> ControlHarness::image(const std::string& name) {
    return firstImage(drawn(), name);
}

std::optional<CGDisplayItem> ControlHarness::text(const std::string& content) {
    return firstText(drawn(), content);
}

bool ControlHarness::writePNG(const std::string& path) {
    turn();
    return window->writePNG(path);
}

std::vector<CGDisplayItem> itemsOfKind(const std::vector<CGDisplayItem>& items,
                                       CGDisplayItem::Kind kind) {
    std::vector<CGDisplayItem> found;
    std::copy_if(items.begin(), items.end(), std::back_inserter(found),
                 [kind](const CGDisplayItem& item) { return item.kind == kind; });
    return found;
}

namespace {
std::optional<CGDisplayItem> first(const std::vector<CGDisplayItem>& items,
                                   CGDisplayItem::Kind kind, std::string CGDisplayItem::*field,
                                   const std::string& value) {
    for (const auto& item : items)
        if (item.kind == kind && item.*field == value)
            return item;
    return std::nullopt;
}
} // namespace

std::optional<CGDisplayItem> firstImage(const std::vector<CGDisplayItem>& items,
                                        const std::string& name) {
    return first(items, CGDisplayItem::Kind::image, &CGDisplayItem::imageName, name);
}

std::optional<CGDisplayItem> firstText(const std::vector<CGDisplayItem>& items,
                                       const std::string& content) {
    return first(items, CGDisplayItem::Kind::text, &CGDisplayItem::text, content);
}

std::ostream& operator<<(std::ostream& out, const CGDisplayItem& item) {
    static const char* kinds[] = {"image", "text", "fill", "stroke", "clip"};
    out << kinds[int(item.kind)];
    if (item.kind == CGDisplayItem::Kind::image)
        out << " \"" << item.imageName << "\"";
    if (item.kind == CGDisplayItem::Kind::text)
        out << " \"" << item.text << "\" " << item.fontName << " " << item.fontSize;
    if (item.color) {
        out << " colour";
        for (CGFloat c : item.color->components())
            out << " " << c;
    }
    out << " at ";
    PrintTo(item.rect, &out);
    return out << " alpha " << item.alpha;
}

void PrintTo(const CGPoint& point, std::ostream* out) {
    *out << "(" << point.x << ", " << point.y << ")";
}

void PrintTo(const CGSize& size, std::ostream* out) {
    *out << size.width << " x " << size.height;
}

void PrintTo(const CGRect& rect, std::ostream* out) {
    PrintTo(rect.origin, out);
    *out << " ";
    PrintTo(rect.size, out);
}
