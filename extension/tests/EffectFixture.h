#pragma once
// An editor and its audio unit made the way a host makes them (the view controller
// as the factory), in-process, on a test clock; helpers to render and inspect.

#include "AudioUnitViewController.h"
#include "EmberfallAudioUnit.h"
#include "Settings.h"

#include "BlockRenderer.h"

#include "AudioToolbox/AVAudioFormat.h"
#include "Foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

inline const AudioComponentDescription emberfallDescription{
    kAudioUnitType_Effect, fourCharCode("embf"), fourCharCode("Embf"), 0, 0};

class EffectFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    Settings& settings() { return *controller->settings(); }
    AUParameter& parameter(const std::string& identifier) {
        return *unit->parameterTree()->parameter(identifier);
    }
    // The kernel's last raw value of a parameter.
    float kernelValue(const std::string& identifier) {
        return unit->dspKernel().getParameter(parameter(identifier).address());
    }
    // Runs the main queue (mirror updates, queued callbacks) until idle.
    void drainMainQueue() { RunLoop::main().runUntilIdle(); }
    // Sets formats and allocates render resources.
    void allocate(double sampleRate, AUAudioChannelCount channels, AUAudioFrameCount maxFrames);

    std::unique_ptr<RunLoopTestScope> scope;
    std::shared_ptr<AudioUnitViewController> controller;
    std::shared_ptr<EmberfallAudioUnit> unit;
};
