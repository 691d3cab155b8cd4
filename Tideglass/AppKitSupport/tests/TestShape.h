#pragma once
// An enumerable presentable value for the tests: raw values 0, 1, 2 have cases.

#include "AppKitSupport/MenuDescriptions.h"

#include <string>
#include <vector>

struct Shape final : RawMenuPresentable<Shape, int> {
    explicit Shape(int raw) : RawMenuPresentable(raw) {}
    static const Shape triangle, sine, square;
    static std::vector<Shape> allCases() { return {triangle, sine, square}; }
    static std::string typeMenuTitle() { return "Shape"; }
    std::string localizedDisplayName() const override {
        static const char* const names[] = {"Triangle", "Sine", "Square"};
        return rawValue() >= 0 && rawValue() < 3 ? names[rawValue()] : "?";
    }
};
inline const Shape Shape::triangle{0}, Shape::sine{1}, Shape::square{2};
