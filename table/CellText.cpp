// Locale-independent number texts, matching what "%u" and "%f" print in the C locale.
#include "CellText.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "ByteReader.h"

std::size_t FormatUnsigned(std::uint32_t value, char* out)
{
    const auto result = std::to_chars(out, out + kMaxNumberTextSize, value);
    return static_cast<std::size_t>(result.ptr - out);
}

std::size_t FormatReal(float value, char* out)
{
    const double widened = value;
    // to_chars spells NaN as "nan"/"-nan" and infinities as "inf"/"-inf", as glibc's "%f" does.
    const auto result =
        std::to_chars(out, out + kMaxRealTextSize, widened, std::chars_format::fixed, 6);
    return static_cast<std::size_t>(result.ptr - out);
}

std::string UnsignedText(std::uint32_t value)
{
    char buffer[kMaxNumberTextSize];
    return std::string(buffer, FormatUnsigned(value, buffer));
}

std::string RealText(float value)
{
    char buffer[kMaxRealTextSize];
    return std::string(buffer, FormatReal(value, buffer));
}

float LoadReal(const unsigned char* bytes)
{
    const std::uint32_t bits = ByteReader::LoadU32(bytes);
    float value;
    static_assert(sizeof(value) == sizeof(bits), "float must be 32 bits");
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}
