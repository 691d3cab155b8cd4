#pragma once
// Stands in for MTLCommandQueue, MTLCommandBuffer, MTLRenderPassDescriptor,
// MTLRenderCommandEncoder and MTLDrawable. An encoder records what is set (pipeline,
// viewport, vertex buffers, fragment bytes, buffers and textures by index) and the
// draws; bytes are copied when set, buffers and textures are held. Nothing runs until
// the command buffer is committed: then every pass executes at once on the device (the
// attachment cleared or kept as its load action says, each draw's primitives
// rasterised), the drawables asked for are presented, and the completed handlers run;
// so waitUntilCompleted returns at once.
//
// Rasterisation: triangles and triangle strips, with the top-left fill rule and pixel
// centres at +0.5 (window coordinates: origin at the attachment's top-left, y down);
// the viewport maps clip space (x, y in -1...1, y up) to the window; values are
// interpolated linearly in window space. A strip that forms an axis-aligned rectangle
// (the full-view quad) is filled without edge tests. Output is written in the
// attachment's format: rgba16Float rounded to nearest even, 8-bit formats rounded and
// clamped (sRGB ones encoded).
// Left out: points and lines (drawn as nothing), perspective-correct interpolation,
// depth, stencil, blending, culling, scissor rectangles, instancing, index buffers.
// Thread: one thread encodes a command buffer; commit runs on the calling thread and
// the device's workers.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Metal/MTLResource.h"
#include "Metal/MTLTypes.h"
#include "Runtime/Runtime.h"

class MTLDevice;
class MTLFunction;
class MTLRenderPipelineState;

// Something that can be shown once rendered (a view's drawable).
class MTLDrawable : public NSObject {
  public:
    virtual void present() = 0;
};

struct MTLRenderPassColorAttachmentDescriptor {
    std::shared_ptr<MTLTexture> texture;
    MTLLoadAction loadAction = MTLLoadAction::dontCare;
    MTLStoreAction storeAction = MTLStoreAction::store;
    MTLClearColor clearColor;
};
struct MTLRenderPassDescriptor {
    MTLRenderPassColorAttachmentDescriptor colorAttachments[1];
};

// One recorded call of an encoder.
struct MTLRecordedCommand {
    enum class Kind {
        setRenderPipelineState,
        setViewport,
        setVertexBuffer,
        setVertexBytes,
        setFragmentBytes,
        setFragmentBuffer,
        setFragmentTexture,
        drawPrimitives,
        endEncoding
    };
    Kind kind = Kind::endEncoding;
    int index = -1;             // argument index of the set* calls
    std::vector<uint8_t> bytes; // bytes set, or the buffer's bytes from the offset
    size_t offset = 0;          // buffer offset
    // Pipeline: its label and function names; texture: its label.
    std::string label, vertexFunction, fragmentFunction;
    MTLPixelFormat pixelFormat = MTLPixelFormat::invalid; // the pipeline's or texture's
    MTLViewport viewport;
    MTLPrimitiveType primitive = MTLPrimitiveType::triangle;
    size_t vertexStart = 0, vertexCount = 0;
};
struct MTLRecordedEncoder {
    std::string label;
    MTLSize attachmentSize; // of colour attachment 0
    std::vector<MTLRecordedCommand> commands;
};
struct MTLRecordedCommandBuffer {
    std::string label;
    std::vector<MTLRecordedEncoder> encoders;
    int presentedDrawables = 0;
};

class MTLRenderCommandEncoder : public NSObject {
  public:
    std::string label;
    void setRenderPipelineState(std::shared_ptr<MTLRenderPipelineState> state);
    void setViewport(const MTLViewport& viewport);
    void setVertexBuffer(std::shared_ptr<MTLBuffer> buffer, size_t offset, int index);
    void setVertexBytes(const void* bytes, size_t length, int index);
    void setFragmentBytes(const void* bytes, size_t length, int index);
    void setFragmentBuffer(std::shared_ptr<MTLBuffer> buffer, size_t offset, int index);
    void setFragmentTexture(std::shared_ptr<MTLTexture> texture, int index);
    void drawPrimitives(MTLPrimitiveType type, size_t vertexStart, size_t vertexCount);
    void endEncoding();

  protected:
    explicit MTLRenderCommandEncoder(const MTLRenderPassDescriptor& pass) : pass(pass) {}

  private:
    friend class MTLCommandBuffer;
    struct Binding {
        std::shared_ptr<std::vector<uint8_t>> bytes; // set as bytes
        std::shared_ptr<MTLBuffer> buffer;           // or a buffer from an offset
        size_t offset = 0;
        std::span<const uint8_t> view() const;
    };
    struct Draw {
        std::shared_ptr<MTLRenderPipelineState> pipeline;
        MTLViewport viewport;
        std::vector<std::pair<int, Binding>> vertexArguments, fragmentArguments;
        std::vector<std::pair<int, std::shared_ptr<MTLTexture>>> textures;
        MTLPrimitiveType type;
        size_t start, count;
    };
    void record(MTLRecordedCommand command);
    static void bind(std::vector<std::pair<int, Binding>>& list, int index, Binding binding);
    void setBuffer(MTLRecordedCommand::Kind kind, std::vector<std::pair<int, Binding>>& list,
                   std::shared_ptr<MTLBuffer> buffer, size_t offset, int index);
    void setBytes(MTLRecordedCommand::Kind kind, std::vector<std::pair<int, Binding>>& list,
                  const void* bytes, size_t length, int index);

    MTLRenderPassDescriptor pass;
    bool ended = false;
    std::shared_ptr<MTLRenderPipelineState> pipeline;
    std::optional<MTLViewport> viewport;
    std::vector<std::pair<int, Binding>> vertexArguments, fragmentArguments;
    std::vector<std::pair<int, std::shared_ptr<MTLTexture>>> textures;
    std::vector<Draw> draws;
    std::vector<MTLRecordedCommand> recorded;
};

class MTLCommandBuffer : public NSObject {
  public:
    enum class Status { notEnqueued, committed, completed };
    std::string label;
    Status status() const { return status_; }

    // An encoder for a pass into its colour attachment 0; null when it has no texture
    // or the buffer was already committed.
    std::shared_ptr<MTLRenderCommandEncoder>
    makeRenderCommandEncoder(const MTLRenderPassDescriptor& descriptor);
    // Presents the drawable once the buffer has executed.
    void present(std::shared_ptr<MTLDrawable> drawable);
    void addCompletedHandler(std::function<void(MTLCommandBuffer&)> handler);
    // Executes everything encoded (see above); a second commit does nothing.
    void commit();
    void waitUntilCompleted() const {}

  protected:
    explicit MTLCommandBuffer(std::shared_ptr<MTLDevice> device) : device(std::move(device)) {}

  private:
    void execute(MTLRenderCommandEncoder& encoder);
    std::shared_ptr<MTLDevice> device;
    Status status_ = Status::notEnqueued;
    std::vector<std::shared_ptr<MTLRenderCommandEncoder>> encoders;
    std::vector<std::shared_ptr<MTLDrawable>> drawables;
    std::vector<std::function<void(MTLCommandBuffer&)>> handlers;
};

class MTLCommandQueue : public NSObject {
  public:
    std::string label;
    // Null when the device refuses (a test's fault).
    std::shared_ptr<MTLCommandBuffer> makeCommandBuffer();
    const std::shared_ptr<MTLDevice>& device() const { return device_; }

  protected:
    explicit MTLCommandQueue(std::shared_ptr<MTLDevice> device) : device_(std::move(device)) {}

  private:
    std::shared_ptr<MTLDevice> device_;
};
