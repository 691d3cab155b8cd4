#pragma once
// Half floats (IEEE 754 binary16), the storage of rgba16Float textures: conversion
// from float rounds to nearest, ties to even, as the GPU's render targets do; values
// beyond the largest half (65504) become infinity, NaN stays a quiet NaN that keeps
// the top bits of its payload. Thread: pure functions; any thread.

#include <cstddef>
#include <cstdint>

namespace MTLHalf {

uint16_t fromFloat(float value);
float toFloat(uint16_t half);
// The same conversions over arrays (the bulk path the render targets take); the
// results are those of the single-value functions.
void fromFloats(const float* values, uint16_t* halves, size_t count);
void toFloats(const uint16_t* halves, float* values, size_t count);

} // namespace MTLHalf
