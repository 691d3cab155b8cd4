// The editor driven by events, on a unit loaded through the extension service.

#include "HostedEditor.h"

#include "BlockRenderer.h"
#include "FactoryPresets.h"

#include "AppKit/ResourceBundle.h"
#include "AudioToolbox/AVAudioFormat.h"
#include "Foundation/PropertyList.h"
#include "SwiftUI/Menu.h"
#include "TestSupport/DialPlaces.h"

#include <cmath>

namespace {

using Event = AUParameterAutomationEventType;

// The pad's travel: 8 points in from each edge of its 370 × 194 frame.
CGPoint padPoint(CGRect pad, double nx, double ny) {
    return {pad.minX() + 8 + nx * (370 - 16), pad.minY() + 8 + (1 - ny) * (194 - 16)};
}

// One begin first, one end last, changes between: one edit per gesture.
void expectOneEdit(const std::vector<HostedEditorTest::Automation>& events, const char* what) {
    ASSERT_GE(events.size(), 2u) << what;
    EXPECT_EQ(events.front().event, Event::touch) << what;
    EXPECT_EQ(events.back().event, Event::release) << what;
    for (size_t i = 1; i + 1 < events.size(); ++i)
        EXPECT_EQ(events[i].event, Event::value) << what << " event " << i;
}

TEST_F(HostedEditorTest, DraggingThePadWritesFeedbackAndTheDelayOfTheModeAsOneEdit) {
    struct Case {
        const char* mode;
        int delayTypeButton;   // the mode button pressed first
        const char* written;   // the delay parameter the pad writes
        const char* untouched; // the other one
        float delayInMiddle;   // nx = 0.5
        float delayAtLeft;     // dragged beyond the left edge
    };
    const Case cases[] = {
        {"note", 0, "delayNote", "delayMs", 7, 0},
        {"ms", 1, "delayMs", "delayNote", 100, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        editor->click(centreOf("delayType-" + std::to_string(c.delayTypeButton)));
        ASSERT_EQ(kernelValue("delayType"), float(c.delayTypeButton));
        automation.clear();

        const CGRect pad = frameOf("delayFeedbackPad");
        editor->press(padPoint(pad, 0.5, 0.5));
        EXPECT_NEAR(kernelValue("feedback"), 75, 0.01);
        EXPECT_NEAR(kernelValue(c.written), c.delayInMiddle, 0.05);
        editor->drag(padPoint(pad, 0.5, 1.0));
        editor->drag(padPoint(pad, -0.5, 1.5)); // beyond the top-left corner
        EXPECT_FLOAT_EQ(kernelValue("feedback"), 150);
        EXPECT_FLOAT_EQ(kernelValue(c.written), c.delayAtLeft);
        editor->release(padPoint(pad, -0.5, -0.5)); // beyond the bottom-left corner

        expectOneEdit(eventsOf("feedback"), "feedback");
        expectOneEdit(eventsOf(c.written), c.written);
        EXPECT_TRUE(eventsOf(c.untouched).empty());
        EXPECT_FLOAT_EQ(kernelValue("feedback"), 0);
        EXPECT_FLOAT_EQ(eventsOf("feedback").back().value, 0);
    }
}

TEST_F(HostedEditorTest, ThePadShowsTheModeAndFollowsFeedbackFromTheHost) {
    auto imageFrame = [&](const std::string& name) -> std::optional<CGRect> {
        for (const auto& item : editor->drawn())
            if (item.kind == CGDisplayItem::Kind::image && item.imageName == name)
                return item.rect;
        return std::nullopt;
    };
    EXPECT_TRUE(imageFrame("morph-note"));
    editor->click(centreOf("delayType-1"));
    EXPECT_TRUE(imageFrame("morph-ms"));
    EXPECT_FALSE(imageFrame("morph-note"));

    const CGRect pad = frameOf("delayFeedbackPad");
    for (float feedback : {0.f, 75.f, 150.f}) {
        parameter("feedback").setValue(feedback);
        editor->turn();
        auto dot = imageFrame("grid-dot");
        ASSERT_TRUE(dot);
        EXPECT_NEAR(dot->midY(), padPoint(pad, 0, feedback / 150).y, 0.5) << feedback;
    }
    // While dragged the dot shows its pressed face.
    editor->press(padPoint(pad, 0.2, 0.2));
    EXPECT_TRUE(imageFrame("grid-dot-down"));
    editor->release(padPoint(pad, 0.2, 0.2));
    EXPECT_TRUE(imageFrame("grid-dot"));
}

TEST_F(HostedEditorTest, ModeButtonsSelectTheDelayTypeAndTheModel) {
    for (int model : {3, 1, 0, 2}) {
        editor->click(centreOf("model-" + std::to_string(model)));
        EXPECT_EQ(kernelValue("model"), float(model));
    }
    editor->click(centreOf("delayType-1"));
    EXPECT_EQ(kernelValue("delayType"), 1);
    // The heard delay is kept: the Default preset's 1/8. at 120 BPM is 375 ms.
    EXPECT_NEAR(kernelValue("delayMs"), 375, 0.01);
}

TEST_F(HostedEditorTest, TurningADialReachesTheKernelAsOneEdit) {
    struct Case {
        const char* identifier;
        float before, after; // 40 points up: two tenths of the travel
    };
    const Case cases[] = {
        {"mix", 30, 50},     {"feedback", 45, 75}, {"modDepth", 0, 20},
        {"width", 100, 180}, {"dirt", 0, 40},      {"spread", 0, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.identifier);
        automation.clear();
        ASSERT_NEAR(kernelValue(c.identifier), c.before, 1e-3);
        const CGPoint centre = centreOf(std::string("dial-") + c.identifier);
        editor->press(centre);
        editor->drag({centre.x, centre.y - 10}); // past the knob's dead zone: begin
        editor->drag({centre.x, centre.y - 50});
        EXPECT_NEAR(kernelValue(c.identifier), c.after, 0.01);
        editor->release({centre.x, centre.y - 50});
        expectOneEdit(eventsOf(c.identifier), c.identifier);
    }
}

TEST_F(HostedEditorTest, AValueTypedIntoADialReachesTheKernelAndTheKeyboardGoesBack) {
    const CGRect dial = frameOf("dial-mix");
    std::optional<CGRect> value;
    for (const auto& run : editor->texts())
        if (run.text == "30" && dial.contains({run.rect.midX(), run.rect.midY()}))
            value = run.rect;
    ASSERT_TRUE(value) << "the mix dial shows no value";
    const std::shared_ptr<NSResponder> mainResponder = editor->window->firstResponder();

    editor->click({value->midX(), value->midY()});
    EXPECT_EQ(editor->window->firstResponder(), editor->host) << "typing needs the keyboard";
    editor->type("64");
    editor->key("\r");
    EXPECT_FLOAT_EQ(kernelValue("mix"), 64);
    EXPECT_EQ(editor->window->firstResponder(), mainResponder);
}

// Each gesture on a large and a small dial of the editor does what the place under the
// pointer says: the title and the value row type a value, the rest of the knob resets
// on a double-click or an Option-click, and a drag from anywhere turns it.
TEST_F(HostedEditorTest, EveryDialGestureDoesWhatThePlaceUnderThePointerSays) {
    struct Dial {
        const char* identifier;
        float start, defaultValue;
    };
    const Dial dials[] = {{"feedback", 100, 45}, {"highCut", 1000, 20000}};
    enum class Outcome { types, resets, nothing, turns };
    struct Gesture {
        const char* what;
        std::function<void(ControlHarness&, CGPoint)> act;
        Outcome onLabel, onKnob;
    };
    const Gesture gestures[] = {
        {"click", [](ControlHarness& h, CGPoint p) { h.click(p); }, Outcome::types,
         Outcome::nothing},
        {"double-click", [](ControlHarness& h, CGPoint p) { h.doubleClick(p); }, Outcome::types,
         Outcome::resets},
        {"Option-click", [](ControlHarness& h, CGPoint p) { h.click(p, NSEvent::option); },
         Outcome::types, Outcome::resets},
        {"drag up",
         [](ControlHarness& h, CGPoint p) {
             h.press(p);
             h.drag({p.x, p.y - 10});
             h.drag({p.x, p.y - 30});
             h.release({p.x, p.y - 30});
         },
         Outcome::turns, Outcome::turns},
    };
    for (const Dial& dial : dials) {
        const std::string id = dial.identifier;
        parameter(id).setValue(dial.start); // the places of the value as it will be shown
        editor->turn();
        std::optional<DialPlaces> found =
            DialPlaces::find(editor->drawn(), frameOf("dial-" + id), 14);
        ASSERT_TRUE(found) << id;
        for (const DialPlaces::Place& place : found->places())
            for (const Gesture& g : gestures) {
                SCOPED_TRACE(id + ": " + g.what + " on " + place.what);
                parameter(id).setValue(dial.start);
                editor->turn();
                automation.clear();
                g.act(*editor, place.point);
                const Outcome outcome =
                    place.owner == DialPlaces::Owner::label ? g.onLabel : g.onKnob;
                const std::vector<Automation> events = eventsOf(id);
                EXPECT_EQ(editor->host->graph().hasFocus(), outcome == Outcome::types);
                switch (outcome) {
                case Outcome::types:
                case Outcome::nothing:
                    EXPECT_TRUE(events.empty());
                    EXPECT_FLOAT_EQ(kernelValue(id), dial.start);
                    break;
                case Outcome::resets:
                    EXPECT_EQ(events.size(), 1u);
                    EXPECT_TRUE(!events.empty() && events[0].event == Event::value);
                    EXPECT_FLOAT_EQ(kernelValue(id), dial.defaultValue);
                    break;
                case Outcome::turns:
                    expectOneEdit(events, dial.identifier);
                    EXPECT_GT(kernelValue(id), dial.start);
                    break;
                }
                if (editor->host->graph().hasFocus())
                    editor->key("\x1b"); // leaves the field without applying
                EXPECT_FALSE(editor->host->graph().hasFocus());
            }
    }
}

TEST_F(HostedEditorTest, SwitchingTheDelayModeSwapsTheDialAndEndsATurnInProgress) {
    ASSERT_TRUE(has("dial-delayNote"));
    ASSERT_FALSE(has("dial-delayMs"));
    const CGPoint centre = centreOf("dial-delayNote");
    editor->press(centre);
    editor->drag({centre.x, centre.y - 10});
    editor->drag({centre.x, centre.y - 30});
    // Automation switches to ms in the middle of the turn.
    parameter("delayType").setValue(1);
    editor->turn();
    EXPECT_TRUE(has("dial-delayMs"));
    EXPECT_FALSE(has("dial-delayNote"));
    editor->drag({centre.x, centre.y - 60});
    editor->release({centre.x, centre.y - 60});

    expectOneEdit(eventsOf("delayNote"), "delayNote");
    for (const auto& e : eventsOf("delayMs"))
        EXPECT_EQ(e.event, Event::value) << "the ms dial was never touched";
    // The ms dial shows the converted time with one decimal place.
    const float ms = kernelValue("delayMs");
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", ms);
    auto texts = textsDrawn();
    EXPECT_NE(std::find(texts.begin(), texts.end(), std::string(text)), texts.end()) << text;
}

const SwiftUI::MenuItem* item(const std::vector<SwiftUI::MenuItem>& menu,
                              const std::string& title) {
    for (const auto& i : menu)
        if (i.title == title)
            return &i;
    return nullptr;
}

// The titles of the checked items, submenus included ("Echo/Quarter Master").
std::vector<std::string> checked(const std::vector<SwiftUI::MenuItem>& menu,
                                 const std::string& prefix = "") {
    std::vector<std::string> titles;
    for (const auto& i : menu) {
        if (i.checked)
            titles.push_back(prefix + i.title);
        auto inner = checked(i.items, prefix + i.title + "/");
        titles.insert(titles.end(), inner.begin(), inner.end());
    }
    return titles;
}

TEST_F(HostedEditorTest, ChoosingAPresetFromTheMenuAppliesItAndTheHeaderShowsIt) {
    editor->click(centreOf("presetMenu"));
    const auto* menu = editor->host->graph().presentedMenu();
    ASSERT_TRUE(menu);
    EXPECT_EQ(checked(*menu), std::vector<std::string>{"Default"});
    ASSERT_TRUE(item(*menu, "More Korvane Plugins…"));
    for (const PresetGroup& group : factoryPresetGroups()) {
        const auto* submenu = item(*menu, group.style);
        ASSERT_TRUE(submenu) << group.style;
        EXPECT_EQ(submenu->items.size(), group.presets.size());
    }

    for (const PresetGroup& group : factoryPresetGroups()) {
        const FactoryPreset& preset = group.presets[3];
        SCOPED_TRACE(preset.id());
        editor->click(centreOf("presetMenu"));
        ASSERT_TRUE(editor->host->graph().chooseMenuItem({group.style, preset.name}));
        editor->turn();
        EXPECT_EQ(currentPresetId(), preset.id());
        EXPECT_FLOAT_EQ(kernelValue("mix"), preset.mix);
        EXPECT_FLOAT_EQ(kernelValue("feedback"), preset.feedback);
        EXPECT_FLOAT_EQ(kernelValue("dirt"), preset.dirt);
        EXPECT_EQ(kernelValue("delayType"), preset.delayType == DelayTimeType::ms ? 1 : 0);
        auto texts = textsDrawn();
        std::string upper = preset.name;
        for (char& ch : upper)
            ch = char(std::toupper(static_cast<unsigned char>(ch)));
        EXPECT_NE(std::find(texts.begin(), texts.end(), upper), texts.end());

        editor->click(centreOf("presetMenu"));
        menu = editor->host->graph().presentedMenu();
        ASSERT_TRUE(menu);
        EXPECT_EQ(checked(*menu),
                  (std::vector<std::string>{group.style, group.style + "/" + preset.name}));
        editor->host->graph().dismissMenu();
    }
}

TEST_F(HostedEditorTest, AStateWithAForeignPresetShowsDefaultAndChecksNothing) {
    std::optional<PropertyListDictionary> state = effect.unit->fullState();
    ASSERT_TRUE(state);
    (*state)["currentPresetId"] = PropertyListValue(std::string("Elsewhere-Not Ours"));
    effect.unit->setFullState(state);
    editor->turn();
    auto texts = textsDrawn();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "DEFAULT"), texts.end());
    EXPECT_FALSE(has("revertPreset"));
    editor->click(centreOf("presetMenu"));
    const auto* menu = editor->host->graph().presentedMenu();
    ASSERT_TRUE(menu);
    EXPECT_TRUE(checked(*menu).empty());
}

TEST_F(HostedEditorTest, PreviousAndNextStepThroughThePresetsAndWrap) {
    const std::vector<FactoryPreset>& presets = allFactoryPresets();
    editor->click(centreOf("previousPreset")); // from Default to the last
    EXPECT_EQ(currentPresetId(), presets.back().id());
    editor->click(centreOf("nextPreset")); // and round to the first
    EXPECT_EQ(currentPresetId(), presets.front().id());
    editor->click(centreOf("nextPreset"));
    EXPECT_EQ(currentPresetId(), presets[1].id());
    EXPECT_FLOAT_EQ(kernelValue("mix"), presets[1].mix);
    editor->click(centreOf("previousPreset"));
    EXPECT_EQ(currentPresetId(), presets.front().id());
}

TEST_F(HostedEditorTest, RevertRestoresAModifiedPreset) {
    const FactoryPreset& preset = factoryPresetGroups()[0].presets[0];
    editor->click(centreOf("presetMenu"));
    ASSERT_TRUE(editor->host->graph().chooseMenuItem({preset.style, preset.name}));
    editor->turn();
    EXPECT_FALSE(has("revertPreset"));

    const CGRect pad = frameOf("delayFeedbackPad");
    editor->click(padPoint(pad, 0.9, 0.1));
    ASSERT_NE(kernelValue("feedback"), preset.feedback);
    ASSERT_TRUE(has("revertPreset"));

    editor->click(centreOf("revertPreset"));
    EXPECT_FLOAT_EQ(kernelValue("feedback"), preset.feedback);
    if (preset.delayType == DelayTimeType::ms)
        EXPECT_FLOAT_EQ(kernelValue("delayMs"), preset.delayMs);
    else
        EXPECT_EQ(kernelValue("delayNote"), float(preset.delayNote));
    EXPECT_FALSE(has("revertPreset"));
}

// The version stays legible at one and two pixels a point: every character of it, the
// full stops included, is ink of its own with clear background between it and the
// next, so "1.0.0" never reads as "10.0".
TEST_F(HostedEditorTest, EveryCharacterOfTheVersionStandsApartAtEveryScale) {
    const std::string version = "1.0.0"; // the bundle's
    ASSERT_TRUE(editor->text(version)) << "the editor shows another version";
    for (CGFloat scale : {1.0, 2.0}) {
        SCOPED_TRACE(scale);
        ControlHarness scaled(controller->view(), CGSize{472, 672}, scale);
        const std::shared_ptr<CGContext> drawn = scaled.window->snapshot(true);
        std::optional<CGDisplayItem> run = firstText(drawn->displayList(), version);
        ASSERT_TRUE(run);
        const CGImage image = drawn->makeImage();
        auto at = [&](CGFloat x, CGFloat y) {
            return image.pixel(size_t(std::lround(x * scale)), size_t(std::lround(y * scale)));
        };
        auto distance = [](CGImage::Pixel p, CGImage::Pixel q) {
            return std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
        };
        const CGImage::Pixel background = at(run->rect.minX() - 3, run->rect.midY());
        // Per pixel column across the run: the strongest ink in it.
        const int x0 = int(std::floor(run->rect.minX() * scale)) - 1,
                  x1 = int(std::ceil(run->rect.maxX() * scale)) + 1;
        const int y0 = int(run->rect.minY() * scale), y1 = int(run->rect.maxY() * scale);
        std::vector<int> ink;
        for (int x = x0; x < x1; ++x) {
            int strongest = 0;
            for (int y = y0; y < y1; ++y)
                strongest =
                    std::max(strongest, distance(image.pixel(size_t(x), size_t(y)), background));
            ink.push_back(strongest);
        }
        const int full = *std::max_element(ink.begin(), ink.end());
        // A column is ink where it shows a quarter of the text's full strength; the
        // characters are the runs of such columns.
        int characters = 0;
        bool inInk = false;
        for (int strength : ink) {
            const bool isInk = strength * 4 >= full;
            characters += isInk && !inInk;
            inInk = isInk;
        }
        EXPECT_EQ(characters, int(version.size()));
    }
}

// Whatever the preset's name, the revert arrow of a modified preset stands clear of the
// preset box: a click anywhere on the box opens the menu and keeps the edits.
TEST_F(HostedEditorTest, TheRevertArrowStandsClearOfThePresetMenu) {
    for (const FactoryPreset& preset : allFactoryPresets()) {
        SCOPED_TRACE(preset.id());
        editor->click(centreOf("presetMenu"));
        ASSERT_TRUE(editor->host->graph().chooseMenuItem(
            preset.style == preset.name ? std::vector<std::string>{preset.name}
                                        : std::vector<std::string>{preset.style, preset.name}));
        editor->turn();
        const float edited = preset.mix == 50 ? 51 : 50;
        parameter("mix").setValue(edited);
        editor->turn();
        ASSERT_TRUE(has("revertPreset"));
        const CGRect box = frameOf("presetMenu"), revert = frameOf("revertPreset");
        EXPECT_FALSE(box.intersects(revert)) << "box " << ::testing::PrintToString(box)
                                             << ", revert " << ::testing::PrintToString(revert);
        for (CGFloat x : {0.1, 0.5, 0.9}) {
            editor->click({box.minX() + x * box.width(), box.midY()});
            EXPECT_TRUE(editor->host->graph().presentedMenu()) << x;
            editor->host->graph().dismissMenu();
        }
        EXPECT_FLOAT_EQ(kernelValue("mix"), edited) << "the edit was kept";
    }
}

// The two rows of dials stand where the canvas puts them, so neither row's knobs reach
// over the other's labels. The control block starts 276 down. The five large dials
// (72 x 82) are spaced 14.5 apart and centred, (472 - 5 * 72 - 4 * 14.5) / 2 = 27 in,
// and centred in their 144-point row. The six small ones (56 x 66 with their label)
// are 16 apart inside 28 points of padding, in a 146-point row lifted 1 point.
TEST_F(HostedEditorTest, TheDialsStandInTheirRows) {
    struct Case {
        const char* identifier;
        CGRect frame;
    };
    const CGFloat largeTop = 276 + (144 - 82) / 2.0, smallTop = 276 + 144 - 1 + (146 - 66) / 2.0;
    const Case cases[] = {
        {"delayNote", {27, largeTop, 72, 82}}, {"feedback", {113.5, largeTop, 72, 82}},
        {"spread", {200, largeTop, 72, 82}},   {"dirt", {286.5, largeTop, 72, 82}},
        {"mix", {373, largeTop, 72, 82}},      {"modRate", {28, smallTop, 56, 66}},
        {"modDepth", {100, smallTop, 56, 66}}, {"lfoType", {172, smallTop, 56, 66}},
        {"width", {244, smallTop, 56, 66}},    {"lowCut", {316, smallTop, 56, 66}},
        {"highCut", {388, smallTop, 56, 66}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.identifier);
        const CGRect frame = frameOf(std::string("dial-") + c.identifier);
        EXPECT_NEAR(frame.minX(), c.frame.minX(), 0.01);
        EXPECT_NEAR(frame.minY(), c.frame.minY(), 0.01);
        EXPECT_NEAR(frame.width(), c.frame.width(), 0.01);
        EXPECT_NEAR(frame.height(), c.frame.height(), 0.01);
    }
}

TEST_F(HostedEditorTest, TheCanvasScalesByTheSmallerRatioOfItsWindow) {
    struct Case {
        CGSize window;
        CGFloat scale;
    };
    const Case cases[] = {{{472, 672}, 1}, {{944, 1344}, 2}, {{944, 672}, 1}, {{236, 672}, 0.5}};
    for (const Case& c : cases) {
        ControlHarness sized(controller->view(), c.window);
        std::optional<CGRect> pad = sized.host->graph().frame("delayFeedbackPad");
        ASSERT_TRUE(pad);
        EXPECT_NEAR(pad->minX(), 51 * c.scale, 0.01) << c.window.width << "x" << c.window.height;
        EXPECT_NEAR(pad->minY(), 46 * c.scale, 0.01);
        EXPECT_NEAR(pad->width(), 370 * c.scale, 0.01);
        EXPECT_NEAR(pad->height(), 194 * c.scale, 0.01);
    }
}

class HostedEditorMeters : public HostedEditorTest {
  protected:
    // How many segments of a meter column are lit (not the unlit colour).
    int litSegments(const std::string& column) {
        static const CGColor unlit =
            SwiftUI::ColorValue("meterUnfilled",
                                findResourceBundle("EmberfallExtension_EmberfallExtension",
                                                   reinterpret_cast<const void*>(&padPoint)))
                .resolve();
        const CGRect frame = frameOf(column);
        int lit = 0;
        for (const auto& item : editor->drawn())
            if (item.kind == CGDisplayItem::Kind::fill &&
                frame.contains({item.rect.midX(), item.rect.midY()}) && item.color &&
                !(*item.color == unlit))
                ++lit;
        return lit;
    }
    // One 1/60 s tick of the editor's meter timer.
    void tick() {
        RunLoop::main().run(1.0 / 60);
        editor->turn();
    }
};

TEST_F(HostedEditorMeters, FollowARenderedSignalAndFallToZeroAfterAQuarterSecond) {
    auto format = AVAudioFormat::standardFormat(44100, 2);
    ASSERT_TRUE((*effect.unit->inputBusses())[0]->setFormat(format));
    ASSERT_TRUE((*effect.unit->outputBusses())[0]->setFormat(format));
    ASSERT_FALSE(effect.unit->allocateRenderResources());
    BlockRenderer renderer(*effect.unit, 2, 512);
    renderer.input.assign(2, std::vector<float>(44100));
    for (size_t i = 0; i < renderer.input[0].size(); ++i)
        renderer.input[0][i] = renderer.input[1][i] = 0.5f * std::sin(0.05 * double(i));

    EXPECT_EQ(litSegments("inputMeters"), 0);
    for (int t = 0; t < 4; ++t) {
        ASSERT_EQ(renderer.render(512), noErr);
        tick();
    }
    // -6 dB lights about nine tenths of each of the two input meters.
    EXPECT_GT(litSegments("inputMeters"), 2 * 30);
    EXPECT_GT(litSegments("outputMeters"), 0);

    // Rendering stops: the meters hold until 0.25 s have passed, then show nothing.
    for (int t = 0; t < 12; ++t)
        tick();
    EXPECT_GT(litSegments("inputMeters"), 0);
    for (int t = 0; t < 6; ++t)
        tick();
    EXPECT_EQ(litSegments("inputMeters"), 0);
    EXPECT_EQ(litSegments("outputMeters"), 0);
}

} // namespace
