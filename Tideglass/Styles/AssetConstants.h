#pragma once
// The library's process-wide constants as data: a palette or image set is a list of
// members, each naming its asset, and each member is an empty, copyable object that is
// called like a function:
//     namespace Styles::Control { inline constexpr AssetColor<"Grey 85%"> textColor{}; }
//     Styles::Control::textColor()   // the one shared colour of that asset
// A shared member is made on its first call, once, thread-safely, and then the same
// object is handed to every caller; a fresh member makes a new object on every call.
// Members of one kind and one asset are one constant (the same object).
// Thread: any for the first call (one-time initialisation); the colours, fonts and
// images are then used on the main thread.

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string_view>
#include <type_traits>

#include "AppKit/NSFont.h"

// An asset name as a template argument: a string literal.
template <std::size_t N> struct AssetName {
    char chars[N];
    constexpr AssetName(const char (&name)[N]) { std::copy_n(name, N, chars); }
    constexpr std::string_view view() const { return {chars, N - 1}; }
};

// A constant made from the asset `Name` by `Make` on first use and shared.
template <class T, T (*Make)(std::string_view), AssetName Name> struct SharedAssetConstant {
    static constexpr auto name = Name;
    static constexpr std::string_view asset = Name.view();
    const T& operator()() const {
        static const T made = Make(asset);
        return made;
    }
};

// A value made from the asset `Name` by `Make` anew on every call.
template <class T, T (*Make)(std::string_view), AssetName Name> struct FreshAssetConstant {
    static constexpr std::string_view asset = Name.view();
    T operator()() const { return Make(asset); }
};

// A constant made from another constant `From` by `Convert` on first use and shared.
template <class T, const auto& From, T (*Convert)(const std::remove_cvref_t<decltype(From())>&)>
struct ConvertedConstant {
    const T& operator()() const {
        static const T made = Convert(From());
        return made;
    }
};

// The system font of a size in whole points and a weight (with digits of equal width
// when asked), made on first use and shared.
template <int Size, NSFont::Weight Weight, bool MonospacedDigits = false> struct SystemFont {
    const std::shared_ptr<NSFont>& operator()() const {
        static const std::shared_ptr<NSFont> made =
            MonospacedDigits ? NSFont::monospacedDigitSystemFont(Size, Weight)
                             : NSFont::systemFont(Size, Weight);
        return made;
    }
};
