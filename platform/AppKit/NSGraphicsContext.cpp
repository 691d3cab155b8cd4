#include "AppKit/NSGraphicsContext.h"

#include <vector>

namespace {
std::vector<std::shared_ptr<NSGraphicsContext>>& stack() {
    thread_local std::vector<std::shared_ptr<NSGraphicsContext>> contexts;
    return contexts;
}
} // namespace

std::shared_ptr<NSGraphicsContext> NSGraphicsContext::current() {
    return stack().empty() ? nullptr : stack().back();
}

void NSGraphicsContext::push(std::shared_ptr<NSGraphicsContext> context) {
    stack().push_back(std::move(context));
}

void NSGraphicsContext::pop() {
    if (!stack().empty())
        stack().pop_back();
}

void NSGraphicsContext::saveGraphicsState() {
    if (auto c = current())
        c->cgContext().saveGState();
}

void NSGraphicsContext::restoreGraphicsState() {
    if (auto c = current())
        c->cgContext().restoreGState();
}

NSGraphicsContext::Scope::Scope(std::shared_ptr<CGContext> context) {
    push(make<NSGraphicsContext>(std::move(context)));
}
