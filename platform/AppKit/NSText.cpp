#include "AppKit/NSText.h"

#include <algorithm>

namespace {
// The length in bytes of the UTF-8 sequence a lead byte starts.
std::size_t sequenceLength(unsigned char lead) {
    return lead < 0x80 ? 1 : lead >> 5 == 0x6 ? 2 : lead >> 4 == 0xE ? 3 : 4;
}
} // namespace

std::size_t utf8Offset(const std::string& text, std::size_t utf16) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = sequenceLength(static_cast<unsigned char>(text[i]));
        const std::size_t width = length == 4 ? 2 : 1; // beyond the basic plane: a pair
        if (units + width > utf16)
            return i;
        units += width;
        i = std::min(text.size(), i + length);
    }
    return text.size();
}

std::size_t utf16Position(const std::string& text, std::size_t utf8) {
    return utf16Length(std::string_view(text).substr(0, std::min(utf8, text.size())));
}

void NSText::setString(std::string string) {
    Runtime::assertMainThread("NSText.string");
    text = std::move(string);
    anchor = caret = text.size();
    setNeedsDisplay(true);
}

NSRange NSText::selectedRange() const {
    const std::size_t from = std::min(anchor, caret), to = std::max(anchor, caret);
    const std::size_t start = utf16Position(text, from);
    return {start, utf16Position(text, to) - start};
}

void NSText::setSelectedRange(NSRange range) {
    anchor = utf8Offset(text, range.location);
    caret = utf8Offset(text, range.location + range.length);
    setNeedsDisplay(true);
}

void NSText::selectAll(NSObject*) {
    anchor = 0;
    caret = text.size();
    setNeedsDisplay(true);
}

std::shared_ptr<NSTextDelegate> NSText::textDelegate() const {
    auto object = delegate();
    auto* d = dynamic_cast<NSTextDelegate*>(object.get());
    return d ? std::shared_ptr<NSTextDelegate>(object, d) : nullptr;
}
