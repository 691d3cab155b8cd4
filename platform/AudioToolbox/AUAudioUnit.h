#pragma once
// The audio-unit base class a plug-in subclasses, and the bus arrays it exposes.
//
// A unit is created with AUAudioUnit::instantiate<T>(description, options): the
// object is constructed, then its overridable initialise step runs, which may fail
// with an error (the platform's throwing initialiser). The host then sets formats
// and maximumFramesToRender, allocates render resources, takes renderBlock() once
// and calls it on its render thread; it schedules parameter events for the next
// cycles with scheduleParameterBlock() on that same thread.
//
// Threads: creation, properties, resource allocation and state on the main thread
// (or the host's set-up thread); renderBlock()'s block and the schedule block on the
// render thread, where they are real-time safe (no allocation, no lock).

#include "AudioToolbox/AUAudioUnitBus.h"
#include "AudioToolbox/AUParameters.h"
#include "AudioToolbox/AudioComponent.h"
#include "AudioToolbox/AudioTypes.h"
#include "AudioToolbox/RenderBlocks.h"
#include "Foundation/PropertyList.h"
#include "Runtime/Runtime.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class AUAudioUnit;

enum class AUAudioUnitBusType : NSInteger { input = 1, output = 2 };

// The input or output busses of a unit, in bus-number order. Main thread.
class AUAudioUnitBusArray : public NSObject {
  public:
    static std::shared_ptr<AUAudioUnitBusArray>
    create(const std::shared_ptr<AUAudioUnit>& owner, AUAudioUnitBusType busType,
           std::vector<std::shared_ptr<AUAudioUnitBus>> busses);

    std::size_t count() const { return busses.size(); }
    // The bus with this number; null past the end.
    std::shared_ptr<AUAudioUnitBus> operator[](std::size_t index) const {
        return index < busses.size() ? busses[index] : nullptr;
    }
    AUAudioUnitBusType busType() const { return type; }
    std::shared_ptr<AUAudioUnit> ownerAudioUnit() const { return owner.lock(); }

  protected:
    AUAudioUnitBusArray(std::weak_ptr<AUAudioUnit> owner, AUAudioUnitBusType busType,
                        std::vector<std::shared_ptr<AUAudioUnitBus>> busses)
        : owner(std::move(owner)), type(busType), busses(std::move(busses)) {}

  private:
    std::weak_ptr<AUAudioUnit> owner;
    AUAudioUnitBusType type;
    std::vector<std::shared_ptr<AUAudioUnitBus>> busses;
};

// The host-facing render call: like the internal block, with the events taken
// from those scheduled for this cycle. Render thread; real-time safe.
using AURenderBlock = std::function<AUAudioUnitStatus(
    AudioUnitRenderActionFlags* actionFlags, const AudioTimeStamp* timestamp,
    AUAudioFrameCount frameCount, NSInteger outputBusNumber, AudioBufferList* outputData,
    const AURenderPullInputBlock& pullInputBlock)>;

// Schedules a parameter value for the sample time given (AUEventSampleTimeImmediate:
// the start of the next cycle). Ramps are passed on as ramp events. Render thread.
using AUScheduleParameterBlock = std::function<void(
    AUEventSampleTime eventSampleTime, AUAudioFrameCount rampDurationSampleFrames,
    AUParameterAddress parameterAddress, AUValue value)>;
inline constexpr AUEventSampleTime AUEventSampleTimeImmediate =
    static_cast<AUEventSampleTime>(0xffffffff00000000ull);

class AUAudioUnit : public NSObject {
  public:
    // Constructs a T and runs its initialise step; on failure the unit is dropped
    // and the error returned. Main thread.
    template <class T>
    static std::shared_ptr<T> instantiate(const AudioComponentDescription& description,
                                          AudioComponentInstantiationOptions options,
                                          AUError* error = nullptr);

    const AudioComponentDescription& componentDescription() const { return description; }

    // Busses: the base has none.
    virtual std::shared_ptr<AUAudioUnitBusArray> inputBusses() const;
    virtual std::shared_ptr<AUAudioUnitBusArray> outputBusses() const;
    // Supported channel configurations as (input, output) pairs; none means any.
    virtual std::optional<std::vector<int>> channelCapabilities() const { return std::nullopt; }

    virtual AUAudioFrameCount maximumFramesToRender() const { return maxFrames; }
    // Refused (ignored) while render resources are allocated, as on the platform.
    virtual void setMaximumFramesToRender(AUAudioFrameCount frames);
    virtual bool shouldBypassEffect() const { return bypass; }
    virtual void setShouldBypassEffect(bool value) { bypass = value; }

    // The subclass's render block; the base has none.
    virtual AUInternalRenderBlock internalRenderBlock() { return {}; }
    // Allocates what rendering needs: the base checks the bus formats and sizes
    // the scheduled-event pool. Errors pass to the host.
    virtual std::optional<AUError> allocateRenderResources();
    virtual void deallocateRenderResources();
    bool renderResourcesAllocated() const { return allocated.load(std::memory_order_acquire); }

    // The host's tempo source, set before allocation. Main thread.
    const AUHostMusicalContextBlock& musicalContextBlock() const { return musicalContext; }
    void setMusicalContextBlock(AUHostMusicalContextBlock block) {
        musicalContext = std::move(block);
    }

    std::shared_ptr<AUParameterTree> parameterTree() const { return tree; }
    void setParameterTree(std::shared_ptr<AUParameterTree> value) { tree = std::move(value); }

    // The saved state: the component identity ("type", "subtype", "manufacturer",
    // "version") and "parameters", each tree parameter's current value keyed by
    // identifier, clamped to its range as restoring it would clamp it (a value that
    // is not a finite number is left out); none while the unit has no parameter tree.
    // Setting it writes the saved values into the tree in tree order: values that are
    // not finite numbers are skipped, others clamped to the parameter's range, and
    // nothing is written when the identity names another component. Main thread.
    virtual std::optional<PropertyListDictionary> fullState() const;
    virtual void setFullState(const std::optional<PropertyListDictionary>& state);
    // True when a saved state carries a component identity that differs from this
    // unit's: setFullState then writes nothing. Any thread.
    bool namesAnotherComponent(const PropertyListDictionary& state) const;

    // For the host: the render call and the schedule block. Taken once, before
    // rendering (each call of renderBlock() copies the internal block).
    AURenderBlock renderBlock();
    AUScheduleParameterBlock scheduleParameterBlock();

  protected:
    explicit AUAudioUnit(const AudioComponentDescription& description) : description(description) {}
    // The initialise step; a subclass calls the base first and passes its error on.
    // The base refuses a description without a type or manufacturer.
    virtual std::optional<AUError> initialize(AudioComponentInstantiationOptions options);

  private:
    struct Scheduled {
        AUEventSampleTime time;
        AUAudioFrameCount ramp;
        AUParameterAddress address;
        AUValue value;
    };
    AUAudioUnitStatus render(const AUInternalRenderBlock& internal,
                             AudioUnitRenderActionFlags* actionFlags,
                             const AudioTimeStamp* timestamp, AUAudioFrameCount frameCount,
                             NSInteger outputBusNumber, AudioBufferList* outputData,
                             const AURenderPullInputBlock& pullInputBlock);
    void schedule(const Scheduled& event);

    AudioComponentDescription description;
    AUAudioFrameCount maxFrames = 512;
    bool bypass = false;
    std::atomic<bool> allocated{false};
    AUHostMusicalContextBlock musicalContext;
    std::shared_ptr<AUParameterTree> tree;

    // Scheduled events (render thread only): a fixed pool sized at allocation;
    // events past its capacity are dropped.
    std::vector<Scheduled> pending;
    std::size_t pendingCount = 0;
    std::vector<AURenderEvent> cycleEvents;
};

template <class T>
std::shared_ptr<T> AUAudioUnit::instantiate(const AudioComponentDescription& description,
                                            AudioComponentInstantiationOptions options,
                                            AUError* error) {
    std::shared_ptr<T> unit = make<T>(description);
    if (std::optional<AUError> failure = static_cast<AUAudioUnit&>(*unit).initialize(options)) {
        if (error)
            *error = std::move(*failure);
        return nullptr;
    }
    return unit;
}
