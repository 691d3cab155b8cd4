#pragma once
// Stands in for MTLLibrary, MTLFunction and the render pipeline: a library is the set
// of shader functions a bundle exports, named in its manifest
// (Contents/Resources/default.metallib, a JSON object whose "functions" array lists
// the names), resolved against the process's table of C++ shader functions
// (MTLShaderFunctions.h). A pipeline state pairs a vertex and a fragment function
// with the pixel format of colour attachment 0.
// Left out: compiling source at run time, function constants, argument reflection,
// blending, depth and stencil state, several colour attachments, multisampling.
// Thread: libraries, functions and pipeline states are immutable once made: any thread.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Metal/MTLShaderFunctions.h"
#include "Metal/MTLTypes.h"
#include "Runtime/Runtime.h"

class MTLFunction : public NSObject {
  public:
    const std::string& name() const { return name_; }
    MTLFunctionType functionType() const { return entry.type; }
    const MTLShaderFunctionEntry& body() const { return entry; }

  protected:
    MTLFunction(std::string name, const MTLShaderFunctionEntry& entry)
        : name_(std::move(name)), entry(entry) {}

  private:
    std::string name_;
    MTLShaderFunctionEntry entry;
};

class Bundle;

class MTLLibrary : public NSObject {
  public:
    // The library of a bundle's manifest; throws MTLError (library) when the bundle has
    // no readable manifest.
    static std::shared_ptr<MTLLibrary> fromBundle(const Bundle& bundle);

    std::string label;
    // The names the manifest exports, in its order.
    const std::vector<std::string>& functionNames() const { return names; }
    // The function of that name; null when the library does not export it or no
    // shader function of that name exists in the process.
    std::shared_ptr<MTLFunction> makeFunction(const std::string& name) const;

  protected:
    explicit MTLLibrary(std::vector<std::string> names) : names(std::move(names)) {}

  private:
    friend class MTLDevice;
    std::vector<std::string> names;
};

struct MTLRenderPipelineColorAttachmentDescriptor {
    MTLPixelFormat pixelFormat = MTLPixelFormat::invalid;
};

struct MTLRenderPipelineDescriptor {
    std::string label;
    std::shared_ptr<MTLFunction> vertexFunction;
    std::shared_ptr<MTLFunction> fragmentFunction;
    MTLRenderPipelineColorAttachmentDescriptor colorAttachments[1];
};

class MTLRenderPipelineState : public NSObject {
  public:
    const std::string& label() const { return label_; }
    const MTLFunction& vertexFunction() const { return *vertex; }
    const MTLFunction& fragmentFunction() const { return *fragment; }
    MTLPixelFormat colorPixelFormat() const { return format; }

  protected:
    MTLRenderPipelineState(const MTLRenderPipelineDescriptor& descriptor)
        : label_(descriptor.label), vertex(descriptor.vertexFunction),
          fragment(descriptor.fragmentFunction),
          format(descriptor.colorAttachments[0].pixelFormat) {}

  private:
    std::string label_;
    std::shared_ptr<MTLFunction> vertex, fragment;
    MTLPixelFormat format;
};
