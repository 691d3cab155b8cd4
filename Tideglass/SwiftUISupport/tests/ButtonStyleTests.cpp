#include "SwiftUISupport/ButtonStyles.h"

#include <gtest/gtest.h>

#include "Foundation/RunLoop.h"
#include "Styles/TideglassResources.h"
#include "TestSupport/ControlHarness.h"

using namespace SwiftUI;

namespace {

// A style's face for a label, pressed or not, as a button would build it.
struct Face : View<Face> {
    std::function<AnyView(ViewContext&)> make;
    AnyView body(ViewContext& ctx) const { return make(ctx); }
};

template <class Style> Face face(Style style, AnyView label, bool pressed) {
    return Face{{}, [=](ViewContext& ctx) {
                    ButtonStyleConfiguration configuration{label, pressed};
                    if constexpr (requires { style.makeBody(configuration, ctx); })
                        return style.makeBody(configuration, ctx);
                    else
                        return style.makeBody(configuration);
                }};
}

struct Drawn {
    CGDisplayItem art, title;
    CGSize layout;
};

Drawn draw(AnyView view) {
    ControlHarness h(view, {200, 60});
    auto items = h.drawn();
    auto images = itemsOfKind(items, CGDisplayItem::Kind::image);
    EXPECT_EQ(images.size(), 1u);
    auto title = firstText(items, "HELP");
    EXPECT_TRUE(title);
    return {images.at(0), *title, h.host->graph().root().size()};
}

TEST(ButtonStyles, TheFaceFollowsThePressedAndEnabledStates) {
    RunLoopTestScope scope;
    struct Case {
        const char* what;
        bool korvane, pressed, enabled;
        const char* art;
        ColorValue color;
        CGFloat fontSize;
    } cases[] = {
        {"plain", false, false, true, "tgui-button", TGColors::grey85(), 11},
        {"plain pressed", false, true, true, "tgui-button-down", TGColors::grey50(), 11},
        {"plain disabled", false, false, false, "tgui-button", TGColors::grey85().withOpacity(0.5),
         11},
        {"plain disabled, pressed", false, true, false, "tgui-button-down",
         TGColors::grey50().withOpacity(0.5), 11},
        {"maker's", true, false, true, "tgui-button", TGColors::grey85(), 12},
        {"maker's pressed", true, true, true, "tgui-button-down", TGColors::grey50(), 12},
        {"maker's disabled looks enabled", true, false, false, "tgui-button", TGColors::grey85(),
         12},
    };
    for (const auto& c : cases) {
        AnyView label = Text("HELP");
        AnyView view = c.korvane ? AnyView(face(KorvaneButtonStyle{}, label, c.pressed))
                                 : AnyView(face(DefaultQuarroButtonStyle{}, label, c.pressed));
        Drawn d = draw(view.disabled(!c.enabled));
        EXPECT_EQ(d.art.imageName, c.art) << c.what;
        EXPECT_EQ(d.title.color, c.color.resolve()) << c.what;
        EXPECT_EQ(d.title.fontSize, c.fontSize) << c.what;
        // 24 high, as wide as the label; the layout 4 points narrower than the art.
        EXPECT_EQ(d.art.rect.size.height, 24) << c.what;
        EXPECT_NEAR(d.art.rect.size.width, d.title.rect.size.width, 0.5) << c.what;
        EXPECT_NEAR(d.art.rect.midY(), d.title.rect.midY(), 0.5) << c.what;
        EXPECT_NEAR(d.layout.width, d.art.rect.size.width - 4, 0.5) << c.what;
    }
}

TEST(ButtonStyles, BothStylesStayTwentyFourHighWhateverTheLabelsFont) {
    RunLoopTestScope scope;
    AnyView big = Text("HELP").font(Font::system(30));
    for (AnyView view : {AnyView(face(KorvaneButtonStyle{}, big, false)),
                         AnyView(face(DefaultQuarroButtonStyle{}, big, true))}) {
        Drawn d = draw(view);
        EXPECT_EQ(d.title.fontSize, 30);
        EXPECT_EQ(d.art.rect.size.height, 24);
        EXPECT_EQ(d.layout.height, 24);
    }
}

TEST(ButtonStyles, AButtonInTheMakersStyleSwapsItsArtWhileHeld) {
    RunLoopTestScope scope;
    int presses = 0;
    ControlHarness h(Button([&] { ++presses; }, Text("HELP")).buttonStyle(KorvaneButtonStyle{}),
                     {200, 60});
    auto art = [&] { return h.items(CGDisplayItem::Kind::image).at(0); };
    CGPoint centre{art().rect.midX(), art().rect.midY()};
    h.press(centre);
    EXPECT_EQ(art().imageName, "tgui-button-down");
    h.release(centre);
    EXPECT_EQ(art().imageName, "tgui-button");
    EXPECT_EQ(presses, 1);
}

} // namespace
