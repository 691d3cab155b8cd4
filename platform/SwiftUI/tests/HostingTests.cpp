// A tree of views inside an AppKit window: drawing with assets, events injected into
// the window, modifier keys during a gesture, keys and focus, the window's scale.

#include "SwiftUI/NSHostingView.h"
#include "SwiftUI/SwiftUI.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "AppKit/NSWindow.h"
#include "Foundation/Bundle.h"
#include "Foundation/RunLoop.h"

using namespace SwiftUI;
namespace fs = std::filesystem;

namespace {

using Type = NSEvent::Type;

// A bundle folder with one colour and one image asset.
std::shared_ptr<Bundle> makeAssetBundle() {
    fs::path folder = fs::temp_directory_path() / ("swiftui-assets-" + std::to_string(getpid()));
    fs::create_directories(folder / "Assets");
    std::ofstream(folder / "Assets" / "colors.json") << R"({"values": "#e8e2d0"})";
    std::ofstream(folder / "Assets" / "grid-dot.svg")
        << R"(<svg xmlns="http://www.w3.org/2000/svg" width="12" height="12">)"
           R"(<circle cx="6" cy="6" r="5" fill="#fff"/></svg>)";
    return Bundle::atPath(folder.string());
}

struct HostingTest : ::testing::Test {
    RunLoopTestScope scope;
    std::shared_ptr<NSWindow> window = make<NSWindow>(CGRect{0, 0, 100, 60});
    std::shared_ptr<NSHostingView> host;

    void show(AnyView root) {
        host = make<NSHostingView>(std::move(root));
        window->setContentView(host);
        window->layoutIfNeeded();
    }
    void turn() { RunLoop::main().runUntilIdle(); }
    // A mouse event at a point of the hosting view (origin top-left).
    void mouse(Type type, CGPoint p, uint64_t flags = 0, int clicks = 1) {
        window->sendEvent(NSEvent::mouse(type, host->convertToView(p, nullptr), flags, clicks));
    }
    void click(CGPoint p, uint64_t flags = 0) {
        mouse(Type::leftMouseDown, p, flags);
        mouse(Type::leftMouseUp, p, flags);
    }
    void type(const std::string& characters) {
        window->sendEvent(NSEvent::key(Type::keyDown, characters, 0));
    }
    std::vector<CGDisplayItem> drawn() {
        window->layoutIfNeeded();
        return window->snapshot(true)->displayList();
    }
};

TEST_F(HostingTest, DrawsNamedImagesAndColoursAtTheWindowsScale) {
    auto bundle = makeAssetBundle();
    struct ScaleProbe : View<ScaleProbe> {
        AnyView body(ViewContext& ctx) const {
            return Text("x").accessibilityIdentifier(
                "scale " + std::to_string(int(ctx.environmentValues().displayScale)));
        }
    };
    window->setBackingScaleFactor(2);
    show(HStack(VerticalAlignment::top(), 4, Image("grid-dot", bundle),
                Image("grid-dot", bundle).resizable().frame(std::nullopt, 27),
                Text("MIX")
                    .font(Font::custom("Dosis-Medium", 14))
                    .foregroundColor(ColorValue("values", bundle)),
                ScaleProbe())
             .frame(100, 60, Alignment::topLeading()));
    auto items = drawn();
    std::vector<CGDisplayItem> own;
    for (auto& item : items)
        if (item.kind == CGDisplayItem::Kind::image || item.kind == CGDisplayItem::Kind::text)
            own.push_back(item);
    ASSERT_GE(own.size(), 3u);
    EXPECT_EQ(own[0].imageName, "grid-dot");
    EXPECT_EQ(own[0].rect, CGRect(0, 0, 12, 12));
    // Resizable: as high as its frame, as wide as the stack offers (what the others leave).
    EXPECT_EQ(own[1].imageName, "grid-dot");
    EXPECT_EQ(own[1].rect.size.height, 27);
    EXPECT_GT(own[1].rect.size.width, 12);
    EXPECT_EQ(own[2].text, "MIX");
    EXPECT_EQ(own[2].color->assetName(), "values");
    EXPECT_EQ(own[2].color->rgba().r, 0xe8 / 255.0);
    EXPECT_EQ(own[2].rect.origin.x, own[1].rect.maxX() + 4);
    turn();
    EXPECT_TRUE(host->graph().find("scale 2"));
}

// The look of a pill button: dimmed while held.
struct DimmedWhilePressed {
    AnyView makeBody(const ButtonStyleConfiguration& c) const {
        return c.label.padding(4)
            .background(RoundedRectangle(4).fill(Color::white()))
            .opacity(c.isPressed ? 0.8 : 1);
    }
};

TEST_F(HostingTest, APressedButtonRedrawsDimmedOnTheNextTurnAndActsOnRelease) {
    int opened = 0;
    show(Button([&] { ++opened; }, Text("2.1 AVAILABLE")).buttonStyle(DimmedWhilePressed{}));
    auto alphaOfLabel = [&] {
        for (auto& item : drawn())
            if (item.kind == CGDisplayItem::Kind::text)
                return item.alpha;
        return -1.0;
    };
    CGPoint centre{50, 30};
    EXPECT_EQ(alphaOfLabel(), 1);
    mouse(Type::leftMouseDown, centre);
    EXPECT_EQ(alphaOfLabel(), 1); // not rebuilt inside the event
    turn();
    EXPECT_TRUE(host->needsDisplay());
    EXPECT_DOUBLE_EQ(alphaOfLabel(), 0.8);
    mouse(Type::leftMouseUp, centre);
    turn();
    EXPECT_EQ(alphaOfLabel(), 1);
    EXPECT_EQ(opened, 1);
}

TEST_F(HostingTest, TheOptionKeyIsReadableDuringAGesture) {
    std::vector<bool> optionAtRelease;
    show(Color::gray().frame(48, 56).gesture(DragGesture(0).onEnded([&](const DragGesture::Value&) {
        optionAtRelease.push_back(NSEvent::currentModifierFlags() & NSEvent::option);
    })));
    click({50, 30}, NSEvent::option);
    click({50, 30});
    EXPECT_EQ(optionAtRelease, (std::vector<bool>{true, false}));
}

TEST_F(HostingTest, KeysReachAFocusedFieldUntilTheWindowGivesTheKeyboardAway) {
    std::string submitted;
    struct Field : View<Field> {
        std::string* submitted;
        AnyView body(ViewContext& ctx) const {
            State<std::string> text = ctx.state(std::string("1"));
            auto out = submitted;
            return TextField("", text.binding())
                .onSubmit([out, text] { *out = *text; })
                .frame(80, 20);
        }
    };
    show(Field{{}, &submitted});
    click({50, 30});
    EXPECT_EQ(window->firstResponder(), host);
    type("4");
    type("2");
    type("\r");
    EXPECT_EQ(submitted, "42");
    struct Taker : NSView {
        using NSView::NSView;
        bool acceptsFirstResponder() const override { return true; }
    };
    auto taker = make<Taker>(CGRect{0, 0, 10, 10});
    host->addSubview(taker);
    window->makeFirstResponder(taker);
    EXPECT_FALSE(host->graph().hasFocus());
}

} // namespace
