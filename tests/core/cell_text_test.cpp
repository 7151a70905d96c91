// Number texts of cells: unsigned decimal, and reals exactly as the C library's "%f" prints the
// widened double, with '.' whatever LC_NUMERIC says.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CellText.h"
#include "TableBytes.h"
#include "TableDecoder.h"

namespace {

float FloatFromBits(std::uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

std::string PrintfText(float value)
{
    char buffer[128];
    std::snprintf(buffer, sizeof(buffer), "%f", static_cast<double>(value));
    return buffer;
}

TEST(UnsignedText, WritesTheFullUnsignedRange)
{
    const struct {
        std::uint32_t value;
        const char* text;
    } cases[] = {
        {0u, "0"}, {7u, "7"}, {2147483647u, "2147483647"}, {2147483648u, "2147483648"}, {4294967295u, "4294967295"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UnsignedText(c.value), c.text) << c.value;
}

TEST(RealText, MatchesPrintfOfTheWidenedDouble)
{
    const std::uint32_t bitPatterns[] = {
        0x3FC00000u,  // 1.5
        0x80000000u,  // -0.0
        0x00000000u,  // 0.0
        0x3DCCCCCDu,  // 0.1f, not exactly 0.1
        0x3F800001u,  // the float just above 1
        0x350637BDu,  // ~5e-7, next to a rounding boundary of the sixth decimal
        0x00000001u,  // smallest subnormal
        0x80000001u,  // its negative
        0x00800000u,  // FLT_MIN
        0x4B800001u,  // 16777218, beyond the contiguous integers
        0x4F800000u,  // 4294967296
        0x60AD78ECu,  // 1e20
        0x7F7FFFFFu,  // FLT_MAX: 39 integer digits
        0xFF7FFFFFu,  // -FLT_MAX: the longest text
        0x7F800000u,  // +inf
        0xFF800000u,  // -inf
        0x7FC00000u,  // quiet NaN
        0xFFC00000u,  // NaN with the sign bit
        0x7F800001u,  // signalling NaN
        0x7FC12345u,  // NaN with a payload
    };
    for (const std::uint32_t bits : bitPatterns) {
        const float value = FloatFromBits(bits);
        EXPECT_EQ(RealText(value), PrintfText(value)) << std::hex << bits;
    }
    EXPECT_EQ(RealText(1.5f), "1.500000");
    EXPECT_EQ(RealText(-0.0f), "-0.000000");
}

TEST(LoadReal, ReadsLittleEndianBytes)
{
    const unsigned char bytes[] = {0x00, 0x00, 0xC0, 0x3F};
    EXPECT_EQ(LoadReal(bytes), 1.5f);
}

// Switches LC_NUMERIC to a locale with a decimal comma for one scope, if one is installed.
class CommaDecimalLocale {
public:
    CommaDecimalLocale() : m_previous(std::setlocale(LC_NUMERIC, nullptr))
    {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8", "ru_RU.UTF-8"}) {
            if (std::setlocale(LC_NUMERIC, name) && std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
                m_active = true;
                return;
            }
        }
        std::setlocale(LC_NUMERIC, m_previous.c_str());
    }
    ~CommaDecimalLocale() { std::setlocale(LC_NUMERIC, m_previous.c_str()); }
    CommaDecimalLocale(const CommaDecimalLocale&) = delete;
    CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;

    bool Active() const { return m_active; }

private:
    std::string m_previous;
    bool m_active = false;
};

TEST(RealText, KeepsThePointUnderACommaLocale)
{
    const CommaDecimalLocale locale;
    if (!locale.Active())
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    ASSERT_EQ(PrintfText(1.5f), "1,500000");  // the C library does follow the locale

    EXPECT_EQ(RealText(1.5f), "1.500000");
    const std::vector<unsigned char> bytes = TableBytes::Compact().Column("Rate", 4).Row(1).Real(1.5f).Bytes();
    EXPECT_EQ(DecodeTable(bytes.data(), bytes.size()).CellText(0, 0), "1.500000");
}

}  // namespace
