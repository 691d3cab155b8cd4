#include "Metal/MTLDevice.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "Foundation/Bundle.h"
#include "MTLWorkerPool.h"

namespace {
std::atomic<bool> defaultAvailable{true};

unsigned defaultThreadCount() {
    return std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
}

bool isRenderable(MTLPixelFormat format) {
    return MTLPixelFormatBytesPerPixel(format) != 0;
}
} // namespace

std::shared_ptr<MTLDevice> MTLDevice::createSystemDefaultDevice() {
    // One device per process, as the platform hands out: made on first use.
    static const std::shared_ptr<MTLDevice> device = make<MTLDevice>();
    return defaultAvailable.load() ? device : nullptr;
}

void MTLDevice::setSystemDefaultDeviceAvailable(bool available) {
    defaultAvailable.store(available);
}

MTLDevice::MTLDevice() : threads(defaultThreadCount()) {}
MTLDevice::~MTLDevice() = default;

std::shared_ptr<MTLCommandQueue> MTLDevice::makeCommandQueue() {
    if (faults.commandQueues)
        return nullptr;
    return make<MTLCommandQueue>(sharedAs<MTLDevice>());
}

std::shared_ptr<MTLLibrary> MTLDevice::makeDefaultLibrary(const Bundle& bundle) {
    return MTLLibrary::fromBundle(bundle);
}

std::shared_ptr<MTLRenderPipelineState>
MTLDevice::makeRenderPipelineState(const MTLRenderPipelineDescriptor& d) {
    using Domain = MTLError::Domain;
    if (!d.vertexFunction)
        throw MTLError(Domain::pipeline, 1, "Render pipeline descriptor has no vertex function");
    if (!d.fragmentFunction)
        throw MTLError(Domain::pipeline, 1, "Render pipeline descriptor has no fragment function");
    if (d.vertexFunction->functionType() != MTLFunctionType::vertex)
        throw MTLError(Domain::pipeline, 1, d.vertexFunction->name() + " is not a vertex function");
    if (d.fragmentFunction->functionType() != MTLFunctionType::fragment)
        throw MTLError(Domain::pipeline, 1,
                       d.fragmentFunction->name() + " is not a fragment function");
    if (!isRenderable(d.colorAttachments[0].pixelFormat))
        throw MTLError(Domain::pipeline, 1, "Colour attachment 0 has no renderable pixel format");
    return make<MTLRenderPipelineState>(d);
}

std::shared_ptr<MTLBuffer> MTLDevice::makeBuffer(const void* bytes, size_t length,
                                                 MTLResourceOptions options) {
    if (length == 0 || faults.buffers)
        return nullptr;
    return make<MTLBuffer>(bytes, length, options);
}

std::shared_ptr<MTLTexture> MTLDevice::makeTexture(const MTLTextureDescriptor& d) {
    if (d.width == 0 || d.height == 0 || !isRenderable(d.pixelFormat))
        return nullptr;
    return make<MTLTexture>(d);
}

unsigned MTLDevice::workerThreadCount() const {
    std::lock_guard guard(lock);
    return threads;
}

void MTLDevice::setWorkerThreadCount(unsigned count) {
    std::lock_guard guard(lock);
    threads = std::max(1u, count);
    if (workers && workers->threadCount() != threads)
        workers.reset();
}

std::shared_ptr<MTLWorkerPool> MTLDevice::pool() {
    std::lock_guard guard(lock);
    if (!workers)
        workers = std::make_shared<MTLWorkerPool>(threads);
    return workers;
}

void MTLDevice::setRecordsCommandBuffers(bool records) {
    std::lock_guard guard(lock);
    recording = records;
}

std::vector<MTLRecordedCommandBuffer> MTLDevice::recordedCommandBuffers() const {
    std::lock_guard guard(lock);
    return recorded;
}

void MTLDevice::clearRecordedCommandBuffers() {
    std::lock_guard guard(lock);
    recorded.clear();
}

void MTLDevice::record(MTLRecordedCommandBuffer buffer) {
    std::lock_guard guard(lock);
    if (recording)
        recorded.push_back(std::move(buffer));
}
