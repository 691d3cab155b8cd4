#pragma once
// The numeric weight of a dotted version text, by which the update check orders
// versions: the first piece counts 10,000, the second 100, every later piece 1.
// A piece that is not a decimal integer (optional sign, digits) or lies outside
// the signed 64-bit range counts 0; products and the sum saturate at the 64-bit
// limits instead of overflowing. Thread: any.

#include <cstdint>
#include <string_view>

std::int64_t convertVersionToWeight(std::string_view version);
