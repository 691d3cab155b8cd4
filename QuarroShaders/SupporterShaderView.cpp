#include "SupporterShaderView.h"

#include <algorithm>

#include "AppKit/NSScreen.h"
#include "AppKit/NSWindow.h"

namespace {
bool isSwitch(int index) {
    return index >= 0 && index < int(SupporterShaderRenderer::switchCount);
}
} // namespace

SupporterShaderRenderer::SupporterShaderRenderer(MTKView& view, std::string name)
    : ShaderRendererBase(view), name_(std::move(name)), label(name_ + " Command Buffer") {
    history.fill(-1);
    // The screen the view is shown on; 1 without one.
    auto window = view.window();
    scale_ = window && window->screen ? float(window->screen->backingScaleFactor) : 1.0f;
    pipelineState =
        makeShaderPipeline(*device_, "supporterVertexShader", "supporterFragmentShader");
    clock = ShaderAnimationClock(Date::now());
}

void SupporterShaderRenderer::recordSwitchEvent(int index) {
    if (!isSwitch(index))
        return;
    std::copy_backward(history.begin(), history.end() - 1, history.end());
    std::copy_backward(historyTime.begin(), historyTime.end() - 1, historyTime.end());
    historyTime[0] = clock.shaderTime();
    history[0] = float(index);
}

void SupporterShaderRenderer::drawInMTKView(MTKView& view) {
    // The per-frame buffers first: without them there is nothing right to draw.
    const size_t bytes = sizeof(Values);
    auto on = device_->makeBuffer(switchOnState.data(), bytes, 0);
    auto down = device_->makeBuffer(switchDownState.data(), bytes, 0);
    auto events = device_->makeBuffer(history.data(), bytes, 0);
    auto times = device_->makeBuffer(historyTime.data(), bytes, 0);
    if (!on || !down || !events || !times)
        return;
    auto frame = beginFrame(view, label);
    if (!frame)
        return;
    const float time = clock.shaderTime();
    frame->encoder->setFragmentBytes(&time, sizeof time, 1);
    frame->encoder->setFragmentBytes(&scale_, sizeof scale_, 2);
    frame->encoder->setFragmentBuffer(on, 0, 3);
    frame->encoder->setFragmentBuffer(down, 0, 4);
    frame->encoder->setFragmentBuffer(events, 0, 5);
    frame->encoder->setFragmentBuffer(times, 0, 6);
    finishFrame(view, *frame);
}

std::shared_ptr<ShaderRendererBase> SupporterShaderViewController::makeRenderer(MTKView& view) {
    return make<SupporterShaderRenderer>(view, rendererName);
}

void SupporterShaderViewController::rendererWasMade() {
    if (switchOnStateToSetOnAppear)
        supporterRenderer()->switchOnState = *switchOnStateToSetOnAppear;
}

void SupporterShaderViewController::setInitialButtonStates(bool on1, bool on2, bool on3, bool on4,
                                                           bool on5, bool on6) {
    SupporterShaderRenderer::Values states;
    const bool on[] = {on1, on2, on3, on4, on5, on6};
    for (size_t i = 0; i < states.size(); ++i)
        states[i] = on[i] ? 1.0f : 0.0f;
    if (auto r = supporterRenderer())
        r->switchOnState = states;
    else
        switchOnStateToSetOnAppear = states;
}

void SupporterShaderViewController::switchOn(int index) {
    auto r = supporterRenderer();
    if (!r || !isSwitch(index) || r->switchOnState[size_t(index)] == 1.0f)
        return;
    r->switchOnState[size_t(index)] = 1.0f;
    r->recordSwitchEvent(index);
}

void SupporterShaderViewController::switchOff(int index) {
    auto r = supporterRenderer();
    if (r && isSwitch(index))
        r->switchOnState[size_t(index)] = 0;
}

void SupporterShaderViewController::switchDown(int index) {
    auto r = supporterRenderer();
    if (r && isSwitch(index))
        r->switchDownState[size_t(index)] = 1.0f;
}

void SupporterShaderViewController::switchUp(int index) {
    auto r = supporterRenderer();
    if (r && isSwitch(index))
        r->switchDownState[size_t(index)] = 0;
}
