#pragma once
// The effect's editor as a host shows it: the extension loaded through the extension
// service (the .appex, never linked), its unit made by the principal object, the
// controller's view in a window driven by injected events, on a test clock. Only
// platform types cross into the extension: the tree, the unit, the views.
// Thread: main (the test's).

#include "EffectLoader.h"
#include "TestSupport/ControlHarness.h"

#include "AudioToolbox/AUParameters.h"
#include "CoreAudioKit/AUViewController.h"
#include "Foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// The effect loaded from the .appex and its editor's controller.
struct LoadedEditor {
    LoadedEffect effect;
    std::shared_ptr<AUViewController> controller;
};
inline std::optional<LoadedEditor> loadEditor(std::string& error) {
    auto loaded = loadEffect(EMBERFALL_APPEX_PATH, error);
    if (!loaded)
        return std::nullopt;
    auto controller = std::dynamic_pointer_cast<AUViewController>(loaded->principal);
    if (!controller) {
        error = "the principal object is no view controller";
        return std::nullopt;
    }
    return LoadedEditor{std::move(*loaded), std::move(controller)};
}

class HostedEditorTest : public ::testing::Test {
  public:
    struct Automation {
        AUParameterAddress address;
        AUParameterAutomationEventType event;
        AUValue value;
    };

  protected:
    void SetUp() override {
        scope = std::make_unique<RunLoopTestScope>();
        std::string error;
        auto loaded = loadEditor(error);
        ASSERT_TRUE(loaded) << error;
        effect = std::move(loaded->effect);
        controller = std::move(loaded->controller);
        editor = std::make_unique<ControlHarness>(controller->view(), CGSize{472, 672});
        ASSERT_TRUE(editor->host) << "the editor's view hosts no declarative views";
        controller->viewDidAppearOnScreen();
        token = tree().tokenByAddingParameterAutomationObserver(
            [this](const AUParameterAutomationEvent& e) {
                automation.push_back({e.address, e.eventType, e.value});
            });
        editor->turn();
    }
    void TearDown() override {
        if (effect.unit) {
            tree().removeParameterObserver(token);
            if (effect.unit->renderResourcesAllocated())
                effect.unit->deallocateRenderResources();
        }
        editor.reset();
        controller.reset();
        effect = {};
        scope.reset();
    }

    AUParameterTree& tree() { return *effect.unit->parameterTree(); }
    AUParameter& parameter(const std::string& identifier) { return *tree().parameter(identifier); }
    // The value the tree reports: the kernel's last raw value.
    AUValue kernelValue(const std::string& identifier) { return parameter(identifier).value(); }
    // The automation events of one parameter since the last clear.
    std::vector<Automation> eventsOf(const std::string& identifier) {
        std::vector<Automation> of;
        for (const Automation& a : automation)
            if (a.address == parameter(identifier).address())
                of.push_back(a);
        return of;
    }
    // A view's frame in the hosting view, by its accessibility identifier.
    CGRect frameOf(const std::string& identifier) {
        std::optional<CGRect> frame = editor->host->graph().frame(identifier);
        EXPECT_TRUE(frame) << "no view " << identifier;
        return frame.value_or(CGRect{});
    }
    CGPoint centreOf(const std::string& identifier) {
        CGRect f = frameOf(identifier);
        return {f.midX(), f.midY()};
    }
    bool has(const std::string& identifier) {
        return editor->host->graph().find(identifier) != nullptr;
    }
    std::vector<std::string> textsDrawn() {
        std::vector<std::string> runs;
        for (const auto& item : editor->texts())
            runs.push_back(item.text);
        return runs;
    }
    std::string currentPresetId() {
        auto state = effect.unit->fullState();
        if (!state)
            return "";
        auto found = state->find("currentPresetId");
        return found != state->end() && found->second.string() ? *found->second.string() : "";
    }

    std::unique_ptr<RunLoopTestScope> scope;
    LoadedEffect effect;
    std::shared_ptr<AUViewController> controller;
    std::unique_ptr<ControlHarness> editor;
    std::vector<Automation> automation;
    AUParameterObserverToken token = nullptr;
};
