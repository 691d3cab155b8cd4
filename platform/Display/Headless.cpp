#include "Display/Headless.h"

#include <cstdlib>
#include <string>

namespace Headless {

std::optional<CGFloat> environmentScaleFactor() {
    const char* text = std::getenv("EMBERFALL_SCALE");
    if (!text || !*text)
        return std::nullopt;
    char* end = nullptr;
    double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(value > 0 && value <= 8))
        return std::nullopt;
    return value;
}

bool writeWindowPNG(NSWindow& window, const std::string& path, std::optional<CGFloat> scale) {
    CGFloat kept = window.backingScaleFactor();
    window.setBackingScaleFactor(scale.value_or(kept));
    bool written = window.writePNG(path);
    window.setBackingScaleFactor(kept);
    return written;
}

} // namespace Headless
