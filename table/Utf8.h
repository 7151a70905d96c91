// Decoding UTF-8 one code point at a time; a byte that starts no valid sequence (including
// overlong forms, surrogates and values past U+10FFFF) decodes to U+FFFD and is skipped alone.
#pragma once

#include <cstddef>

constexpr char32_t kReplacementCharacter = 0xFFFD;

inline char32_t NextCodePoint(const unsigned char* text, std::size_t size, std::size_t& i)
{
    const unsigned char lead = text[i];
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || length > size - i) {
        ++i;
        return kReplacementCharacter;
    }
    char32_t code = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((text[i + k] & 0xC0) != 0x80) {
            ++i;
            return kReplacementCharacter;
        }
        code = (code << 6) | (text[i + k] & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        ++i;
        return kReplacementCharacter;
    }
    i += length;
    return code;
}

inline bool IsValidUtf8(const unsigned char* text, std::size_t size)
{
    for (std::size_t i = 0; i < size;) {
        const std::size_t start = i;
        // A decoded U+FFFD is genuine only when it took its three bytes.
        if (NextCodePoint(text, size, i) == kReplacementCharacter && i - start != 3)
            return false;
    }
    return true;
}
