// Bounded little-endian reading over bytes held in memory. Every read is checked
// against the end first; a read that does not fit throws and moves nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "TableError.h"

class ByteReader {
public:
    ByteReader(const unsigned char* data, std::size_t size) : m_data(data), m_size(size) {}

    std::size_t Offset() const { return m_offset; }
    std::size_t Remaining() const { return m_size - m_offset; }
    bool CanRead(std::size_t count) const { return count <= m_size - m_offset; }
    const unsigned char* Here() const { return m_data + m_offset; }

    void Skip(std::size_t count)
    {
        Require(count);
        m_offset += count;
    }

    std::uint8_t ReadU8()
    {
        Require(1);
        return m_data[m_offset++];
    }

    std::uint16_t ReadU16()
    {
        Require(2);
        const unsigned char* p = m_data + m_offset;
        m_offset += 2;
        return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    }

    std::uint32_t ReadU32()
    {
        Require(4);
        const std::uint32_t value = LoadU32(m_data + m_offset);
        m_offset += 4;
        return value;
    }

    void ReadBytes(void* target, std::size_t count)
    {
        Require(count);
        std::memcpy(target, m_data + m_offset, count);
        m_offset += count;
    }

    static std::uint32_t LoadU32(const unsigned char* p)
    {
        return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
               (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }

    static std::uint16_t LoadU16(const unsigned char* p)
    {
        return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    }

private:
    // A file that ends before the data it announces is not a valid table.
    void Require(std::size_t count) const
    {
        if (!CanRead(count))
            throw TableError(messages::kIllegalFile);
    }

    const unsigned char* m_data;
    std::size_t m_size;
    std::size_t m_offset = 0;
};
