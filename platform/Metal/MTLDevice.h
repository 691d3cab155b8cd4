#pragma once
// Stands in for MTLDevice and MTLCreateSystemDefaultDevice: a software GPU. It runs the
// system's shader functions (C++ functions, see MTLShaderFunctions.h) on the CPU: a
// command buffer's render passes execute when it is committed, each draw rasterised on
// a pool of worker threads that split the attachment's rows, so the image is the same
// whatever the number of threads.
//
// The system default device exists unless a test takes it away
// (setSystemDefaultDeviceAvailable). For tests a device can also refuse to make
// command queues, command buffers or buffers (Faults), and record every committed
// command buffer (what was set, drawn, presented; see MTLCommandBuffer.h) instead of
// leaving it to a frame capture.
// Left out: heaps, fences, events, indirect commands, compute, blits, argument buffers,
// counters, several devices.
// Thread: any for making objects; the pool belongs to the device and runs the commit
// of one command buffer at a time.

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Metal/MTLCommandBuffer.h"
#include "Metal/MTLLibrary.h"
#include "Metal/MTLResource.h"
#include "Metal/MTLTypes.h"
#include "Runtime/Runtime.h"

class Bundle;
class MTLWorkerPool;

class MTLDevice : public NSObject {
  public:
    // The device of this machine; null while a test has made it unavailable.
    static std::shared_ptr<MTLDevice> createSystemDefaultDevice();
    // Test hook: whether createSystemDefaultDevice finds a device (true at start).
    static void setSystemDefaultDeviceAvailable(bool available);

    ~MTLDevice() override;
    std::string name() const { return "Emberfall Software GPU"; }

    std::shared_ptr<MTLCommandQueue> makeCommandQueue();
    // The library of a bundle's manifest; throws MTLError (library) when the bundle
    // has no readable manifest.
    std::shared_ptr<MTLLibrary> makeDefaultLibrary(const Bundle& bundle);
    // Throws MTLError (pipeline) when a function is missing or of the wrong kind, or
    // the colour attachment has no renderable format.
    std::shared_ptr<MTLRenderPipelineState>
    makeRenderPipelineState(const MTLRenderPipelineDescriptor& descriptor);
    // A buffer holding a copy of `length` bytes (zeros when `bytes` is null); null for
    // a length of 0 or when buffers fail.
    std::shared_ptr<MTLBuffer> makeBuffer(const void* bytes, size_t length,
                                          MTLResourceOptions options = 0);
    // Null for a zero size or an invalid format.
    std::shared_ptr<MTLTexture> makeTexture(const MTLTextureDescriptor& descriptor);

    // Threads that execute a render pass, the committing thread among them (at least 1).
    unsigned workerThreadCount() const;
    void setWorkerThreadCount(unsigned threads);

    // What the device refuses to make, for tests of failure paths.
    struct Faults {
        bool commandQueues = false;
        bool commandBuffers = false;
        bool buffers = false;
    };
    Faults faults;

    // Recording of committed command buffers, for tests (off by default, as it keeps
    // copies of everything set).
    void setRecordsCommandBuffers(bool records);
    std::vector<MTLRecordedCommandBuffer> recordedCommandBuffers() const;
    void clearRecordedCommandBuffers();

  protected:
    MTLDevice();

  private:
    friend class MTLCommandBuffer;
    void record(MTLRecordedCommandBuffer buffer);
    std::shared_ptr<MTLWorkerPool> pool();

    mutable std::mutex lock;
    std::shared_ptr<MTLWorkerPool> workers;
    unsigned threads;
    bool recording = false;
    std::vector<MTLRecordedCommandBuffer> recorded;
};

inline std::shared_ptr<MTLDevice> MTLCreateSystemDefaultDevice() {
    return MTLDevice::createSystemDefaultDevice();
}
