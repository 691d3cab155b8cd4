#pragma once
// The supporter panel: six switches drawn by "supporterVertexShader" /
// "supporterFragmentShader". SupporterShaderRenderer hands the fragment function the
// drawable size (bytes 0), the animation time (bytes 1), the main screen's scale (bytes
// 2) and, as buffers 3-6 made anew each frame, the on and down states of the six switches
// and the six newest switch-on events (switch index, -1 for none; animation time),
// newest first. A frame whose buffers cannot be made is skipped.
// SupporterShaderViewController keeps the states it is given before there is a renderer
// and applies them to each new one; switchOn records an event only when the switch was
// off. An index outside 0-5 is ignored everywhere.
// Thread: main thread.

#include <array>

#include "ShaderViewController.h"

class SupporterShaderRenderer : public ShaderRendererBase {
  public:
    static constexpr size_t switchCount = 6;
    using Values = std::array<float, switchCount>;

    const std::string& name() const { return name_; }
    float scale() const { return scale_; }
    Values switchOnState{};
    Values switchDownState{};
    const Values& switchHistory() const { return history; }
    const Values& switchHistoryTime() const { return historyTime; }

    // Moves the history one place on (the oldest drops out) and records `index` at the
    // animation time now (the pause's start while paused). Ignored outside 0-5.
    void recordSwitchEvent(int index);
    void drawInMTKView(MTKView& view) override;

  protected:
    SupporterShaderRenderer(MTKView& view, std::string name);

  private:
    std::string name_, label;
    float scale_ = 1;
    Values history, historyTime{};
};

class SupporterShaderViewController : public ShaderViewController {
  public:
    const std::string rendererName;
    void setInitialButtonStates(bool on1, bool on2, bool on3, bool on4, bool on5, bool on6);
    void switchOn(int index);
    void switchOff(int index);
    void switchDown(int index);
    void switchUp(int index);
    std::shared_ptr<SupporterShaderRenderer> supporterRenderer() const {
        return std::static_pointer_cast<SupporterShaderRenderer>(renderer);
    }

  protected:
    SupporterShaderViewController(std::shared_ptr<NSView> view, std::string rendererName)
        : ShaderViewController(std::move(view)), rendererName(std::move(rendererName)) {}
    std::shared_ptr<ShaderRendererBase> makeRenderer(MTKView& view) override;
    void rendererWasMade() override;

  private:
    std::optional<SupporterShaderRenderer::Values> switchOnStateToSetOnAppear;
};
