#pragma once
// Stands in for appearances (a named look that windows and the application carry),
// the appearance names and the small style enumerations that styled controls store
// (with the platform's raw values). The stand-in draws in the dark appearance only;
// an appearance is carried and compared, it changes no drawing. Thread: any.

#include <memory>
#include <string>
#include <string_view>

#include "Runtime/Runtime.h"

namespace NSAppearanceName {
inline constexpr std::string_view aqua = "NSAppearanceNameAqua";
inline constexpr std::string_view darkAqua = "NSAppearanceNameDarkAqua";
} // namespace NSAppearanceName

class NSAppearance : public NSObject {
  public:
    // One shared object per name.
    static std::shared_ptr<NSAppearance> named(std::string_view name);
    const std::string& name() const { return appearanceName; }

    explicit NSAppearance(std::string name) : appearanceName(std::move(name)) {}

  private:
    std::string appearanceName;
};

enum class NSBackgroundStyle : int { normal = 0, emphasized = 1, raised = 2, lowered = 3 };
enum class NSImageResizingMode : int { tile = 0, stretch = 1 };
