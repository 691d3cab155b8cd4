#include "Settings.h"

#include "EmberfallAudioUnit.h"
#include "ParameterDefinitions.h"

#include "Dispatch/Dispatch.h"
#include "Foundation/Bundle.h"
#include "Foundation/RunLoop.h"
#include "Foundation/URLSession.h"
#include "Update/SimpleSparklerChecker.h"
#include "Update/VersionWeight.h"

#include <algorithm>
#include <cmath>

#ifndef EMBERFALL_UPDATE_HOST
#define EMBERFALL_UPDATE_HOST ""
#endif

namespace {

constexpr TimeInterval meterInterval = 1.0 / 60.0;
constexpr TimeInterval meterTimeout = 0.25;
constexpr float defaultTempo = 120.0f;

std::shared_ptr<AudioParameter> createParameter(std::string_view identifier) {
    const ParameterDefinition& d = *parameterDefinition(identifier);
    std::optional<std::vector<std::string>> strings;
    if (!d.valueStrings.empty())
        strings = d.valueStrings;
    std::optional<std::vector<AUParameterAddress>> dependents;
    if (!d.dependents.empty())
        dependents = std::vector<AUParameterAddress>(d.dependents.begin(), d.dependents.end());
    return AudioParameter::create(
        d.address, d.identifier, d.name, static_cast<AudioUnitParameterUnit>(d.unit),
        ValueRange{d.minimum, d.maximum}, d.defaultValue,
        d.logarithmic ? ValueIncrement::logarithmic(d.midpoint) : ValueIncrement::linear(),
        std::move(strings), std::move(dependents));
}

// The division nearest to a time: the first of the smallest distance wins.
DelayNoteDivision nearestDivision(float ms, float tempo) {
    DelayNoteDivision best = DelayNoteDivision::thirtySecond;
    float bestDistance = INFINITY;
    for (DelayNoteDivision division : allCases<DelayNoteDivision>()) {
        const float distance = std::fabs(milliseconds(division, tempo) - ms);
        if (distance < bestDistance) {
            best = division;
            bestDistance = distance;
        }
    }
    return best;
}

// The feed is a few kilobytes: a download that is larger or slower than this is not
// an update feed. HTTPS only (the session's default).
Settings::FeedDownload defaultFeedDownload() {
    URLSessionConfiguration configuration;
    configuration.timeoutInterval = 20;
    configuration.maximumBodySize = std::size_t{1} << 20;
    configuration.allowsInsecureHTTP = false;
    auto session = URLSession::withConfiguration(configuration);
    return [session](const URL& url) -> std::optional<Data> {
        URLSessionResult result = session->data(url);
        if (!result.ok())
            return std::nullopt;
        return std::move(result.data);
    };
}

} // namespace

std::shared_ptr<Settings> Settings::create() {
    Runtime::assertMainThread("Settings::create");
    return std::shared_ptr<Settings>(new Settings());
}

Settings::Settings()
    : factoryPresets(allFactoryPresets()), lastMeterDate(RunLoop::main().now()),
      lastDelayType(defaultFactoryPreset().delayType) {
    currentPresetIndex.set(indexOfPreset(defaultFactoryPreset().id()));
    // Created in definition order...
    mix = createParameter("mix");
    delayMs = createParameter("delayMs");
    delayNote = createParameter("delayNote");
    delayType = createParameter("delayType");
    feedback = createParameter("feedback");
    modulationDepth = createParameter("modDepth");
    modulationRate = createParameter("modRate");
    lfoType = createParameter("lfoType");
    width = createParameter("width");
    spread = createParameter("spread");
    lowCut = createParameter("lowCut");
    highCut = createParameter("highCut");
    model = createParameter("model");
    dirt = createParameter("dirt");
    // ...listed in configuration order, the delay type first.
    std::vector<std::shared_ptr<AudioParameter>> list;
    for (std::string_view identifier : parameterConfigurationOrder())
        list.push_back(parameterAt(parameterDefinition(identifier)->address));
    setupParameters(std::move(list));
}

Settings::~Settings() {
    if (poll)
        poll->invalidate();
}

std::shared_ptr<AudioParameter> Settings::parameterAt(AUParameterAddress address) const {
    const std::shared_ptr<AudioParameter>* all[] = {
        &mix,     &delayMs, &delayNote, &delayType, &feedback, &modulationDepth, &modulationRate,
        &lfoType, &width,   &spread,    &lowCut,    &highCut,  &model,           &dirt};
    for (const auto* parameter : all)
        if (*parameter && (*parameter)->address == address)
            return *parameter;
    return nullptr;
}

std::string Settings::pluginVersion() const {
    static const char anchor = 0;
    return shortVersion(Bundle::containing(&anchor).get());
}

void Settings::configureAudioUnit(const std::shared_ptr<OrreryAudioUnit>& audioUnit) {
    Runtime::assertMainThread("Settings::configureAudioUnit");
    ParameterSettings::configureAudioUnit(audioUnit);
    auto emberfall = std::dynamic_pointer_cast<EmberfallAudioUnit>(audioUnit);
    if (!emberfall)
        return;
    unit = emberfall;
    std::weak_ptr<Settings> weakSelf = std::static_pointer_cast<Settings>(shared_from_this());

    emberfall->setOnPresetIdUpdate([weakSelf](const std::string& id) {
        if (auto self = weakSelf.lock())
            self->selectPresetById(id);
    });
    selectPresetById(emberfall->currentPresetId());

    if (poll)
        poll->invalidate();
    poll = Timer::withInterval(meterInterval, true, [weakSelf](Timer&) {
        if (auto self = weakSelf.lock())
            self->updateMeters();
    });
    RunLoop::main().add(poll, RunLoop::Mode::common);

    if (auto tree = emberfall->parameterTree()) {
        std::weak_ptr<EmberfallAudioUnit> weakUnit = emberfall;
        tree->setImplementorValueProvider([weakUnit](AUParameter& parameter) -> AUValue {
            auto owner = weakUnit.lock();
            if (!owner)
                return parameter.minValue();
            if (parameter.address() >= ParameterAddress::count)
                return 0;
            return owner->dspKernel().getParameter(parameter.address());
        });
    }
    checkForUpdate();
}

float Settings::currentValue(const std::shared_ptr<AudioParameter>& parameter) const {
    if (auto owner = unit.lock())
        return owner->dspKernel().getParameter(parameter->address);
    return parameter->value.get();
}

void Settings::updateDependentValues(AUParameterAddress address, AUValue value) {
    if (address != ParameterAddress::delayType)
        return;
    const std::optional<DelayTimeType> type = fromRawValue<DelayTimeType>(value);
    if (!type || lastDelayType.exchange(*type) == *type)
        return;
    auto owner = unit.lock();
    // A restored state carries its own delay times: keep them.
    if (owner && owner->isRestoringState())
        return;
    const float hostTempo = owner ? float(owner->dspKernel().hostTempo) : 0.0f;
    const float tempo = hostTempo > 0 ? hostTempo : defaultTempo;
    if (*type == DelayTimeType::note) {
        const DelayNoteDivision division = nearestDivision(currentValue(delayMs), tempo);
        delayNote->setValue(rawValue(division), ParameterEditor::ui, ParameterEditorState::change);
    } else {
        const DelayNoteDivision division = fromRawValue<DelayNoteDivision>(currentValue(delayNote))
                                               .value_or(DelayNoteDivision::quarter);
        delayMs->setValue(milliseconds(division, tempo), ParameterEditor::ui,
                          ParameterEditorState::change);
    }
}

void Settings::setValue(AUValue value, AUParameterAddress address, ParameterEditor source) {
    if (std::isfinite(value))
        ParameterSettings::setValue(value, address, source);
}

void Settings::applyRenderEcho(AUParameterAddress address, AUValue value) {
    Runtime::assertMainThread("Settings::applyRenderEcho");
    auto parameter = parameterAt(address);
    if (!parameter)
        return;
    parameter->setValue(value, ParameterEditor::parameterObserver, ParameterEditorState::change);
    const auto& dependents = parameter->dependentParameterAddresses;
    if (dependents && !dependents->empty())
        updateDependentValues(address, value);
}

double Settings::meterLevel(double decibels) {
    if (!(decibels > -60.0))
        return 0.0;
    return std::clamp((std::min(decibels, 0.0) + 60.0) / 60.0 * 100.0, 0.0, 100.0);
}

void Settings::updateMeters() {
    Runtime::assertMainThread("Settings::updateMeters");
    auto owner = unit.lock();
    if (!owner)
        return;
    owner->drainParameterEchoes();
    DSPKernel& kernel = owner->dspKernel();
    const std::uint32_t updated = kernel.metersUpdated.exchange(0, std::memory_order_acq_rel);
    const TimeInterval now = RunLoop::main().now();
    Observed<double>* const meters[] = {&inLevelL, &inLevelR, &outLevelL, &outLevelR,
                                        &inHoldL,  &inHoldR,  &outHoldL,  &outHoldR};
    if (updated != 0) {
        lastMeterDate = now;
        const float decibels[] = {kernel.inLevelDb[0],  kernel.inLevelDb[1], kernel.outLevelDb[0],
                                  kernel.outLevelDb[1], kernel.inHoldDb[0],  kernel.inHoldDb[1],
                                  kernel.outHoldDb[0],  kernel.outHoldDb[1]};
        for (std::size_t i = 0; i < std::size(meters); ++i)
            meters[i]->set(meterLevel(decibels[i]));
        isMeterStereo.set(kernel.meterIsStereo != 0);
    } else if (now - lastMeterDate > meterTimeout) {
        for (auto* meter : meters)
            meter->set(0.0);
    }
}

std::optional<int> Settings::indexOfPreset(const std::string& id) const {
    for (std::size_t i = 0; i < factoryPresets.size(); ++i)
        if (factoryPresets[i].id() == id)
            return static_cast<int>(i);
    return std::nullopt;
}

std::optional<FactoryPreset> Settings::currentPreset() const {
    const std::optional<int> index = currentPresetIndex.get();
    if (!index || *index < 0 || *index >= static_cast<int>(factoryPresets.size()))
        return std::nullopt;
    return factoryPresets[static_cast<std::size_t>(*index)];
}

bool Settings::isPresetModified() const {
    if (isApplyingPreset.get())
        return false;
    const std::optional<FactoryPreset> preset = currentPreset();
    if (!preset)
        return false;
    const bool ms = preset->delayType == DelayTimeType::ms;
    const bool same =
        mix->value.get() == preset->mix && feedback->value.get() == preset->feedback &&
        delayType->value.get() == (ms ? 1.0f : 0.0f) &&
        (ms ? delayMs->value.get() == preset->delayMs
            : delayNote->value.get() == rawValue(preset->delayNote)) &&
        modulationDepth->value.get() == preset->modulationDepth &&
        modulationRate->value.get() == preset->modulationRate &&
        lfoType->value.get() == rawValue(preset->lfoType) && width->value.get() == preset->width &&
        spread->value.get() == preset->spread && lowCut->value.get() == preset->lowCut &&
        highCut->value.get() == preset->highCut && model->value.get() == rawValue(preset->model) &&
        dirt->value.get() == preset->dirt;
    return !same;
}

void Settings::selectPresetById(const std::string& id) {
    Runtime::assertMainThread("Settings::selectPresetById");
    currentPresetIndex.set(indexOfPreset(id.empty() ? defaultFactoryPreset().id() : id));
}

void Settings::applyFactoryPreset(const FactoryPreset& preset) {
    Runtime::assertMainThread("Settings::applyFactoryPreset");
    currentPresetIndex.set(indexOfPreset(preset.id()));
    if (auto owner = unit.lock())
        owner->setCurrentPresetId(preset.id());
    isApplyingPreset.set(true);
    for (const PresetParameterWrite& write : presetParameterWrites(preset))
        parameterAt(write.address)
            ->setValue(write.value, ParameterEditor::ui, ParameterEditorState::change);
    // Queued behind the parameters' mirror updates.
    std::weak_ptr<Settings> weakSelf = std::static_pointer_cast<Settings>(shared_from_this());
    DispatchQueue::main().async([weakSelf] {
        if (auto self = weakSelf.lock())
            self->isApplyingPreset.set(false);
    });
}

void Settings::selectNextPreset() {
    Runtime::assertMainThread("Settings::selectNextPreset");
    const int n = static_cast<int>(factoryPresets.size());
    if (n == 0)
        return;
    const int index = (currentPresetIndex.get().value_or(-1) + 1) % n;
    applyFactoryPreset(factoryPresets[static_cast<std::size_t>(index)]);
}

void Settings::selectPreviousPreset() {
    Runtime::assertMainThread("Settings::selectPreviousPreset");
    const int n = static_cast<int>(factoryPresets.size());
    if (n == 0)
        return;
    const int index = (currentPresetIndex.get().value_or(0) - 1 + n) % n;
    applyFactoryPreset(factoryPresets[static_cast<std::size_t>(index)]);
}

std::optional<URL> Settings::updateFeedURL() {
    const std::string host = EMBERFALL_UPDATE_HOST;
    if (host.empty())
        return std::nullopt;
    return URL::string("https://" + host + "/emberfall/emberfall.xml");
}

void Settings::checkForUpdate() {
    const std::optional<URL> feed = feedURL;
    if (!feed)
        return;
    const std::string running = pluginVersion();
    // A build that does not know its own version cannot be behind.
    if (running == "Unknown")
        return;
    FeedDownload download = feedDownload ? feedDownload : defaultFeedDownload();
    std::weak_ptr<Settings> weakSelf = std::static_pointer_cast<Settings>(shared_from_this());
    Task::detached([weakSelf, download, url = *feed, running] {
        std::optional<Data> data = download(url);
        if (!data)
            return;
        auto checker = make<SimpleSparklerChecker>();
        checker->parse(*data);
        std::optional<std::string> latest = checker->latestVersion();
        if (!latest || convertVersionToWeight(running) >= convertVersionToWeight(*latest))
            return;
        DispatchQueue::main().async([weakSelf, details = UpdateAvailableDetails{*latest}] {
            if (auto self = weakSelf.lock())
                self->updateDetails.set(details);
        });
    });
}
