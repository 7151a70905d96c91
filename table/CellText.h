// The text a stored value shows as: unsigned decimal for integers and row ids,
// six decimals for reals ('.' as decimal point whatever the process locale).
#pragma once

#include <cstdint>
#include <string>

// Longest texts: "4294967295" and "-340282346638528859811704183484516925440.000000".
constexpr std::size_t kMaxNumberTextSize = 16;
constexpr std::size_t kMaxRealTextSize = 64;

// Write the text into `out` (which must hold the maximum size) and return its length.
std::size_t FormatUnsigned(std::uint32_t value, char* out);
std::size_t FormatReal(float value, char* out);

std::string UnsignedText(std::uint32_t value);
std::string RealText(float value);

// A float stored little-endian in four bytes.
float LoadReal(const unsigned char* bytes);
