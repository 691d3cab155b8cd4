#include "Metal/MTLCommandBuffer.h"

#include <algorithm>
#include <cstring>

#include "MTLRasterizer.h"
#include "MTLWorkerPool.h"
#include "Metal/MTLDevice.h"
#include "Metal/MTLLibrary.h"

std::span<const uint8_t> MTLRenderCommandEncoder::Binding::view() const {
    if (bytes)
        return *bytes;
    if (buffer && offset <= buffer->length())
        return buffer->bytes().subspan(offset);
    return {};
}

void MTLRenderCommandEncoder::record(MTLRecordedCommand command) {
    if (!ended)
        recorded.push_back(std::move(command));
}

void MTLRenderCommandEncoder::bind(std::vector<std::pair<int, Binding>>& list, int index,
                                   Binding binding) {
    if (index < 0 || index > MTLMaxArgumentIndex)
        return;
    for (auto& [i, b] : list)
        if (i == index) {
            b = std::move(binding);
            return;
        }
    list.emplace_back(index, std::move(binding));
}

void MTLRenderCommandEncoder::setRenderPipelineState(
    std::shared_ptr<MTLRenderPipelineState> state) {
    if (ended || !state)
        return;
    MTLRecordedCommand c{.kind = MTLRecordedCommand::Kind::setRenderPipelineState};
    c.label = state->label();
    c.vertexFunction = state->vertexFunction().name();
    c.fragmentFunction = state->fragmentFunction().name();
    c.pixelFormat = state->colorPixelFormat();
    record(std::move(c));
    pipeline = std::move(state);
}

void MTLRenderCommandEncoder::setViewport(const MTLViewport& v) {
    if (ended)
        return;
    record({.kind = MTLRecordedCommand::Kind::setViewport, .viewport = v});
    viewport = v;
}

void MTLRenderCommandEncoder::setBuffer(MTLRecordedCommand::Kind kind,
                                        std::vector<std::pair<int, Binding>>& list,
                                        std::shared_ptr<MTLBuffer> buffer, size_t offset,
                                        int index) {
    if (ended)
        return;
    Binding b{nullptr, std::move(buffer), offset};
    auto view = b.view();
    record({.kind = kind, .index = index, .bytes = {view.begin(), view.end()}, .offset = offset});
    bind(list, index, std::move(b));
}

void MTLRenderCommandEncoder::setBytes(MTLRecordedCommand::Kind kind,
                                       std::vector<std::pair<int, Binding>>& list,
                                       const void* bytes, size_t length, int index) {
    if (ended)
        return;
    const auto* b = static_cast<const uint8_t*>(bytes);
    auto copy = std::make_shared<std::vector<uint8_t>>(b ? std::vector<uint8_t>(b, b + length)
                                                         : std::vector<uint8_t>(length));
    record({.kind = kind, .index = index, .bytes = *copy});
    bind(list, index, Binding{std::move(copy), nullptr, 0});
}

void MTLRenderCommandEncoder::setVertexBuffer(std::shared_ptr<MTLBuffer> buffer, size_t offset,
                                              int index) {
    setBuffer(MTLRecordedCommand::Kind::setVertexBuffer, vertexArguments, std::move(buffer), offset,
              index);
}

void MTLRenderCommandEncoder::setVertexBytes(const void* bytes, size_t length, int index) {
    setBytes(MTLRecordedCommand::Kind::setVertexBytes, vertexArguments, bytes, length, index);
}

void MTLRenderCommandEncoder::setFragmentBytes(const void* bytes, size_t length, int index) {
    setBytes(MTLRecordedCommand::Kind::setFragmentBytes, fragmentArguments, bytes, length, index);
}

void MTLRenderCommandEncoder::setFragmentBuffer(std::shared_ptr<MTLBuffer> buffer, size_t offset,
                                                int index) {
    setBuffer(MTLRecordedCommand::Kind::setFragmentBuffer, fragmentArguments, std::move(buffer),
              offset, index);
}

void MTLRenderCommandEncoder::setFragmentTexture(std::shared_ptr<MTLTexture> texture, int index) {
    if (ended || index < 0 || index > MTLMaxArgumentIndex)
        return;
    MTLRecordedCommand c{.kind = MTLRecordedCommand::Kind::setFragmentTexture, .index = index};
    if (texture) {
        c.label = texture->label;
        c.pixelFormat = texture->pixelFormat();
    }
    record(std::move(c));
    for (auto& [i, t] : textures)
        if (i == index) {
            t = std::move(texture);
            return;
        }
    textures.emplace_back(index, std::move(texture));
}

void MTLRenderCommandEncoder::drawPrimitives(MTLPrimitiveType type, size_t vertexStart,
                                             size_t vertexCount) {
    if (ended)
        return;
    record({.kind = MTLRecordedCommand::Kind::drawPrimitives,
            .primitive = type,
            .vertexStart = vertexStart,
            .vertexCount = vertexCount});
    if (!pipeline)
        return;
    const MTLTexture* target = pass.colorAttachments[0].texture.get();
    // Without a viewport the whole attachment is drawn.
    MTLViewport v = viewport.value_or(
        MTLViewport{0, 0, double(target->width()), double(target->height()), 0, 1});
    draws.push_back({pipeline, v, vertexArguments, fragmentArguments, textures, type, vertexStart,
                     vertexCount});
}

void MTLRenderCommandEncoder::endEncoding() {
    record({.kind = MTLRecordedCommand::Kind::endEncoding});
    ended = true;
}

std::shared_ptr<MTLRenderCommandEncoder>
MTLCommandBuffer::makeRenderCommandEncoder(const MTLRenderPassDescriptor& descriptor) {
    if (status_ != Status::notEnqueued || !descriptor.colorAttachments[0].texture)
        return nullptr;
    auto encoder = make<MTLRenderCommandEncoder>(descriptor);
    encoders.push_back(encoder);
    return encoder;
}

void MTLCommandBuffer::present(std::shared_ptr<MTLDrawable> drawable) {
    if (status_ == Status::notEnqueued && drawable)
        drawables.push_back(std::move(drawable));
}

void MTLCommandBuffer::addCompletedHandler(std::function<void(MTLCommandBuffer&)> handler) {
    if (handler)
        handlers.push_back(std::move(handler));
}

void MTLCommandBuffer::execute(MTLRenderCommandEncoder& encoder) {
    const auto& attachment = encoder.pass.colorAttachments[0];
    MTLTexture& target = *attachment.texture;
    if (attachment.loadAction == MTLLoadAction::clear)
        MTLRaster::clear(target, attachment.clearColor);
    auto pool = device->pool();
    for (const auto& draw : encoder.draws) {
        MTLStageArguments vertexArguments, fragmentArguments;
        for (const auto& [index, binding] : draw.vertexArguments)
            vertexArguments.setBytes(index, binding.view());
        for (const auto& [index, binding] : draw.fragmentArguments)
            fragmentArguments.setBytes(index, binding.view());
        for (const auto& [index, texture] : draw.textures)
            fragmentArguments.setTexture(index, texture.get());
        MTLRaster::DrawCall call;
        call.viewport = draw.viewport;
        call.type = draw.type;
        call.vertexStart = draw.start;
        call.vertexCount = draw.count;
        call.vertex = draw.pipeline->vertexFunction().body().vertex;
        call.vertexArguments = &vertexArguments;
        call.fragment = draw.pipeline->fragmentFunction().body().fragment;
        call.fragmentArguments = &fragmentArguments;
        // The pipeline's format must be the attachment's, as the platform validates.
        if (draw.pipeline->colorPixelFormat() == target.pixelFormat())
            MTLRaster::draw(target, *pool, call);
    }
}

void MTLCommandBuffer::commit() {
    if (status_ != Status::notEnqueued)
        return;
    status_ = Status::committed;
    MTLRecordedCommandBuffer record{label, {}, int(drawables.size())};
    for (const auto& encoder : encoders) {
        const auto& texture = encoder->pass.colorAttachments[0].texture;
        record.encoders.push_back(
            {encoder->label, MTLSize{texture->width(), texture->height(), 1}, encoder->recorded});
        execute(*encoder);
    }
    device->record(std::move(record));
    for (const auto& drawable : drawables)
        drawable->present();
    status_ = Status::completed;
    auto done = std::move(handlers);
    for (auto& handler : done)
        handler(*this);
    encoders.clear();
    drawables.clear();
}

std::shared_ptr<MTLCommandBuffer> MTLCommandQueue::makeCommandBuffer() {
    if (device_->faults.commandBuffers)
        return nullptr;
    return make<MTLCommandBuffer>(device_);
}
