// Sheets, the keys that cancel, and appearances.

#include "AppKit/NSApplication.h"
#include "AppKit/NSWindow.h"

#include <gtest/gtest.h>

namespace {

// Records what reaches the end of its responder chain.
class CancelRecorder : public NSWindow {
  public:
    using NSWindow::NSWindow;
    int cancels = 0;
    void cancelOperation(NSObject*) override { ++cancels; }
};

TEST(Sheets, ASheetIsAttachedShownAndMadeKeyUntilItsParentEndsIt) {
    auto parent = make<NSWindow>(CGRect{0, 0, 400, 300}, NSWindow::titled);
    parent->makeKeyAndOrderFront();
    auto sheet = make<NSWindow>(CGRect{0, 0, 200, 100}, NSWindow::titled);
    std::vector<NSModalResponse> responses;
    parent->beginSheet(sheet, [&](NSModalResponse r) { responses.push_back(r); });
    EXPECT_EQ(parent->attachedSheet(), sheet);
    EXPECT_EQ(sheet->sheetParent(), parent);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_TRUE(sheet->isKeyWindow());

    auto stranger = make<NSWindow>();
    parent->endSheet(*stranger); // not its sheet: nothing happens
    EXPECT_EQ(parent->attachedSheet(), sheet);
    EXPECT_TRUE(responses.empty());

    parent->endSheet(*sheet);
    EXPECT_EQ(parent->attachedSheet(), nullptr);
    EXPECT_EQ(sheet->sheetParent(), nullptr);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_TRUE(parent->isKeyWindow());
    EXPECT_EQ(responses, std::vector<NSModalResponse>{NSModalResponseValue::stop});
    parent->endSheet(*sheet); // ended once
    EXPECT_EQ(responses.size(), 1u);

    // A borderless sheet cannot become key.
    auto borderless = make<NSWindow>();
    parent->beginSheet(borderless);
    EXPECT_TRUE(borderless->isVisible());
    EXPECT_FALSE(borderless->isKeyWindow());
    parent->endSheet(*borderless);
}

TEST(Sheets, EscapeAndCommandPeriodThatNoViewHandlesBecomeCancelOperation) {
    auto window = make<CancelRecorder>(CGRect{0, 0, 100, 100}, NSWindow::titled);
    struct Case {
        std::string characters;
        uint16_t keyCode;
        uint64_t modifiers;
        bool cancels;
    } cases[] = {
        {"\x1b", 53, 0, true},
        {".", 47, NSEvent::command, true},
        {".", 47, 0, false},
        {"a", 0, 0, false},
    };
    int expected = 0;
    for (const auto& c : cases) {
        window->sendEvent(
            NSEvent::key(NSEvent::Type::keyDown, c.characters, c.keyCode, c.modifiers));
        expected += c.cancels ? 1 : 0;
        EXPECT_EQ(window->cancels, expected) << c.characters;
    }
}

TEST(Appearance, TheApplicationsEffectiveAppearanceIsTheOneSetElseDark) {
    auto& app = NSApplication::shared();
    EXPECT_EQ(app.effectiveAppearance()->name(), NSAppearanceName::darkAqua);
    app.appearance = NSAppearance::named(NSAppearanceName::aqua);
    EXPECT_EQ(app.effectiveAppearance(), NSAppearance::named(NSAppearanceName::aqua));
    app.appearance = nullptr;
    EXPECT_EQ(app.effectiveAppearance(), NSAppearance::named(NSAppearanceName::darkAqua));
}

} // namespace
