#pragma once
// The declarative control sizes and text truncation modes, as values views and
// their AppKit counterparts convert between. Thread: any (plain values).

namespace SwiftUI {

enum class ControlSize { mini, small, regular, large, extraLarge };

// Where a line of text that does not fit is shortened (Text.TruncationMode).
enum class TruncationMode { head, tail, middle };

} // namespace SwiftUI
