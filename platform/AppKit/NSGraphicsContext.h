#pragma once
// Stands in for NSGraphicsContext: the drawing destination of AppKit code, a stack of
// current contexts over CoreGraphics contexts. Views draw through
// NSGraphicsContext::current() while the window (or an image's lockFocus) has pushed
// one. Left out: printing, compositing attributes other than the CGContext's own,
// image interpolation settings. Thread: each thread has its own stack (main thread
// for drawing views).

#include <memory>

#include "CoreGraphics/CGContext.h"
#include "Runtime/Runtime.h"

class NSGraphicsContext : public NSObject {
  public:
    // The context drawing goes to now; nullptr when none has been pushed.
    static std::shared_ptr<NSGraphicsContext> current();
    // Pushes / pops a current context. Prefer Scope.
    static void push(std::shared_ptr<NSGraphicsContext> context);
    static void pop();
    // Saves / restores the graphics state of the current context.
    static void saveGraphicsState();
    static void restoreGraphicsState();

    // Makes `context` current for the lifetime of the scope.
    class Scope {
      public:
        explicit Scope(std::shared_ptr<NSGraphicsContext> context) { push(std::move(context)); }
        explicit Scope(std::shared_ptr<CGContext> context);
        ~Scope() { pop(); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
    };

    CGContext& cgContext() const { return *context; }
    const std::shared_ptr<CGContext>& sharedCGContext() const { return context; }
    // Whether the current user space is y-down (the drawing view is flipped).
    bool isFlipped() const { return context->isUserSpaceYDown(); }

  protected:
    explicit NSGraphicsContext(std::shared_ptr<CGContext> context) : context(std::move(context)) {}

  private:
    std::shared_ptr<CGContext> context;
};
