// The editor's views in-process: what needs the view model's own members (the update
// notice, the meters' channel count), the meter's segments, the pad's mapping and the
// dials' titles in their caps.

#include "ChaosDial.h"
#include "EffectFixture.h"
#include "FactoryPresets.h"
#include "LargeDial.h"
#include "TestSupport/ControlHarness.h"
#include "Views/DelayFeedbackGridView.h"
#include "Views/EmberfallAssets.h"
#include "Views/MeterView.h"
#include "Views/OrreryResources.h"

#include "AppKit/NSWorkspace.h"
#include "AppKit/ResourceBundle.h"
#include "SwiftUI/Color.h"
#include "SwiftUI/NSHostingView.h"
#include <algorithm>
#include <map>

#include <filesystem>

namespace {

using Segment = MeterView::SegmentColor;

// A colour of the extension's catalogue, found by its name.
CGColor catalogueColor(const char* name) {
    return SwiftUI::Color(SwiftUI::ColorResource{name, ResourceBundleClass::bundle()}).resolve();
}

// The colours of a 42-segment meter, bottom (r = 0) first, as one letter each:
// f filled, l limit, . unlit.
std::string segments(double value, double hold) {
    std::string row;
    for (int r = 0; r < 42; ++r) {
        Segment s = MeterView::segmentColor(r, value, hold, 42);
        row += s == Segment::filled ? 'f' : s == Segment::limit ? 'l' : '.';
    }
    return row;
}

TEST(MeterView, LightsTheBarTheHoldMarkAndTheLimitZone) {
    const std::string unlit(42, '.');
    struct Case {
        double value, hold;
        std::string expected;
    };
    const Case cases[] = {
        {0, 0, unlit},
        {100, 100, std::string(38, 'f') + "llll"},
        {50, 80, std::string(21, 'f') + std::string(11, '.') + "f" + std::string(9, '.')},
        {0, 100, std::string(41, '.') + "l"},
        {50, 20, std::string(21, 'f') + std::string(21, '.')}, // hold below the bar
        {50, 53, std::string(22, 'f') + std::string(20, '.')}, // hold just atop the bar
        {NAN, INFINITY, unlit},
        {250, -3, std::string(38, 'f') + "llll"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(segments(c.value, c.hold), c.expected) << c.value << " / " << c.hold;
}

// Each of the editor's assets is asked for by its catalogue name in the extension's own
// bundle: a name that is misspelt or swapped with a neighbour's draws the wrong thing or
// nothing at all.
TEST(EmberfallAssets, EachAssetIsAskedForByItsNameInTheExtensionsBundle) {
    struct Case {
        const SwiftUI::ColorResource* colour;
        const SwiftUI::ImageResource* image;
        const char* name;
    };
    using namespace EmberfallAssets;
    const Case cases[] = {
        {&meterFilled(), nullptr, "meterFilled"},
        {&meterLimit(), nullptr, "meterLimit"},
        {&meterUnfilled(), nullptr, "meterUnfilled"},
        {&values(), nullptr, "values"},
        {nullptr, &background(), "background"},
        {nullptr, &korvaneLogo(), "korvane-logo"},
        {nullptr, &headerPreset(), "header-preset"},
        {nullptr, &headerPresetPrevious(), "header-preset-previous"},
        {nullptr, &headerPresetNext(), "header-preset-next"},
        {nullptr, &headerPresetRevert(), "header-preset-revert"},
        {nullptr, &gridDot(), "grid-dot"},
        {nullptr, &gridDotDown(), "grid-dot-down"},
        {nullptr, &morphNote(), "morph-note"},
        {nullptr, &morphMs(), "morph-ms"},
    };
    const auto bundle = ResourceBundleClass::bundle();
    ASSERT_TRUE(bundle);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.colour ? c.colour->name : c.image->name, c.name);
        EXPECT_EQ(c.colour ? c.colour->bundle : c.image->bundle, bundle);
        if (c.image)
            EXPECT_TRUE(std::filesystem::exists(bundle->resourceURL().path() + "/Assets/" + c.name +
                                                ".svg"));
    }
}

// Two meters compare equal exactly when they light the same segments, so the editor's
// tick rebuilds a meter only when what it shows changes; other geometry never equals.
TEST(MeterView, MetersAreEqualWhenTheyShowTheSameSegments) {
    std::vector<std::pair<double, double>> levels;
    for (double value :
         {0.0, 1.0, 2.3, 2.4, 49.9, 50.0, 50.5, 80.0, 99.0, 100.0, 250.0, double(NAN)})
        for (double hold : {0.0, 20.0, 50.2, 50.5, 80.0, 80.9, 100.0})
            levels.push_back({value, hold});
    for (auto [value, hold] : levels)
        for (auto [otherValue, otherHold] : levels)
            EXPECT_EQ(MeterView(value, hold, 42, false, 2, 2) ==
                          MeterView(otherValue, otherHold, 42, false, 2, 2),
                      segments(value, hold) == segments(otherValue, otherHold))
                << value << " / " << hold << " against " << otherValue << " / " << otherHold;
    const MeterView meter(50, 80, 42, false, 2, 2);
    for (const MeterView& other :
         {MeterView(50, 80, 40, false, 2, 2), MeterView(50, 80, 42, true, 2, 2),
          MeterView(50, 80, 42, false, 3, 2), MeterView(50, 80, 42, false, 2, 1)})
        EXPECT_FALSE(meter == other);
}

class EditorViews : public EffectFixture {
  protected:
    void SetUp() override {
        EffectFixture::SetUp();
        NSWorkspace::shared()->clearOpenedURLs();
        NSWorkspace::shared()->setLauncher([](const std::vector<std::string>&) { return true; });
        editor = std::make_unique<ControlHarness>(controller->view(), CGSize{472, 672});
    }
    void TearDown() override {
        editor.reset();
        NSWorkspace::shared()->setLauncher(NSWorkspace::spawnDetached);
        EffectFixture::TearDown();
    }
    bool drawsText(const std::string& text) {
        for (const auto& run : editor->texts())
            if (run.text == text)
                return true;
        return false;
    }
    std::unique_ptr<ControlHarness> editor;
};

// The controller's view hosts the editor edge to edge at the size a host gives the
// plug-in's window, and on appearing hands that window and its first responder to the
// view model, where the dials give the keyboard back after a typed value.
TEST_F(EditorViews, TheControllerHostsTheEditorAndHandsItsWindowToTheViewModel) {
    EXPECT_EQ(controller->preferredContentSize().width, 472);
    EXPECT_EQ(controller->preferredContentSize().height, 672);
    ASSERT_TRUE(controller->hostingController());
    const auto& hosted = controller->hostingController()->view();
    EXPECT_EQ(hosted->superview(), controller->view());
    EXPECT_EQ(hosted->frame(), controller->view()->bounds());

    EXPECT_FALSE(settings().pluginWindow.lock()) << "not before the view appears";
    const std::shared_ptr<NSResponder> responder = editor->window->firstResponder();
    ASSERT_TRUE(responder);
    controller->viewDidAppearOnScreen();
    EXPECT_EQ(settings().pluginWindow.lock(), editor->window);
    EXPECT_EQ(settings().pluginMainResponder.lock(), responder);
}

TEST_F(EditorViews, TheUpdateButtonReplacesTheVersionAndAsksTheApplicationToUpdate) {
    EXPECT_TRUE(drawsText(settings().pluginVersion()));
    EXPECT_FALSE(editor->host->graph().find("updateButton"));

    settings().updateDetails.set(UpdateAvailableDetails{"2.1"});
    editor->turn();
    EXPECT_TRUE(drawsText("2.1 AVAILABLE"));
    EXPECT_FALSE(editor->host->graph().find("version"));

    auto frame = editor->host->graph().frame("updateButton");
    ASSERT_TRUE(frame);
    editor->click({frame->midX(), frame->midY()});
    // The URL layer keeps hosts in lower case, as hosts compare without case.
    EXPECT_EQ(NSWorkspace::shared()->openedURLs(),
              std::vector<std::string>{URL::string("emberfall://openAndUpdate")->absoluteString()});
}

// The notice: blue Dosis Light 13 inset 6 by 4 in a faint blue outline, dimmed while
// pressed, and clickable over the whole outline, corners included.
TEST_F(EditorViews, TheUpdateButtonIsBlueLightTextInAFaintOutline) {
    settings().updateDetails.set(UpdateAvailableDetails{"2.1"});
    editor->turn();
    const CGColor blue = orreryPluginBlue().resolve();
    auto label = editor->text("2.1 AVAILABLE");
    ASSERT_TRUE(label);
    EXPECT_EQ(label->fontName, "Dosis-Light");
    EXPECT_EQ(label->fontSize, 13);
    EXPECT_EQ(label->color, blue);
    const CGRect frame = editor->host->graph().frame("updateButton").value_or(CGRect::null());
    EXPECT_NEAR(frame.width(), label->rect.width() + 12, 0.01);
    EXPECT_NEAR(frame.height(), label->rect.height() + 8, 0.01);
    std::vector<CGDisplayItem> outlines;
    for (const auto& item : editor->items(CGDisplayItem::Kind::stroke))
        if (frame.insetBy(-1, -1).contains(item.rect))
            outlines.push_back(item);
    ASSERT_EQ(outlines.size(), 1u);
    EXPECT_EQ(outlines[0].lineWidth, 1);
    EXPECT_EQ(outlines[0].color, orreryPluginBlue().opacity(0.3).resolve());
    // Around the padded label, whichever side of the edge the line is drawn on.
    EXPECT_NEAR(outlines[0].rect.width(), frame.width(), 1.01);
    EXPECT_NEAR(outlines[0].rect.height(), frame.height(), 1.01);

    editor->press({frame.midX(), frame.midY()});
    editor->turn();
    EXPECT_NEAR(editor->text("2.1 AVAILABLE")->alpha, 0.8, 1e-6);
    editor->release({frame.maxX() + 20, frame.midY()}); // away from the button: no update
    editor->turn();
    EXPECT_EQ(editor->text("2.1 AVAILABLE")->alpha, 1);
    EXPECT_TRUE(NSWorkspace::shared()->openedURLs().empty());

    editor->click({frame.minX() + 0.5, frame.minY() + 0.5});
    EXPECT_EQ(NSWorkspace::shared()->openedURLs().size(), 1u);
}

// The header's pictures and the mode labels' colour come from the extension's catalogue.
TEST_F(EditorViews, TheHeaderAndLabelsDrawTheExtensionsAssets) {
    EXPECT_TRUE(editor->image("korvane-logo"));
    for (auto [button, art] : {std::pair{"previousPreset", "header-preset-previous"},
                               std::pair{"nextPreset", "header-preset-next"}}) {
        const CGRect frame = editor->host->graph().frame(button).value_or(CGRect::null());
        auto image = editor->image(art);
        ASSERT_TRUE(image) << art;
        EXPECT_TRUE(frame.insetBy(-0.5, -0.5).contains(image->rect)) << art;
    }
    const CGColor values = catalogueColor("values");
    for (const char* text : {"DELAY", "MODE"}) {
        auto run = editor->text(text);
        ASSERT_TRUE(run) << text;
        EXPECT_EQ(run->color, values) << text;
    }
}

TEST_F(EditorViews, TheMenusLastItemOpensTheMakersCatalogue) {
    auto frame = editor->host->graph().frame("presetMenu");
    ASSERT_TRUE(frame);
    editor->click({frame->midX(), frame->midY()});
    ASSERT_TRUE(editor->host->graph().chooseMenuItem({"More Korvane Plugins…"}));
    ASSERT_EQ(NSWorkspace::shared()->openedURLs().size(), 1u);
    const std::string opened = NSWorkspace::shared()->openedURLs()[0];
    EXPECT_EQ(opened.rfind("https://", 0), 0u) << opened;
    EXPECT_EQ(opened.substr(opened.size() - 9), "/plugins/") << opened;
}

TEST_F(EditorViews, AMonoSignalShowsOneWideMeterPerColumn) {
    auto meterWidths = [&](const std::string& column) {
        auto frame = editor->host->graph().frame(column);
        std::set<CGFloat> widths;
        size_t count = 0;
        for (const auto& item : editor->drawn())
            if (item.kind == CGDisplayItem::Kind::fill &&
                frame->contains({item.rect.midX(), item.rect.midY()})) {
                widths.insert(item.rect.width());
                ++count;
            }
        return std::make_pair(widths, count);
    };
    for (const char* column : {"inputMeters", "outputMeters"}) {
        EXPECT_EQ(meterWidths(column), std::make_pair(std::set<CGFloat>{5}, size_t(84))) << column;
        settings().isMeterStereo.set(false);
        editor->turn();
        EXPECT_EQ(meterWidths(column), std::make_pair(std::set<CGFloat>{11}, size_t(42))) << column;
        settings().isMeterStereo.set(true);
        editor->turn();
    }
}

// The drawn column: segment r = 0 at the bottom, each in its asset colour, one segment
// height and one gap apart.
TEST_F(EditorViews, AMeterDrawsItsSegmentsBottomUpInTheirColours) {
    settings().inLevelL.set(50);
    settings().inHoldL.set(80);
    settings().inLevelR.set(0);
    settings().inHoldR.set(100);
    editor->turn();
    const CGColor filled = catalogueColor("meterFilled");
    const CGColor limit = catalogueColor("meterLimit");
    const CGRect column = editor->host->graph().frame("inputMeters").value_or(CGRect::null());
    std::map<CGFloat, std::vector<CGDisplayItem>> meters; // by left edge
    for (const auto& item : editor->drawn())
        if (item.kind == CGDisplayItem::Kind::fill &&
            column.contains({item.rect.midX(), item.rect.midY()}))
            meters[item.rect.minX()].push_back(item);
    ASSERT_EQ(meters.size(), 2u);
    const std::string expected[] = {segments(50, 80), segments(0, 100)};
    int m = 0;
    for (auto& [x, items] : meters) {
        // Bottom first: the device's y grows downwards.
        std::sort(items.begin(), items.end(),
                  [](const auto& a, const auto& b) { return a.rect.minY() > b.rect.minY(); });
        std::string row;
        for (size_t r = 0; r < items.size(); ++r) {
            const CGColor c = items[r].color.value_or(CGColor{});
            row += c == filled ? 'f' : c == limit ? 'l' : '.';
            EXPECT_EQ(items[r].rect.height(), 2) << r;
            if (r > 0)
                EXPECT_NEAR(items[r - 1].rect.minY() - items[r].rect.minY(), 4, 0.01) << r;
        }
        EXPECT_EQ(row, expected[m++]) << x;
    }
}

TEST_F(EditorViews, ThePadMapsItsTravelOntoTheParameters) {
    const CGSize grid{370, 194};
    const CGFloat p = 8, W = 354, H = 178;
    struct Case {
        const char* what;
        float delayType;
        CGPoint location;
        float feedback;
        const char* delay;
        float delayValue;
        CGFloat dotX; // where the written delay puts the dot, as a part of the travel
    };
    const Case cases[] = {
        {"note, middle", 0, {p + W / 2, p + H / 2}, 75, "delayNote", 7, 0.5},
        {"note, half a column rounds up", 0, {p + W * 0.5f / 14, p}, 150, "delayNote", 1, 1.0 / 14},
        {"ms midpoint", 1, {p + W / 2, p + H}, 0, "delayMs", 100, 0.5},
        {"ms, beyond the right", 1, {1000, -50}, 150, "delayMs", 5000, 1},
        {"ms, beyond the left", 1, {-1000, 500}, 0, "delayMs", 1, 0},
    };
    for (const Case& c : cases) {
        settings().delayType->setValue(c.delayType, ParameterEditor::ui,
                                       ParameterEditorState::change);
        drainMainQueue();
        DelayFeedbackGridView::write(settings(), c.location, grid, p, ParameterEditorState::change);
        drainMainQueue();
        EXPECT_NEAR(kernelValue("feedback"), c.feedback, 1e-3) << c.what;
        EXPECT_NEAR(kernelValue(c.delay), c.delayValue, 0.05) << c.what;
        // The dot is put back where the values say.
        CGPoint dot = DelayFeedbackGridView::dotPosition(settings(), grid, p);
        EXPECT_NEAR(dot.y, std::clamp<CGFloat>(c.location.y, p, p + H), 0.01) << c.what;
        EXPECT_NEAR(dot.x, p + c.dotX * W, 0.01) << c.what;
    }
}

// The dials' titles are printed on their caps: in every preset (the delay dial's title
// follows the delay type), each line of every dial's title keeps its capitals, corner
// to corner, within the part of the cap that the pointer never crosses.
TEST_F(EditorViews, EveryDialsTitleFitsInsideItsCapInEveryPreset) {
    std::set<std::string> titles;
    for (const FactoryPreset& preset : allFactoryPresets()) {
        SCOPED_TRACE(preset.id());
        settings().applyFactoryPreset(preset);
        editor->turn();
        const std::vector<CGDisplayItem> items = editor->drawn();
        int dials = 0;
        for (const CGDisplayItem& knob : items) {
            if (knob.kind != CGDisplayItem::Kind::image || knob.imageName.rfind("knobs/", 0) != 0)
                continue;
            ++dials;
            const bool large = knob.imageName.find("large") != std::string::npos;
            const KnobArtwork& art = large ? largeDialKnob : chaosDialKnob;
            ASSERT_EQ(knob.rect.size, art.frame);
            const CGPoint centre{knob.rect.minX() + art.centre.x, knob.rect.minY() + art.centre.y};
            std::string title;
            for (const CGDisplayItem& run : items) {
                if (run.kind != CGDisplayItem::Kind::text ||
                    std::abs(run.rect.midX() - centre.x) > 1 ||
                    std::abs(run.rect.midY() - centre.y) > art.titleRadius)
                    continue;
                title += (title.empty() ? "" : " ") + run.text;
                const CGFont font = *CGFont::named(run.fontName, run.fontSize);
                const CGFloat baseline = run.rect.minY() + font.ascent();
                CGFloat farthest = 0;
                for (CGFloat x : {run.rect.minX(), run.rect.maxX()})
                    for (CGFloat y : {baseline - font.capHeight(), baseline})
                        farthest = std::max(farthest, std::hypot(x - centre.x, y - centre.y));
                EXPECT_LE(farthest, art.titleRadius + 0.01)
                    << run.text << ", " << run.rect.width() << " wide at " << run.fontSize;
            }
            EXPECT_FALSE(title.empty()) << knob.imageName;
            titles.insert(title);
        }
        EXPECT_EQ(dials, 11);
    }
    // Both delay dials were seen, and every other title.
    EXPECT_EQ(titles,
              (std::set<std::string>{"DELAY NOTE", "DELAY MS", "FEEDBACK", "SPREAD", "DIRT", "MIX",
                                     "RATE", "DEPTH", "SHAPE", "WIDTH", "LOW CUT", "HIGH CUT"}));
}

} // namespace

namespace {

// The editor in a window that keeps its drawing between frames, as a real window does.
class EditorFrames : public EffectFixture {
  protected:
    void open(CGFloat scale) {
        editor = std::make_unique<ControlHarness>(controller->view(), CGSize{472, 672}, scale);
        backing = CGContext::makeBitmap({472, 672}, {.scale = scale, .recordsDisplayList = true});
        editor->window->invalidate({0, 0, 472, 672});
        frame();
    }
    void TearDown() override {
        editor.reset();
        EffectFixture::TearDown();
    }
    // One frame: the main queue's work, then the dirty region redrawn.
    CGRegion frame() {
        editor->turn();
        backing->clearDisplayList();
        return editor->window->drawDirtyRegion(backing);
    }
    void setLevels(double in, double out) {
        for (auto* level : {&settings().inLevelL, &settings().inLevelR})
            level->set(in);
        for (auto* level : {&settings().outLevelL, &settings().outLevelR})
            level->set(out);
    }
    // A view's frame in the window's device points (the hosting view fills the window).
    CGRect frameOf(const std::string& identifier) {
        return editor->host->graph().frame(identifier).value_or(CGRect::null());
    }
    std::unique_ptr<ControlHarness> editor;
    std::shared_ptr<CGContext> backing;
};

TEST_F(EditorFrames, AMeterTickRedrawsTheTwoMetersAndNothingElse) {
    open(1);
    setLevels(70, 40);
    editor->turn();
    // The marks: a rectangle per meter column, in window coordinates (y up).
    const CGRect columns[] = {frameOf("inputMeters"), frameOf("outputMeters")};
    auto inWindow = [&](const CGRect& r) { return editor->host->convertToView(r, nullptr); };
    const CGRegion& dirty = editor->window->dirtyRegion();
    ASSERT_EQ(dirty.rects().size(), 2u);
    for (const CGRect& r : dirty.rects())
        EXPECT_TRUE(inWindow(columns[0]).insetBy(-0.5, -0.5).contains(r) ||
                    inWindow(columns[1]).insetBy(-0.5, -0.5).contains(r));

    // The frame's drawing: only what lies in the meters' rectangles (grown by the point
    // and pixel the window adds), clipped to them: the background behind the meters and
    // their segments, no dial, text or button.
    const CGRegion redrawn = frame();
    for (const CGRect& r : redrawn.rects())
        EXPECT_TRUE(columns[0].insetBy(-2, -2).contains(r) ||
                    columns[1].insetBy(-2, -2).contains(r));
    size_t segments = 0;
    for (const CGDisplayItem& item : backing->displayList()) {
        ASSERT_TRUE(item.clip) << item.imageName << item.text;
        EXPECT_TRUE(redrawn.contains(*item.clip));
        EXPECT_TRUE(redrawn.intersects(item.rect)) << item.imageName << item.text;
        EXPECT_NE(item.kind, CGDisplayItem::Kind::text) << item.text;
        if (item.kind == CGDisplayItem::Kind::image)
            EXPECT_EQ(item.imageName, "background");
        if (item.kind == CGDisplayItem::Kind::fill && item.rect.height() == 2)
            ++segments;
    }
    EXPECT_EQ(segments, 4u * 42); // two stereo columns of two meters

    // Levels that light the same segments: the meters stand as they were, nothing is drawn.
    setLevels(70.5, 40.3);
    EXPECT_TRUE(frame().isEmpty());
    EXPECT_TRUE(backing->displayList().empty());

    // Nothing changed: nothing is drawn.
    EXPECT_TRUE(frame().isEmpty());
    EXPECT_TRUE(backing->displayList().empty());
}

TEST_F(EditorFrames, PartialRedrawsAddUpToTheWholeEditorDrawnAfresh) {
    for (CGFloat scale : {1.0, 2.0}) {
        SCOPED_TRACE(scale);
        open(scale);
        for (double level : {30.0, 85.0, 10.0, 10.5}) {
            setLevels(level, 100 - level);
            frame();
        }
        // A dial turned by a drag, a frame per step.
        const CGRect dial = frameOf("dial-feedback");
        const CGPoint centre{dial.midX(), dial.midY()};
        const float turnedFrom = settings().feedback->value.get();
        editor->press(centre);
        frame();
        for (CGFloat dy : {-6.0, -20.0, -35.0, 10.0}) {
            editor->drag({centre.x, centre.y + dy});
            frame();
        }
        editor->release({centre.x, centre.y + 10});
        frame();
        EXPECT_NE(settings().feedback->value.get(), turnedFrom);
        // Mono meters: their width changes, so the layout around them too.
        settings().isMeterStereo.set(false);
        setLevels(55, 60);
        frame();
        auto fresh = editor->window->snapshot();
        EXPECT_EQ(backing->makeImage().pngData(), fresh->makeImage().pngData());
        editor.reset();
    }
}

} // namespace
