#pragma once
// Stands in for NSEvent.SpecialKey: the function keys' character values, with the
// platform's raw values (the few the library names). Thread: any (constants).

#include <cstdint>

enum class NSEventSpecialKey : std::uint16_t {
    enter = 0x0003,
    carriageReturn = 0x000d,
};
