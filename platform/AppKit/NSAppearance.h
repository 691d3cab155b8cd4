#pragma once
// Stands in for the appearance names and the small style enumerations that styled
// controls store (with the platform's raw values). The stand-in draws in the dark
// appearance only; nothing switches appearances. Thread: any (constants).

#include <string_view>

namespace NSAppearanceName {
inline constexpr std::string_view aqua = "NSAppearanceNameAqua";
inline constexpr std::string_view darkAqua = "NSAppearanceNameDarkAqua";
} // namespace NSAppearanceName

enum class NSBackgroundStyle : int { normal = 0, emphasized = 1, raised = 2, lowered = 3 };
enum class NSImageResizingMode : int { tile = 0, stretch = 1 };
