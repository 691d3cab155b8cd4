#pragma once
// A window holding a view for the shader views, a test run loop clock, a fixed seed, and
// the device's recording of committed command buffers.

#include <gtest/gtest.h>

#include <cstring>

#include "AppKit/NSWindow.h"
#include "Foundation/RunLoop.h"
#include "Metal/Metal.h"
#include "QuarroShadersResources.h"

class ShaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        device = MTLCreateSystemDefaultDevice();
        device->setRecordsCommandBuffers(true);
        device->clearRecordedCommandBuffers();
        window->setBackingScaleFactor(2);
        window->makeKeyWindow();
    }
    void TearDown() override {
        device->setRecordsCommandBuffers(false);
        device->clearRecordedCommandBuffers();
        device->faults = {};
        MTLDevice::setSystemDefaultDeviceAvailable(true);
        window->orderOut();
    }
    // A float (or other value) from the bytes of the last recorded command of `kind` at
    // argument `index`.
    template <class T> static T value(const MTLRecordedCommand& c) {
        T v{};
        std::memcpy(&v, c.bytes.data(), std::min(sizeof v, c.bytes.size()));
        return v;
    }
    std::vector<MTLRecordedCommand> lastFrame() const {
        auto buffers = device->recordedCommandBuffers();
        if (buffers.empty() || buffers.back().encoders.empty())
            return {};
        return buffers.back().encoders.back().commands;
    }
    const MTLRecordedCommand* find(const std::vector<MTLRecordedCommand>& commands,
                                   MTLRecordedCommand::Kind kind, int index = -1) const {
        for (const auto& c : commands)
            if (c.kind == kind && (index < 0 || c.index == index))
                return &c;
        return nullptr;
    }

    RunLoopTestScope loop;
    QuarroShaders::RandomSourceScope seeds{[] { return uint64_t(0xABCD00001234ULL); }};
    std::shared_ptr<MTLDevice> device;
    std::shared_ptr<NSWindow> window = make<NSWindow>(CGRect{0, 0, 200, 100});
};
