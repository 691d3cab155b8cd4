#pragma once
// The paragraph settings of text drawing with AppKit's raw values: alignment and line
// breaking. Thread: any (plain values).

// Text alignment (right is 1, centre 2 on this platform).
enum class NSTextAlignment : int { left = 0, right = 1, center = 2, justified = 3, natural = 4 };
enum class NSLineBreakMode : int {
    byWordWrapping = 0,
    byCharWrapping = 1,
    byClipping = 2,
    byTruncatingHead = 3,
    byTruncatingTail = 4,
    byTruncatingMiddle = 5
};
