#include "AppKit/NSFont.h"

std::shared_ptr<NSFont> NSFont::named(const std::string& name, CGFloat size) {
    auto font = CGFont::named(name, size);
    return font ? make<NSFont>(*font) : nullptr;
}

std::shared_ptr<NSFont> NSFont::systemFont(CGFloat size, Weight weight) {
    return make<NSFont>(CGFont::system(size, weight));
}

std::shared_ptr<NSFont> NSFont::monospacedDigitSystemFont(CGFloat size, Weight weight) {
    return make<NSFont>(CGFont::system(size, weight), true);
}

std::shared_ptr<NSFont> NSFont::withCGFont(const CGFont& font) {
    return make<NSFont>(font);
}

std::shared_ptr<NSFont> NSFont::withSize(CGFloat size) const {
    return make<NSFont>(font.withSize(size), monospacedDigits);
}
