#include "AppKitSupport/AppKitExtensions.h"
#include "AppKitSupport/BindingExtensions.h"
#include "AppKitSupport/OutlineViewExtensions.h"
#include "SwiftUI/Transaction.h"

#include "AppKit/NSBox.h"
#include "AppKit/NSButton.h"
#include "AppKit/NSColor.h"
#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSImageView.h"
#include "AppKit/NSMenu.h"
#include "AppKit/NSText.h"
#include "AppKit/NSTextField.h"
#include "AppKit/NSWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace {

TEST(EventExtensionTest, AlternateClicksAreRightClicksOrControlClicks) {
    using T = NSEvent::Type;
    struct Case {
        T type;
        uint64_t flags;
        bool alternate;
    };
    for (const Case& c : {Case{T::rightMouseDown, 0, true}, Case{T::leftMouseDown, 0, false},
                          Case{T::leftMouseDown, NSEvent::control, true},
                          Case{T::leftMouseDown, NSEvent::option, false},
                          Case{T::leftMouseUp, NSEvent::control, false}})
        EXPECT_EQ(isAlternateClick(NSEvent::mouse(c.type, {}, c.flags)), c.alternate)
            << int(c.type) << " " << c.flags;
}

TEST(EventExtensionTest, PressedButtonsFollowTheEventsAWindowDispatches) {
    auto window = make<NSWindow>(CGRect{0, 0, 100, 100});
    using T = NSEvent::Type;
    struct Case {
        const char* what;
        T type;
        bool left, right;
    };
    for (const Case& c : {Case{"right down", T::rightMouseDown, false, true},
                          Case{"right up", T::rightMouseUp, false, false},
                          Case{"left down", T::leftMouseDown, true, false},
                          Case{"left up", T::leftMouseUp, false, false}}) {
        SCOPED_TRACE(c.what);
        window->sendEvent(NSEvent::mouse(c.type, {50, 50}));
        EXPECT_EQ(isLeftButtonDown(), c.left);
        EXPECT_EQ(isRightButtonDown(), c.right);
    }
}

// The pixel at a point of the image (its bitmap may hold several pixels per point).
CGImage::Pixel at(const NSImage& image, CGFloat x, CGFloat y) {
    CGImage bitmap = image.cgImage();
    CGFloat scale = CGFloat(bitmap.width()) / image.size().width;
    return bitmap.pixel(size_t(x * scale), size_t(y * scale));
}

// A 10 × 10 image, opaque red on its left half.
std::shared_ptr<NSImage> halfRed() {
    auto image = NSImage::blank({10, 10});
    image->lockFocus();
    NSColor::rgb(1, 0, 0)->setFill();
    NSGraphicsContext::current()->cgContext().fillRect({0, 0, 5, 10});
    image->unlockFocus();
    return image;
}

TEST(ImageExtensionTest, VariantsKeepOrWidenTheSizeAndTintTemplatesOnly) {
    auto image = halfRed();
    EXPECT_EQ(aspectRatio(*image), 1);
    EXPECT_EQ(bounds(*image), (CGRect{0, 0, 10, 10}));
    auto faded = withAlpha(*image, 0.5);
    EXPECT_EQ(faded->size(), (CGSize{10, 10}));
    EXPECT_NEAR(at(*faded, 2, 5).a, 128, 2);
    auto padded = withPadding(*image, 4);
    EXPECT_EQ(padded->size(), (CGSize{14, 10}));
    EXPECT_EQ(at(*padded, 2, 5).a, 0);   // the padding
    EXPECT_EQ(at(*padded, 6, 5).r, 255); // the image, moved right
    EXPECT_EQ(withPadding(*image, std::nullopt)->size(), (CGSize{10, 10}));

    auto blue = NSColor::rgb(0, 0, 1);
    EXPECT_EQ(renderedIfTemplate(image, *blue), image); // not a template: unchanged
    image->isTemplate = true;
    auto tinted = renderedIfTemplate(image, *blue);
    EXPECT_NE(tinted, image);
    EXPECT_FALSE(tinted->isTemplate);
    auto pixel = at(*tinted, 2, 5);
    EXPECT_EQ(pixel.b, 255);
    EXPECT_EQ(pixel.r, 0);
    EXPECT_EQ(at(*tinted, 8, 5).a, 0); // transparent stays transparent
}

TEST(ImageExtensionTest, ImagesWithPixelsBecomeWideGamutPNGs) {
    auto data = pngP3Data(*halfRed());
    ASSERT_TRUE(data);
    ASSERT_GT(data->size(), 26u);
    EXPECT_EQ((*data)[24], 16); // the header's bit depth
    EXPECT_EQ((*data)[25], 6);  // RGBA
    // The chromaticities name Display P3's primaries: red at x = 0.680 (in 1/100000).
    std::string bytes(data->begin(), data->end());
    size_t chunk = bytes.find("cHRM");
    ASSERT_NE(chunk, std::string::npos);
    ASSERT_GT(data->size(), chunk + 16);
    const uint8_t* redX = data->data() + chunk + 4 + 8;
    EXPECT_EQ(uint32_t(redX[0]) << 24 | uint32_t(redX[1]) << 16 | uint32_t(redX[2]) << 8 | redX[3],
              68000u);
    EXPECT_FALSE(pngP3Data(*NSImage::empty()));
}

TEST(ImageExtensionTest, RenditionsAreFoundAndFiltered) {
    auto icon = NSImage::empty();
    EXPECT_EQ(firstBitmapImageRep(*icon), nullptr);
    for (CGFloat side : {16.0, 32.0, 64.0})
        icon->addRepresentation(
            make<NSBitmapImageRep>(CGImage::blank(size_t(side), size_t(side)), CGSize{side, side}));
    EXPECT_EQ(firstBitmapImageRep(*icon)->size.width, 16);
    auto large = filterRepresentations(*icon, [](const auto& rep) { return rep->size.width > 16; });
    ASSERT_EQ(large->representations().size(), 2u);
    EXPECT_EQ(large->representations()[1]->size.width, 64);
    EXPECT_EQ(icon->representations().size(), 3u);
}

TEST(ViewExtensionTest, KeyViewLoopsCloseOnThemselves) {
    setNextKeyViewSequence({});
    auto a = make<NSView>(CGRect{}), b = make<NSView>(CGRect{}), c = make<NSView>(CGRect{});
    setNextKeyViewSequence({a});
    EXPECT_EQ(a->nextKeyView.lock(), a);
    setNextKeyViewSequence({a, b, c});
    EXPECT_EQ(a->nextKeyView.lock(), b);
    EXPECT_EQ(b->nextKeyView.lock(), c);
    EXPECT_EQ(c->nextKeyView.lock(), a);
}

TEST(ViewExtensionTest, HierarchySearchesGoByLevelThenInOrder) {
    auto root = makeView({0, 0, 100, 100}, "root");
    auto a = makeView({}, "a"), b = makeView({}, "b"), a1 = makeView({}, "a1"),
         b1 = makeView({}, "b1");
    root->addSubview(a);
    root->addSubview(b);
    a->addSubview(a1);
    b->addSubview(b1);
    auto all = subviewsMatching(*root, [](const NSView&) { return true; });
    std::vector<std::string> ids;
    for (auto& v : all)
        ids.push_back(v->identifier);
    EXPECT_EQ(ids, (std::vector<std::string>{"a", "b", "a1", "b1"}));
    EXPECT_EQ(firstSubviewMatching(*root, [](const NSView& v) { return v.identifier.size() == 2; }),
              a1);
    EXPECT_EQ(firstSuperviewMatching(*b1, [](const NSView& v) { return v.identifier == "root"; }),
              root);
    EXPECT_EQ(firstSuperviewMatching(*root, [](const NSView&) { return true; }), nullptr);
    EXPECT_EQ(firstSuperviewMatching(*a1, [](const NSView&) { return true; }), a); // the nearest
    EXPECT_EQ(firstSuperviewOfType<NSView>(*a1), a);
    EXPECT_EQ(firstSuperviewOfType<NSButton>(*a1), nullptr);
    removeAllSubviews(*root);
    EXPECT_TRUE(root->subviews().empty());
    EXPECT_EQ(a->superview(), nullptr);
}

struct Focusable : NSView {
    using NSView::NSView;
    bool acceptsFirstResponder() const override { return true; }
};

TEST(ViewExtensionTest, WindowFactsPinsSnapshotsAndContextMenus) {
    auto window = make<NSWindow>(CGRect{0, 0, 200, 100});
    auto view = make<Focusable>(CGRect{0, 0, 10, 10});
    EXPECT_EQ(singlePixelLineWidth(*view), 1);
    EXPECT_FALSE(isFirstResponderInCurrentWindow(*view));
    window->contentView()->addSubview(view);
    window->setBackingScaleFactor(2);
    EXPECT_EQ(singlePixelLineWidth(*view), 0.5);
    window->makeFirstResponder(nullptr); // the window itself answers
    EXPECT_FALSE(isFirstResponderInCurrentWindow(*view));
    window->makeFirstResponder(view);
    EXPECT_TRUE(isFirstResponderInCurrentWindow(*view));

    // A text field being edited: its field editor is the first responder.
    auto field = make<NSTextField>(CGRect{0, 20, 50, 20});
    window->contentView()->addSubview(field);
    EXPECT_FALSE(isFirstResponderInCurrentWindow(*field));
    auto editor = make<NSText>(CGRect{0, 20, 50, 20});
    editor->setDelegate(field);
    window->contentView()->addSubview(editor);
    window->makeFirstResponder(editor);
    EXPECT_TRUE(isFirstResponderInCurrentWindow(*field));
    EXPECT_FALSE(isFirstResponderInCurrentWindow(*view));
    window->makeFirstResponder(view);

    anchorToAllSidesOf(*view, window->contentView(), {5, 10, 15, 20});
    EXPECT_FALSE(view->translatesAutoresizingMaskIntoConstraints);
    window->layoutIfNeeded();
    EXPECT_EQ(view->frame(), (CGRect{10, 15, 170, 80}));

    auto snapshot = snapshotImage(*view);
    ASSERT_TRUE(snapshot);
    EXPECT_EQ(snapshot->size(), (CGSize{170, 80}));
    EXPECT_EQ(snapshotImage(*make<NSView>(CGRect{})), nullptr);
    EXPECT_EQ(snapshotImage(*make<NSView>(CGRect{0, 0, 0, 10})), nullptr); // no width
    auto copy = snapshotView(*view);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->frame(), view->frame());
    EXPECT_EQ(copy->image()->size(), (CGSize{170, 80}));
    EXPECT_EQ(snapshotView(*make<NSView>(CGRect{})), nullptr);

    auto divider = dividerView();
    EXPECT_EQ(divider->frame(), (CGRect{0, 0, 50, 1}));
    EXPECT_EQ(divider->boxType, NSBox::BoxType::separator);
    auto spacer = spacerView();
    for (auto o : {NSView::Orientation::horizontal, NSView::Orientation::vertical}) {
        EXPECT_EQ(spacer->contentHuggingPriority(o), 50);
        EXPECT_EQ(spacer->compressionResistancePriority(o), 50);
    }

    auto button = make<NSButton>(CGRect{0, 0, 40, 20});
    popUpContextMenu(*button); // no menu: nothing
    auto menu = NSMenu::make();
    button->setMenu(menu);
    popUpContextMenu(*button);
    ASSERT_TRUE(menu->lastPopUp());
    EXPECT_EQ(menu->lastPopUp()->location, (CGPoint{0, 20}));
    EXPECT_EQ(menu->lastPopUp()->view.lock(), button);
    EXPECT_EQ(menu->lastPopUp()->positioningItem.lock(), nullptr);

    // As an action: sent to any object, or with no target through the responder chain,
    // it pops up the sending button's menu.
    struct Case {
        const char* what;
        std::shared_ptr<NSObject> target;
    };
    const Case cases[] = {{"any target", make<NSMenu>()}, {"no target", nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto sender = make<NSButton>(CGRect{0, 0, 60, 30});
        auto senderMenu = NSMenu::make();
        sender->setMenu(senderMenu);
        sender->setTarget(c.target);
        sender->setAction(popUpContextMenuForButtonAction());
        auto window = make<NSWindow>(CGRect{0, 0, 60, 30});
        window->setContentView(sender);
        window->makeFirstResponder(sender);
        sender->performClick();
        ASSERT_TRUE(senderMenu->lastPopUp());
        EXPECT_EQ(senderMenu->lastPopUp()->location, (CGPoint{0, sender->bounds().maxY()}));
        EXPECT_EQ(senderMenu->lastPopUp()->view.lock(), sender);
    }
    // A sender that is not a button pops nothing up.
    popUpContextMenuForButton(*menu, menu.get());
}

TEST(StringExtensionTest, TheWholeRangeCountsUTF16Units) {
    EXPECT_EQ(nsRange(""), (NSRange{0, 0}));
    EXPECT_EQ(nsRange("Tempo \xE2\x99\xA9"), (NSRange{0, 7})); // the note is one unit
}

TEST(StringExtensionTest, TextIsCentredVerticallyByItsHeight) {
    auto bitmap = CGContext::makeBitmap({200, 100}, {.recordsDisplayList = true});
    NSGraphicsContext::Scope scope(bitmap);
    NSStringAttributes attributes;
    CGFloat h = NSStringSize("Hello", attributes).height;
    drawVerticallyCentered("Hello", {10, 20, 180, 60}, attributes);
    bool found = false;
    for (auto& item : bitmap->displayList())
        if (item.kind == CGDisplayItem::Kind::text) {
            found = true;
            EXPECT_NEAR(item.rect.midY(), 50, 1.0) << h;
        }
    EXPECT_TRUE(found);
}

TEST(ConversionTest, DeclarativeAndAppKitEnumsMapCaseByCase) {
    using A = SwiftUI::TextAlignment;
    EXPECT_EQ(nsTextAlignment(A::leading), NSTextAlignment::left);
    EXPECT_EQ(nsTextAlignment(A::center), NSTextAlignment::center);
    EXPECT_EQ(nsTextAlignment(A::trailing), NSTextAlignment::right);

    using C = SwiftUI::ControlSize;
    struct SizeCase {
        NSControlSize appKit;
        C declarative;
    };
    for (auto c : {SizeCase{NSControlSize::regular, C::regular},
                   {NSControlSize::small, C::small},
                   {NSControlSize::mini, C::mini},
                   {NSControlSize::large, C::large},
                   {NSControlSize::extraLarge, C::large}})
        EXPECT_EQ(swiftUIControlSize(c.appKit), c.declarative) << int(c.appKit);
    for (auto c : {SizeCase{NSControlSize::mini, C::mini},
                   {NSControlSize::small, C::small},
                   {NSControlSize::regular, C::regular},
                   {NSControlSize::large, C::large},
                   {NSControlSize::large, C::extraLarge}})
        EXPECT_EQ(nsControlSize(c.declarative), c.appKit) << int(c.declarative);

    using T = SwiftUI::TruncationMode;
    EXPECT_EQ(nsLineBreakMode(T::head), NSLineBreakMode::byTruncatingHead);
    EXPECT_EQ(nsLineBreakMode(T::tail), NSLineBreakMode::byTruncatingTail);
    EXPECT_EQ(nsLineBreakMode(T::middle), NSLineBreakMode::byTruncatingMiddle);
}

TEST(ConversionDeathTest, SizesAndModesOutsideTheCasesAreFatal) {
    EXPECT_DEATH(swiftUIControlSize(static_cast<NSControlSize>(5)), "Unhandled control size: 5");
    EXPECT_DEATH(nsControlSize(static_cast<SwiftUI::ControlSize>(9)), "Unhandled control size: 9");
    EXPECT_DEATH(nsLineBreakMode(static_cast<SwiftUI::TruncationMode>(9)),
                 "Unknown truncation mode");
}

// Closures handed to AppKit or SwiftUI refuse to run off the main thread, naming their
// source file.
TEST(MainThreadDeathTest, ClosuresOffTheMainThreadNameTheirFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto offMain = [](const std::function<void()>& work) { std::thread(work).join(); };
    int stored = 0;
    SwiftUI::Binding<int> binding([&] { return stored; }, [&](const int& v) { stored = v; });
    auto button = make<NSButton>(CGRect{0, 0, 40, 20});
    button->setMenu(NSMenu::make());
    auto outline = make<NSOutlineView>(CGRect{0, 0, 100, 100});
    struct Case {
        const char* what;
        std::function<void()> call;
        const char* file;
    };
    const Case cases[] = {
        {"optional binding", [&] { asOptional(binding).set(1); }, "Tideglass/Binding"},
        {"quiet binding", [&] { disablingAnimations(binding).set(1); }, "Tideglass/Binding"},
        {"context menu", [&] { popUpContextMenu(*button); },
         "Tideglass/NSObject\\+PopUpContextMenu"},
        {"outline selection", [&] { setSelectedItems(*outline, {}); }, "Tideglass/NSOutlineView"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_DEATH(offMain(c.call), std::string(c.file) + " must be used from the main thread");
    }
}

} // namespace

namespace {

TEST(BindingExtensionTest, AnOptionalViewStoresValuesAndIgnoresNone) {
    int stored = 3;
    SwiftUI::Binding<int> binding([&] { return stored; }, [&](const int& v) { stored = v; });
    auto optional = asOptional(binding);
    EXPECT_EQ(optional.get(), 3);
    optional.set(7);
    EXPECT_EQ(stored, 7);
    optional.set(std::nullopt);
    EXPECT_EQ(stored, 7);
}

TEST(BindingExtensionTest, WritesWithoutAnimationHappenInATransactionThatSaysSo) {
    int stored = 3;
    bool disabledWhileWriting = false;
    SwiftUI::Binding<int> binding([&] { return stored; },
                                  [&](const int& v) {
                                      stored = v;
                                      disabledWhileWriting =
                                          SwiftUI::Transaction::current().disablesAnimations;
                                  });
    auto quiet = disablingAnimations(binding);
    EXPECT_EQ(quiet.get(), 3);
    quiet.set(9);
    EXPECT_EQ(stored, 9);
    EXPECT_TRUE(disabledWhileWriting);
    EXPECT_FALSE(SwiftUI::Transaction::current().disablesAnimations);
    binding.set(1);
    EXPECT_FALSE(disabledWhileWriting);
}

TEST(TextFieldExtensionTest, TheFocusRingWorkaroundEndsUnrotatedWithItsRingAreaMarked) {
    auto window = make<NSWindow>(CGRect{0, 0, 200, 100});
    auto field = make<NSTextField>(CGRect{20, 20, 100, 22});
    window->contentView()->addSubview(field);
    window->display(); // nothing marked
    focusRingClearingWorkaround(*field);
    EXPECT_EQ(field->boundsRotation(), 0);
    EXPECT_TRUE(window->dirtyRegion().contains(CGRect{16, 16, 108, 30}));
}

} // namespace
