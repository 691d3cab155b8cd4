#pragma once
// Stands in for NSEvent.SpecialKey: the function keys' and control keys' character
// values, with the platform's raw values. Thread: any (constants).

#include <cstdint>

enum class NSEventSpecialKey : std::uint16_t {
    enter = 0x0003,
    backspace = 0x0008,
    tab = 0x0009,
    newline = 0x000a,
    formFeed = 0x000c,
    carriageReturn = 0x000d,
    backTab = 0x0019,
    delete_ = 0x007f, // the key above Return (deletes backwards)
    upArrow = 0xf700,
    downArrow = 0xf701,
    leftArrow = 0xf702,
    rightArrow = 0xf703,
    deleteForward = 0xf728,
    home = 0xf729,
    end = 0xf72b,
    pageUp = 0xf72c,
    pageDown = 0xf72d,
    lineSeparator = 0x2028,
    paragraphSeparator = 0x2029,
};
