#pragma once
// The editor's view model: the fourteen parameters and their route to the kernel
// (through the framework's ParameterSettings), the meters polled from the kernel
// sixty times a second, the delay-time conversion when the delay type switches,
// the factory-preset state and the update notice. Views only bind to it.
//
// Threads: creation, configureAudioUnit, the meter tick, the preset operations and
// every observed field: the main thread (the operations check it at run time).
// updateDependentValues runs on the thread of the tree's value observer (the host's
// parameter thread for host changes).
// checkForUpdate runs on a task of its own and hands its result to the main thread.
// Always owned by a shared_ptr (create()).

#include "DelayEnums.h"
#include "FactoryPresets.h"

#include "Foundation/Data.h"
#include "Foundation/Timer.h"
#include "Foundation/URL.h"
#include "Observation/Observation.h"
#include "Parameters/ParameterSettings.h"
#include "Update/UpdateAvailableDetails.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class EmberfallAudioUnit;
class NSResponder;
class NSWindow;

class Settings : public ParameterSettings {
  public:
    // The feed download: the body of the response, or nullopt on any failure.
    using FeedDownload = std::function<std::optional<Data>(const URL&)>;

    static std::shared_ptr<Settings> create();
    ~Settings() override;

    // ---- Audio unit ----
    void configureAudioUnit(const std::shared_ptr<OrreryAudioUnit>& audioUnit) override;
    void updateDependentValues(AUParameterAddress address, AUValue value) override;
    // A value that is not a finite number (a host's NaN or infinity) changes
    // nothing: neither the mirror nor the kernel. Others take the base's route.
    void setValue(AUValue value, AUParameterAddress address, ParameterEditor source) override;
    // The running version: the short version of the bundle that holds this code
    // (the extension), "Unknown" without one.
    std::string pluginVersion() const override;
    // A value a render event applied, as the unit echoes it: the parameter's mirror
    // and its dependents follow; the kernel, which already has it, is not written.
    // Thread: main.
    void applyRenderEcho(AUParameterAddress address, AUValue value);

    // ---- Meters ----
    // The poll-timer tick: hands render-event echoes to the editor, then reads the
    // kernel's meters when it published new ones; after 0.25 s without, zero.
    void updateMeters();
    // -60...0 dB as 0...100, clamped.
    static double meterLevel(double decibels);
    const std::shared_ptr<Timer>& pollTimer() const { return poll; }

    // ---- Presets ----
    std::optional<FactoryPreset> currentPreset() const;
    bool isPresetModified() const;
    void selectPresetById(const std::string& id);
    void applyFactoryPreset(const FactoryPreset& preset);
    void selectNextPreset();
    void selectPreviousPreset();

    // ---- Update check ----
    // Downloads the feed (a background task), finds its latest version and, when it
    // weighs more than the running one, sets updateDetails on the main thread.
    void checkForUpdate();
    // The feed's address: https, the build's update host, "/emberfall/emberfall.xml";
    // none when the build names no host.
    static std::optional<URL> updateFeedURL();
    // Replaces the feed's address and its download (tests); the defaults are
    // updateFeedURL() and the shared URL session's capped HTTPS download.
    void setUpdateFeed(std::optional<URL> url, FeedDownload download) {
        feedURL = std::move(url);
        feedDownload = std::move(download);
    }

    // ---- Observed state (main thread) ----
    Observed<double> inLevelL{0}, inLevelR{0}, outLevelL{0}, outLevelR{0};
    Observed<double> inHoldL{0}, inHoldR{0}, outHoldL{0}, outHoldR{0};
    Observed<bool> isMeterStereo{true};
    Observed<std::optional<UpdateAvailableDetails>> updateDetails{std::nullopt};
    Observed<std::optional<int>> currentPresetIndex{std::nullopt};
    Observed<bool> isApplyingPreset{false};

    // The editor's window and that window's first responder when the view appeared,
    // set by the view controller; the dials hand the focus back to the responder
    // after a value was typed. Held weakly. Main thread.
    std::weak_ptr<NSWindow> pluginWindow;
    std::weak_ptr<NSResponder> pluginMainResponder;

    const std::vector<FactoryPreset> factoryPresets;
    // The fourteen parameters (also in the base list, in configuration order).
    std::shared_ptr<AudioParameter> mix, delayMs, delayNote, delayType, feedback, modulationDepth,
        modulationRate, lfoType, width, spread, lowCut, highCut, model, dirt;

    std::shared_ptr<EmberfallAudioUnit> emberfallAudioUnit() const { return unit.lock(); }
    // The parameter with this address; null when none has it. Thread: any.
    std::shared_ptr<AudioParameter> parameterAt(AUParameterAddress address) const;

  protected:
    Settings();

  private:
    std::optional<int> indexOfPreset(const std::string& id) const;
    // The kernel's raw value of a parameter, or the mirror while there is no unit.
    float currentValue(const std::shared_ptr<AudioParameter>& parameter) const;

    std::weak_ptr<EmberfallAudioUnit> unit;
    std::shared_ptr<Timer> poll;
    TimeInterval lastMeterDate;
    std::atomic<DelayTimeType> lastDelayType;
    std::optional<URL> feedURL = updateFeedURL();
    FeedDownload feedDownload;
};
