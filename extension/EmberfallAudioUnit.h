#pragma once
// The effect's audio unit: one input and one output bus (44.1 kHz stereo until the
// host sets other formats), the delay kernel held by value with the render-cycle
// objects around it, the render block, bypass, parameter routing to the kernel and
// the saved state with the selected factory preset's id.
//
// Threads:
// - creation, busses, resource allocation, bypass, setParameter: the main thread
//   (setParameter also from the host's parameter thread: plain relaxed stores);
// - fullState / setFullState and currentPresetId: any thread (the host's); the
//   preset id callback is always delivered on the main thread;
// - the render block and the render-thread hook: the render thread, real-time safe;
// - drainParameterEchoes and the callbacks: the main thread.

#include "AUProcessHelper.h"
#include "BufferedInputBus.h"
#include "DSPKernel.h"
#include "ParameterDefinitions.h"
#include "RenderCycle.h"

#include "AudioToolbox/AUAudioUnit.h"
#include "Parameters/OrreryAudioUnit.h"

#include <array>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>

class EmberfallAudioUnit : public AUAudioUnit, public OrreryAudioUnit {
  public:
    using ParamValueUpdate = std::function<void(AUParameterAddress, AUValue)>;
    using PresetIdUpdate = std::function<void(const std::string&)>;

    std::shared_ptr<AUAudioUnitBusArray> inputBusses() const override { return inputs; }
    std::shared_ptr<AUAudioUnitBusArray> outputBusses() const override { return outputs; }
    // One input/output pair of any matching channel count.
    std::optional<std::vector<int>> channelCapabilities() const override {
        return std::vector<int>{-1, -2};
    }
    AUAudioFrameCount maximumFramesToRender() const override;
    // Applies at once while not allocated, else at the next allocation. A count
    // above 16384 frames is answered but sizes nothing: allocation refuses it.
    void setMaximumFramesToRender(AUAudioFrameCount frames) override;
    bool shouldBypassEffect() const override { return kernel.bypass; }
    void setShouldBypassEffect(bool value) override { kernel.bypass = value; }

    // A new block each time; it refers to the unit's render cycle, so the unit must
    // outlive every call of it.
    AUInternalRenderBlock internalRenderBlock() override;
    std::optional<AUError> allocateRenderResources() override;
    void deallocateRenderResources() override;

    // Forwards to the kernel; values that are not finite are dropped. Thread: any.
    void setParameter(AUParameterAddress address, AUValue value) override;
    std::shared_ptr<AUParameterTree> parameterTree() const override {
        return AUAudioUnit::parameterTree();
    }
    void setParameterTree(std::shared_ptr<AUParameterTree> tree) override {
        AUAudioUnit::setParameterTree(std::move(tree));
    }

    // The base state plus "currentPresetId"; none when the base has none.
    std::optional<PropertyListDictionary> fullState() const override;
    // Restores the base state (the parameter values), then the preset id: the
    // entry's text when it is a string, else empty.
    void setFullState(const std::optional<PropertyListDictionary>& state) override;
    // True while setFullState writes the saved values (on the restoring thread):
    // dependent values are then left as saved. Thread: any.
    bool isRestoringState() const { return restoring.load(std::memory_order_acquire) > 0; }

    std::string currentPresetId() const;
    // Stores the id and tells onPresetIdUpdate on the main thread (at once when
    // called there, else through the main queue), also when the id is unchanged.
    void setCurrentPresetId(std::string id);
    // Main thread.
    void setOnPresetIdUpdate(PresetIdUpdate callback) { onPresetIdUpdate = std::move(callback); }
    void setOnParamValueUpdate(ParamValueUpdate callback) {
        onParamValueUpdate = std::move(callback);
    }

    // Main thread: hands the kernel's latest value of every parameter that render
    // events changed since the last drain to onParamValueUpdate, in address order.
    void drainParameterEchoes();

    // The kernel, for the editor's read-outs (getParameter, hostTempo, meters).
    const DSPKernel& dspKernel() const { return kernel; }
    DSPKernel& dspKernel() { return kernel; }

  protected:
    explicit EmberfallAudioUnit(const AudioComponentDescription& description);
    std::optional<AUError> initialize(AudioComponentInstantiationOptions options) override;

  private:
    // Installed as the kernel's parameter callback: marks the address of an applied
    // render event dirty. Render thread; real-time safe (one atomic or).
    static void renderThreadParameterHook(void* context, AUParameterAddress address, AUValue value);

    DSPKernel kernel;
    BufferedInputBus inputBus;
    AUProcessHelper processHelper;
    RenderCycle renderCycle;
    std::shared_ptr<AUAudioUnitBus> outputBus;
    std::shared_ptr<AUAudioUnitBusArray> inputs;
    std::shared_ptr<AUAudioUnitBusArray> outputs;

    ParamValueUpdate onParamValueUpdate;
    PresetIdUpdate onPresetIdUpdate;
    mutable std::mutex presetIdMutex;
    std::string presetId;
    std::atomic<int> restoring{0};

    // The render-to-main echo: a dirty bit per address; the latest value of each is
    // the kernel's own per-address table (getParameter).
    std::atomic<std::uint32_t> echoDirty{0};
};
